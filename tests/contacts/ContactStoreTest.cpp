#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/contacts/CNContactStore.h"
#include "platform/contacts/Contacts.h"
#include "platform/contacts/VCard.h"
#include "platform/foundation/ErrorObject.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

class ContactStoreTest : public ::testing::Test {
protected:
    ContactStoreTest() { contacts::defineClasses(test.process()); }

    void writeBook(const std::string& text)
    {
        auto host = test.device().hostPath("/var/mobile/Library/AddressBook/Contacts.vcf");
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary | std::ios::trunc) << text;
    }

    Ref<Object> request(Value keys = Value(Value::Array { "givenName", "emailAddresses", "imageData" }))
    {
        return send<Ref<Object>>(
            runtime::alloc(test.runtime().classNamed("CNContactFetchRequest")), SEL("initWithKeysToFetch:"), keys);
    }

    // The cards an enumeration hands out, up to `stopAfter`.
    std::vector<Ref<Object>> enumerate(
        Object* fetch, bool* answered = nullptr, Value* error = nullptr, size_t stopAfter = SIZE_MAX)
    {
        auto store = runtime::newObject(test.runtime().classNamed("CNContactStore"));
        std::vector<Ref<Object>> cards;
        contacts::CNContactStore::EnumerationBlock block = [&](Value card, bool* stop) {
            cards.emplace_back(card.object());
            if (cards.size() == stopAfter)
                *stop = true;
        };
        bool result
            = send<bool>(store, SEL("enumerateContactsWithFetchRequest:error:usingBlock:"), fetch, error, block);
        if (answered)
            *answered = result;
        return cards;
    }

    static std::string text(const Ref<Object>& card, const char* selector)
    {
        return send<Value>(card, runtime::Selector::named(selector)).string();
    }

    UIKitTestProcess test;
};

} // namespace

TEST_F(ContactStoreTest, enumeratesTheCardsOfTheAddressBookInOrder)
{
    contacts::Card ann { "id-ann", "Ann", "Lee", "", { { "_$!<Work>!$_", "ann@example.com" } }, { { "", "+1 555" } },
        foundation::Data { 1, 2, 3 } };
    contacts::Card bo { "id-bo", "Bo", "", "", {}, {}, std::nullopt };
    writeBook(contacts::writeVCards({ ann, bo }));
    bool answered = false;
    auto cards = enumerate(request().get(), &answered);
    EXPECT_TRUE(answered);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(text(cards[0], "identifier"), "id-ann");
    EXPECT_EQ(text(cards[0], "givenName"), "Ann");
    EXPECT_EQ(text(cards[0], "familyName"), "Lee");
    EXPECT_EQ(send<Value>(cards[0], SEL("imageData")), Value(foundation::Data { 1, 2, 3 }));
    EXPECT_TRUE(send<Value>(cards[1], SEL("imageData")).isNil());
    auto emails = send<Value>(cards[0], SEL("emailAddresses"));
    ASSERT_EQ(emails.count(), 1u);
    EXPECT_EQ(send<Value>(emails[0].object(), SEL("value")), Value("ann@example.com"));
    EXPECT_EQ(send<Value>(emails[0].object(), SEL("label")), Value("_$!<Work>!$_"));
    auto phones = send<Value>(cards[0], SEL("phoneNumbers"));
    EXPECT_EQ(send<Value>(send<Value>(phones[0].object(), SEL("value")).object(), SEL("stringValue")), Value("+1 555"));

    // The block may stop the enumeration.
    EXPECT_EQ(enumerate(request().get(), nullptr, nullptr, 1).size(), 1u);
}

TEST_F(ContactStoreTest, readsTheFileAgainOnlyWhenItChanged)
{
    writeBook(contacts::writeVCards({ { "one", "One", "", "", {}, {}, std::nullopt } }));
    auto first = enumerate(request().get());
    auto again = enumerate(request().get());
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].get(), again[0].get()) << "an unchanged file is not read again";
    writeBook(contacts::writeVCards(
        { { "two", "Two", "", "", {}, {}, std::nullopt }, { "three", "Three", "", "", {}, {}, std::nullopt } }));
    auto changed = enumerate(request().get());
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(text(changed[0], "identifier"), "two");
}

TEST_F(ContactStoreTest, skipsMalformedCardsAndTreatsAMissingBookAsEmpty)
{
    bool answered = false;
    EXPECT_TRUE(enumerate(request().get(), &answered).empty());
    EXPECT_TRUE(answered);
    writeBook("BEGIN:VCARD\nVERSION:4.0\nUID:good\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:4.0\nbroken line\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nUID:also-good\nEND:VCARD\n");
    auto cards = enumerate(request().get());
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(text(cards[1], "identifier"), "also-good");
}

TEST_F(ContactStoreTest, refusesBadRequestsAndAnUnreadableBookWithAnError)
{
    Value error;
    bool answered = true;
    EXPECT_TRUE(enumerate(request(Value(Value::Array { "givenName", "nickname" })).get(), &answered, &error).empty());
    EXPECT_FALSE(answered);
    auto* reported = dynamic_cast<foundation::ErrorObject*>(error.object());
    ASSERT_NE(reported, nullptr);
    EXPECT_EQ(reported->domain(), "CNErrorDomain");
    EXPECT_EQ(reported->code(), 400);
    EXPECT_NE(reported->localizedDescription().find("nickname"), std::string::npos);

    enumerate(nullptr, &answered, &error);
    EXPECT_FALSE(answered);

    std::filesystem::create_directories(test.device().hostPath("/var/mobile/Library/AddressBook/Contacts.vcf"));
    error = Value();
    enumerate(request().get(), &answered, &error);
    EXPECT_FALSE(answered);
    ASSERT_NE(dynamic_cast<foundation::ErrorObject*>(error.object()), nullptr);
    EXPECT_EQ(dynamic_cast<foundation::ErrorObject*>(error.object())->code(), 2);
}
