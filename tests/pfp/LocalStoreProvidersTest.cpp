#include <gtest/gtest.h>

#include "tests/pfp/PictureTestDevice.h"

using namespace pfptest;

namespace {

constexpr const char* whatsApp = "BrixWhatsAppContactPhotoProvider";
constexpr const char* telegram = "BrixTelegramContactPhotoProvider";
constexpr const char* slack = "BrixSlackContactPhotoProvider";

// The profile folders of WhatsApp and WhatsApp Business.
struct WhatsAppStores {
    std::string whatsApp;
    std::string business;
};

WhatsAppStores whatsAppStores(PictureTestDevice& test)
{
    return { test.groupContainer("A1", "group.net.whatsapp.WhatsApp.shared") + "/Media/Profile",
        test.groupContainer("B2", "group.net.whatsapp.WhatsAppSMB.shared") + "/Media/Profile" };
}

std::vector<std::optional<Pixel>> askWhatsApp(PictureTestDevice& test, const char* thread)
{
    test.images.clear();
    test.ask(whatsApp, test.request("net.whatsapp.WhatsApp", Value(), Value(thread)));
    return test.colours();
}

} // namespace

// "123-456.jpg" belongs to 123 and "1234-456.jpg" does not; the view hears of the
// match after it and again after every later entry, at once.
TEST(WhatsAppProvider, matchesTheSenderIdAsTheFirstPartOfTwo)
{
    PictureTestDevice test;
    auto stores = whatsAppStores(test);
    test.write(stores.whatsApp + "/1234-456.jpg", pictureText(red, true));
    test.write(stores.whatsApp + "/123-456.jpg", pictureText(green, true));
    test.write(stores.whatsApp + "/9-1.jpg", pictureText(blue, true));
    // Every picture file read goes through UIImage; the matched one is read once however often it is delivered.
    auto reads = std::make_shared<std::vector<std::string>>();
    auto* imageClass = test.runtime().classNamed("UIImage");
    auto previous = std::make_shared<runtime::Imp>();
    *previous = test.runtime().hookMessage(*imageClass->metaclass(), SEL("imageWithContentsOfFile:"),
        runtime::Imp::of([reads, previous](runtime::Class* self, runtime::Selector selector, Value path) {
            if (path.string().find("/Media/Profile/") != std::string::npos)
                reads->push_back(path.string());
            return (*previous).operator()<Ref<Object>>(self, selector, path);
        }));
    auto colours = askWhatsApp(test, "123@s.whatsapp.net");
    EXPECT_EQ(*reads, std::vector<std::string> { stores.whatsApp + "/123-456.jpg" });
    ASSERT_EQ(colours.size(), 3u) << "after the match (\"123-456.jpg\") and after each of the two entries after it";
    for (auto& colour : colours)
        EXPECT_TRUE(near(colour, green));
    EXPECT_TRUE(askWhatsApp(test, "77@s.whatsapp.net").empty());
    EXPECT_TRUE(askWhatsApp(test, "1@s.whatsapp.net").empty());
}

TEST(WhatsAppProvider, aGroupIdMatchesThreePartsAndNotTwo)
{
    PictureTestDevice test;
    auto stores = whatsAppStores(test);
    test.write(stores.whatsApp + "/123-456.jpg", pictureText(red, true));
    test.write(stores.whatsApp + "/123-789-456.jpg", pictureText(green, true));
    auto colours = askWhatsApp(test, "123-789@g.us");
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_TRUE(near(colours[0], green));
    EXPECT_TRUE(askWhatsApp(test, "123-78@g.us").empty());
    EXPECT_EQ(askWhatsApp(test, "123").size(), 2u) << "a thread identifier without \"@\" is the id itself";
}

TEST(WhatsAppProvider, aMatchInBusinessComesAfterAndReplacesTheOneInWhatsApp)
{
    PictureTestDevice test;
    auto stores = whatsAppStores(test);
    test.write(stores.whatsApp + "/42-1.jpg", pictureText(red, true));
    test.write(stores.business + "/nested/x.jpg", pictureText(blue, true));
    test.write(stores.business + "/42-2.jpg", pictureText(green, true));
    auto colours = askWhatsApp(test, "42@s.whatsapp.net");
    // WhatsApp's one entry, then Business's "42-2.jpg", "nested" and "nested/x.jpg".
    ASSERT_EQ(colours.size(), 4u);
    EXPECT_TRUE(near(colours[0], red));
    EXPECT_TRUE(near(colours[1], green));
    EXPECT_TRUE(near(colours.back(), green));
}

TEST(WhatsAppProvider, anUndecodableMatchIsStillDeliveredAsAnAbsentImage)
{
    PictureTestDevice test;
    auto stores = whatsAppStores(test);
    test.write(stores.whatsApp + "/5-1.jpg", "damaged");
    auto colours = askWhatsApp(test, "5@s.whatsapp.net");
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_FALSE(colours[0]);

    // No thread identifier, or one that is not text, and no container: nothing.
    test.images.clear();
    test.ask(whatsApp, test.request("net.whatsapp.WhatsApp", Value()));
    test.ask(whatsApp, test.request("net.whatsapp.WhatsApp", Value(), Value(5)));
    EXPECT_TRUE(test.images.empty());
    PictureTestDevice empty;
    EXPECT_TRUE(askWhatsApp(empty, "5@s.whatsapp.net").empty());
}

namespace {

std::string telegramAvatar(const std::string& container, const std::string& id)
{
    return container + "/telegram-data/accounts-metadata/spotlight/p:" + id + "/avatar.png";
}

Value fromId(Value id)
{
    return Value(Value::Dictionary { { "from_id", std::move(id) } });
}

} // namespace

TEST(TelegramProvider, readsTheAvatarOfTheSenderIdAsNumberOrText)
{
    PictureTestDevice test;
    auto container = test.groupContainer("T1", "group.ph.telegra.Telegraph");
    test.write(telegramAvatar(container, "42"), pictureText(green));
    test.write(telegramAvatar(container, "abc"), pictureText(blue));
    test.ask(telegram, test.request("ph.telegra.Telegraph", fromId(Value(42))));
    test.ask(telegram, test.request("ph.telegra.Telegraph", fromId(Value("abc"))));
    auto colours = test.colours();
    ASSERT_EQ(colours.size(), 2u) << "delivered at once";
    EXPECT_TRUE(near(colours[0], green));
    EXPECT_TRUE(near(colours[1], blue));
}

// An id that could reach another folder, or of another kind, counts as no id.
TEST(TelegramProvider, anIdThatLeavesItsFolderOrIsNotTextGivesNoPicture)
{
    PictureTestDevice test;
    auto container = test.groupContainer("T1", "group.ph.telegra.Telegraph");
    test.write(telegramAvatar(container, "42"), pictureText(green));
    test.write(container + "/telegram-data/accounts-metadata/avatar.png", pictureText(red));
    test.write(container + "/telegram-data/accounts-metadata/spotlight/p:../avatar.png", pictureText(red));
    for (Value id : { Value("../../"), Value("42/../../.."), Value(".."), Value("x/y"), Value(Value::Array { 42 }),
             Value(Value::Dictionary { { "id", 42 } }), Value() })
        test.ask(telegram, test.request("ph.telegra.Telegraph", fromId(id)));
    test.ask(telegram, test.request("ph.telegra.Telegraph", Value("not a dictionary")));
    test.ask(telegram, test.request("ph.telegra.Telegraph", fromId(Value(7))));
    EXPECT_TRUE(test.images.empty());
}

namespace {

const std::string slackDatabase = "/Library/Application Support/Slack/T01/Database/main_db";

void slackStore(PictureTestDevice& test, const std::vector<std::string>& rows)
{
    std::string container = test.dataContainer("S1", "com.tinyspeck.chatlyio");
    std::vector<std::string> statements {
        "CREATE TABLE ZSLKDEPRECATEDCOREDATAUSER (Z_PK INTEGER PRIMARY KEY, ZTEAMID TEXT, ZTSID TEXT, "
        "ZAVATARHASH TEXT, ZNAME TEXT)",
    };
    statements.insert(statements.end(), rows.begin(), rows.end());
    test.database(container + slackDatabase, statements);
}

Value slackPayload(const std::string& thread, const std::string& body, Value team = Value("T01"))
{
    return Value(Value::Dictionary {
        { "aps",
            Value(Value::Dictionary {
                { "alert", Value(Value::Dictionary { { "body", Value(body) } }) }, { "thread-id", Value(thread) } }) },
        { "team_id", std::move(team) } });
}

} // namespace

// "D" searches the text before ":", "C" the second word; other kinds search nothing.
TEST(SlackProvider, searchesTheSenderByTheKindOfConversation)
{
    std::string annUrl = "https://ca.slack-edge.com/T01-U1-a1-512";
    std::string bobUrl = "https://ca.slack-edge.com/T01-U2-b2-512";
    PictureTestDevice test({ { annUrl, answer(200, pictureText(green)) }, { bobUrl, answer(200, pictureText(blue)) } });
    slackStore(test,
        { "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (1, 'T01', 'U1', 'a1', 'Ann Lee')",
            "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (2, 'T01', 'U2', 'b2', 'bob')" });
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D024BE91L", "Ann Lee: hi")));
    test.run();
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("C024BE91L", "[#general] @BOB: hi")));
    test.run();
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("G024BE91L", "Ann Lee: hi")));
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("C024BE91L", "nosecondword")));
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("", "Ann Lee: hi")));
    test.run();
    EXPECT_EQ(test.tracedRequests(), (std::vector<std::string> { annUrl, bobUrl }));
    auto colours = test.colours();
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_TRUE(near(colours[0], green));
    EXPECT_TRUE(near(colours[1], blue));
}

// The name is bound as a parameter: a quotation mark is searched for as it is.
TEST(SlackProvider, aNameWithAQuotationMarkIsSearchedLiterally)
{
    std::string url = "https://ca.slack-edge.com/T01-U3-c3-512";
    PictureTestDevice test({ { url, answer(200, pictureText(green)) } });
    slackStore(test,
        { "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (1, 'T01', 'U1', 'a1', 'Ann Lee')",
            "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (3, 'T01', 'U3', 'c3', 'Dan O''Neil')" });
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D1", "Dan O'Neil: hi")));
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D1", "x' OR '1'='1: hi")));
    test.run();
    EXPECT_EQ(test.tracedRequests(), std::vector<std::string> { url });
    EXPECT_EQ(test.images.size(), 1u);
}

TEST(SlackProvider, aMissingTableDatabaseOrRowGivesNoPicture)
{
    PictureTestDevice test;
    std::string container = test.dataContainer("S1", "com.tinyspeck.chatlyio");
    test.database(container + slackDatabase, { "CREATE TABLE other (a)" });
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D1", "Ann: hi")));
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D1", "Ann: hi", Value("T02"))));
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D1", "Ann: hi", Value("../../../S1"))));
    test.run();
    EXPECT_TRUE(test.tracedRequests().empty());
    EXPECT_TRUE(test.images.empty());
    EXPECT_FALSE(std::filesystem::exists(test.device().hostPath(container + "/Library/Application Support/Slack/T02")))
        << "the database is only read, never made";

    // A row whose columns are null gives no address.
    PictureTestDevice nulls;
    slackStore(nulls, { "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (1, 'T01', NULL, 'a1', 'Ann')" });
    nulls.ask(slack, nulls.request("com.tinyspeck.chatlyio", slackPayload("D1", "Ann: hi")));
    nulls.run();
    EXPECT_TRUE(nulls.tracedRequests().empty());
}

TEST(SlackProvider, aBodyThatIsNotAPictureReachesTheViewAsAnAbsentImage)
{
    std::string url = "https://ca.slack-edge.com/T01-U1-a1-512";
    PictureTestDevice test({ { url, answer(500, "<html>error</html>") } });
    slackStore(test, { "INSERT INTO ZSLKDEPRECATEDCOREDATAUSER VALUES (1, 'T01', 'U1', 'a1', 'Ann')" });
    test.ask(slack, test.request("com.tinyspeck.chatlyio", slackPayload("D1", "Ann: hi")));
    EXPECT_TRUE(test.images.empty()) << "the download is delivered later, on the main queue";
    test.run();
    ASSERT_EQ(test.colours().size(), 1u);
    EXPECT_FALSE(test.colours()[0]);
}
