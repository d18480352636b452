#include <gtest/gtest.h>

#include "platform/network/URLLoader.h"

#include "tests/pfp/PictureTestDevice.h"

using namespace pfptest;

namespace {

constexpr const char* twitter = "BrixTwitterContactPhotoProvider";
constexpr const char* discord = "BrixDiscordContactPhotoProvider";
constexpr const char* instagram = "BrixInstagramContactPhotoProvider";
constexpr const char* messenger = "BrixMessengerContactPhotoProvider";

const std::string tweetPicture = "https://pbs.twimg.com/profile_images/111/ann_normal.jpg";
const std::string pagePicture = "https://pbs.twimg.com/profile_images/222/bob_normal.png";

Value dictionary(std::initializer_list<std::pair<const std::string, Value>> entries)
{
    return Value(Value::Dictionary(entries));
}

std::string profilePage(const std::string& picture)
{
    return "<html><body><img src=\"https://abs.twimg.com/logo.png\">"
           "<img class=\"avatar\" src=\""
        + picture + "\"><img src=\"https://PBS.twimg.com/profile_images/333/later.png\"></body></html>";
}

} // namespace

// With "tweet" only its author's picture is fetched, even when "D" names a profile too.
TEST(TwitterProvider, aTweetNeverFetchesTheProfilePage)
{
    PictureTestDevice test({ { tweetPicture, answer(200, pictureText(green)) },
        { "https://mobile.twitter.com/bob", answer(200, profilePage(pagePicture)) } });
    test.ask(twitter,
        test.request("com.atebits.Tweetie2",
            dictionary(
                { { "tweet",
                      dictionary({ { "author", dictionary({ { "profile_image_url", Value(tweetPicture) } }) } }) },
                    { "D", Value("bob") } })));
    test.run();
    EXPECT_EQ(test.tracedRequests(), std::vector<std::string> { tweetPicture });
    ASSERT_EQ(test.colours().size(), 1u);
    EXPECT_TRUE(near(test.colours()[0], green));

    // A tweet without an author, or an author without a picture, fetches nothing.
    test.ask(twitter,
        test.request("com.atebits.Tweetie2", dictionary({ { "tweet", Value::dictionary() }, { "D", Value("bob") } })));
    test.ask(twitter,
        test.request("com.atebits.Tweetie2", dictionary({ { "tweet", Value("text") }, { "D", Value("bob") } })));
    test.run();
    EXPECT_EQ(test.tracedRequests().size(), 1u);
}

TEST(TwitterProvider, fetchesTheFirstProfilePictureOfTheProfilePage)
{
    PictureTestDevice test({ { "https://mobile.twitter.com/bob", answer(200, profilePage(pagePicture)) },
        { pagePicture, answer(200, pictureText(blue)) } });
    test.ask(twitter, test.request("com.atebits.Tweetie2", dictionary({ { "D", Value("bob") } })));
    test.run();
    EXPECT_EQ(test.tracedRequests(), (std::vector<std::string> { "https://mobile.twitter.com/bob", pagePicture }));
    ASSERT_EQ(test.colours().size(), 1u);
    EXPECT_TRUE(near(test.colours()[0], blue));
}

// 404, 301, a page that is not UTF-8 or has no picture: the page step stops.
TEST(TwitterProvider, aPageAnsweredWithAnythingButAPictureAddressDeliversNothing)
{
    std::string notUtf8 = profilePage(pagePicture);
    notUtf8[10] = static_cast<char>(0xC3);
    PictureTestDevice test({ { "https://mobile.twitter.com/gone", answer(404, profilePage(pagePicture)) },
        { "https://mobile.twitter.com/moved", answer(301, profilePage(pagePicture)) },
        { "https://mobile.twitter.com/binary", answer(200, notUtf8) },
        { "https://mobile.twitter.com/plain", answer(200, "<html>no pictures here</html>") },
        { pagePicture, answer(200, pictureText(blue)) } });
    for (const char* profile : { "gone", "moved", "binary", "plain", "unknown" })
        test.ask(twitter, test.request("com.atebits.Tweetie2", dictionary({ { "D", Value(profile) } })));
    test.run();
    EXPECT_EQ(test.tracedRequests().size(), 5u);
    EXPECT_TRUE(test.images.empty());
}

TEST(DiscordProvider, buildsTheAvatarAddressAndNeedsAnAvatar)
{
    std::string url = "https://cdn.discordapp.com/avatars/80351110224678912/8342729096ea.png?size=80";
    PictureTestDevice test({ { url, answer(200, pictureText(green)) } });
    auto author = [](Value fields) {
        return dictionary({ { "message", dictionary({ { "author", std::move(fields) } }) } });
    };
    test.ask(discord,
        test.request("com.hammerandchisel.discord", author(dictionary({ { "id", Value("80351110224678912") } }))));
    test.ask(discord,
        test.request("com.hammerandchisel.discord", author(dictionary({ { "avatar", Value("8342729096ea") } }))));
    test.run();
    EXPECT_TRUE(test.tracedRequests().empty()) << "no avatar, or no id: no request";
    test.ask(discord,
        test.request("com.hammerandchisel.discord",
            author(dictionary({ { "id", Value(int64_t(80351110224678912)) }, { "avatar", Value("8342729096ea") } }))));
    test.run();
    EXPECT_EQ(test.tracedRequests(), std::vector<std::string> { url }) << "a number id is written as its digits";
    ASSERT_EQ(test.colours().size(), 1u);
    EXPECT_TRUE(near(test.colours()[0], green));
}

TEST(DiscordProvider, aNullAvatarIsOfTheWrongKindWhileANullBesideItIsNoHarm)
{
    std::string url = "https://cdn.discordapp.com/avatars/7/8342729096ea.png?size=80";
    PictureTestDevice test({ { url, answer(200, pictureText(green)) } });
    auto author = [](Value fields) {
        return dictionary({ { "message", dictionary({ { "author", std::move(fields) } }) } });
    };
    test.ask(discord,
        test.request(
            "com.hammerandchisel.discord", author(dictionary({ { "id", Value("7") }, { "avatar", Value::null() } }))));
    test.ask(discord, test.request("com.hammerandchisel.discord", dictionary({ { "message", Value::null() } })));
    test.run();
    EXPECT_TRUE(test.tracedRequests().empty()) << "a null avatar or message: no request";
    // A null in a field nobody reads leaves the rest of the payload readable.
    test.ask(discord,
        test.request("com.hammerandchisel.discord",
            author(dictionary(
                { { "id", Value("7") }, { "avatar", Value("8342729096ea") }, { "banner", Value::null() } }))));
    test.run();
    EXPECT_EQ(test.tracedRequests(), std::vector<std::string> { url });
}

TEST(MessengerProvider, readsTheSenderFromTheReplyWhenThereIsOne)
{
    std::string url = "https://graph.facebook.com/100004/picture?type=square";
    PictureTestDevice test({ { url, answer(200, pictureText(blue)) } });
    auto sender = [](Value id) { return dictionary({ { "a", std::move(id) } }); };
    // "rp" without "p" ends the attempt, even though the top level has "p".
    test.ask(messenger,
        test.request("com.facebook.Messenger",
            dictionary({ { "rp", dictionary({ { "x", Value(1) } }) }, { "p", sender(Value("100004")) } })));
    test.run();
    EXPECT_TRUE(test.tracedRequests().empty());
    test.ask(messenger,
        test.request("com.facebook.Messenger",
            dictionary({ { "rp", dictionary({ { "p", sender(Value(100004)) } }) }, { "p", sender(Value("999")) } })));
    test.run();
    EXPECT_EQ(test.tracedRequests(), std::vector<std::string> { url });
    test.ask(messenger, test.request("com.facebook.Messenger", dictionary({ { "p", sender(Value("100004")) } })));
    test.run();
    EXPECT_EQ(test.tracedRequests().size(), 2u);
    EXPECT_EQ(test.images.size(), 2u);
}

// An address that is not a URL, a failed download and a body that is not a picture deliver nothing.
TEST(InstagramProvider, fetchesTheAddressItCarriesAndDeliversOnlyPictures)
{
    std::string good = "https://scontent.cdninstagram.com/v/t51/ann.jpg";
    std::string page = "https://scontent.cdninstagram.com/v/t51/error.html";
    PictureTestDevice test({ { good, answer(200, pictureText(green, true)) }, { page, answer(200, "<html>") } });
    for (Value address :
        { Value("not a url"), Value(42), Value("https://unreachable.example/a.jpg"), Value(page), Value(good) })
        test.ask(instagram, test.request("com.burbn.instagram", dictionary({ { "a", address } })));
    test.run();
    EXPECT_EQ(test.tracedRequests(), (std::vector<std::string> { "https://unreachable.example/a.jpg", page, good }));
    ASSERT_EQ(test.colours().size(), 1u);
    EXPECT_TRUE(near(test.colours()[0], green));
}

// Only web addresses are fetched, and a body is read no further than 10 MiB.
TEST(ImageFetch, fetchesOnlyWebAddressesAndStopsAnEndlessBody)
{
    std::string endlessUrl = "https://scontent.cdninstagram.com/endless.jpg";
    std::string largeUrl = "https://scontent.cdninstagram.com/large.jpg";
    std::string atLimitUrl = "https://scontent.cdninstagram.com/at-limit.png";
    auto atLimit = pictureText(blue);
    atLimit.resize(10 * 1024 * 1024, '\0'); // a PNG ignores what follows its end
    PictureTestDevice test(
        { { endlessUrl, endless() }, { largeUrl, answer(200, pictureText(red) + std::string(10 * 1024 * 1024, '\0')) },
            { atLimitUrl, answer(200, atLimit) } });
    test.write("/var/mobile/secret.png", pictureText(red));
    auto secret = "file://" + test.device().hostPath("/var/mobile/secret.png").string();
    for (std::string address : { std::string("file:///var/mobile/secret.png"), secret, std::string("ftp://host/a.png"),
             std::string("data:image/png;base64,AAAA") })
        test.ask(instagram, test.request("com.burbn.instagram", dictionary({ { "a", Value(address) } })));
    test.run();
    EXPECT_TRUE(test.tracedRequests().empty());

    test.ask(instagram, test.request("com.burbn.instagram", dictionary({ { "a", Value(endlessUrl) } })));
    test.ask(instagram, test.request("com.burbn.instagram", dictionary({ { "a", Value(largeUrl) } })));
    test.run(5);
    EXPECT_EQ(network::URLLoader::of(test.home()).activeCount(), 0u) << "the endless download was stopped";
    EXPECT_TRUE(test.images.empty());

    test.ask(instagram, test.request("com.burbn.instagram", dictionary({ { "a", Value(atLimitUrl) } })));
    test.run(5);
    ASSERT_EQ(test.colours().size(), 1u) << "a body of exactly 10 MiB is read";
    EXPECT_TRUE(near(test.colours()[0], blue));
}

// The delivery holds the banner: a picture that arrives after the banner went is still handed to it.
TEST(ImageFetch, aPendingDownloadHoldsTheBanner)
{
    std::string url = "https://scontent.cdninstagram.com/slow.jpg";
    PictureTestDevice test({ { url, answer(200, pictureText(green)) } });
    runtime::WeakRef<Object> weak(test.banner.get());
    test.ask(instagram, test.request("com.burbn.instagram", dictionary({ { "a", Value(url) } })));
    test.banner = nullptr;
    EXPECT_TRUE(weak.strong());
    test.run();
    EXPECT_EQ(test.images.size(), 1u);
    EXPECT_FALSE(weak.strong()) << "and lets it go afterwards";
}
