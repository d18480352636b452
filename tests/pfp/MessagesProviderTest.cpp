#include <gtest/gtest.h>

#include "platform/contacts/VCard.h"

#include "tests/pfp/PictureTestDevice.h"

using namespace pfptest;

namespace {

constexpr const char* messages = "BrixMessagesContactPhotoProvider";

contacts::Card card(
    std::string identifier, std::string givenName, std::vector<std::string> emails, std::optional<Pixel> photo)
{
    contacts::Card made;
    made.identifier = std::move(identifier);
    made.givenName = std::move(givenName);
    for (auto& email : emails)
        made.emailAddresses.push_back({ "", email });
    if (photo)
        made.photo = pictureBytes(*photo);
    return made;
}

void addressBook(PictureTestDevice& test, const std::vector<contacts::Card>& cards)
{
    test.write("/var/mobile/Library/AddressBook/Contacts.vcf", contacts::writeVCards(cards));
}

Value assistant(const std::string& displayText)
{
    return Value(Value::Dictionary { { "AssistantContext",
        Value(Value::Dictionary {
            { "msgSender", Value(Value::Dictionary { { "displayText", Value(displayText) } }) } }) } });
}

std::vector<std::optional<Pixel>> ask(PictureTestDevice& test, Value userInfo)
{
    test.images.clear();
    test.ask(messages, test.request("com.apple.MobileSMS", std::move(userInfo)));
    EXPECT_TRUE(test.images.empty()) << "the picture is delivered on a later turn of the main queue";
    test.run(0.1);
    return test.colours();
}

} // namespace

// The identifier path ignores the assistant context; a card without a photo is no candidate.
TEST(MessagesProvider, findsTheCardByItsIdentifier)
{
    PictureTestDevice test;
    addressBook(test,
        { card("card-ann", "Ann", {}, std::nullopt), card("card-ann", "Ann again", {}, green),
            card("card-bo", "Bo", {}, blue) });
    Value userInfo = assistant("Bo");
    userInfo.set("CKBBContextKeySenderPersonCentricID", Value("card-ann"));
    auto colours = ask(test, userInfo);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_TRUE(near(colours[0], green));

    EXPECT_TRUE(
        ask(test, Value(Value::Dictionary { { "CKBBContextKeySenderPersonCentricID", Value("card-none") } })).empty());
    // The sender's name is compared with the cards' identifiers too.
    EXPECT_EQ(ask(test, Value(Value::Dictionary { { "CKBBContextKeySenderName", Value("card-bo") } })).size(), 1u);
    EXPECT_TRUE(ask(test, Value(Value::Dictionary { { "CKBBContextKeySenderName", Value("Bo") } })).empty());
}

// Given name or e-mail address, with exact letter case; the first candidate with a photo is shown.
TEST(MessagesProvider, matchesTheAssistantsDisplayTextByGivenNameOrEmail)
{
    PictureTestDevice test;
    addressBook(test,
        { card("1", "Ann", {}, std::nullopt), card("2", "Someone", { "ann@example.com" }, red),
            card("3", "Ann", {}, green), card("4", "Zed", { "zed@example.com" }, blue) });
    auto colours = ask(test, assistant("Ann"));
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_TRUE(near(colours[0], green)) << "the photo-less Ann is a candidate, passed over for the next";
    colours = ask(test, assistant("zed@example.com"));
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_TRUE(near(colours[0], blue));
    EXPECT_TRUE(ask(test, assistant("ann")).empty());
    EXPECT_TRUE(ask(test, assistant("ZED@example.com")).empty());
}

// Missing or unexpected values anywhere end the attempt; so does a photo that does not decode.
TEST(MessagesProvider, deliversNothingWithoutASenderOrAPicture)
{
    PictureTestDevice test;
    auto damaged = card("card-x", "X", {}, std::nullopt);
    damaged.photo = foundation::Data { 1, 2, 3 };
    addressBook(test, { damaged, card("card-y", "Y", {}, green) });
    EXPECT_TRUE(
        ask(test, Value(Value::Dictionary { { "CKBBContextKeySenderPersonCentricID", Value("card-x") } })).empty());
    EXPECT_TRUE(ask(test, Value()).empty());
    EXPECT_TRUE(ask(test, Value(Value::Dictionary { { "AssistantContext", Value::dictionary() } })).empty());
    EXPECT_TRUE(ask(test, Value(Value::Dictionary { { "AssistantContext", Value("Y") } })).empty());
    EXPECT_TRUE(ask(test, Value(Value::Dictionary { { "CKBBContextKeySenderPersonCentricID", Value(42) } })).empty());
    Value numberWithContext = assistant("Y");
    numberWithContext.set("CKBBContextKeySenderPersonCentricID", Value(Value::Array { "card-y" }));
    EXPECT_TRUE(ask(test, numberWithContext).empty()) << "a key of the wrong kind does not fall back";
    EXPECT_EQ(ask(test, assistant("Y")).size(), 1u);
}
