#include "platform/contacts/VCard.h"

#include <gtest/gtest.h>

using contacts::Card;
using contacts::LabeledText;
using contacts::readVCards;
using contacts::writeVCards;

TEST(VCard, readsVersionFourCards)
{
    auto reading = readVCards("BEGIN:VCARD\r\n"
                              "VERSION:4.0\r\n"
                              "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\r\n"
                              "FN:Ann Lee\r\n"
                              "N:Lee;Ann;;;\r\n"
                              "item1.EMAIL;TYPE=work:ann@work.example\r\n"
                              "EMAIL;PREF=1;TYPE=\"home,x:y\":ann@home.example\r\n"
                              "TEL;VALUE=uri;TYPE=cell:tel:+1-555-0100\r\n"
                              "NOTE:a note that is folded over\r\n"
                              "  two lines\\, with escapes\\n\r\n"
                              "PHOTO:data:image/png;base64,iVBO\r\n"
                              " Rw==\r\n"
                              "END:VCARD\r\n");
    ASSERT_TRUE(reading.skipped.empty()) << reading.skipped.front();
    ASSERT_EQ(reading.cards.size(), 1u);
    const Card& card = reading.cards[0];
    EXPECT_EQ(card.identifier, "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1");
    EXPECT_EQ(card.fullName, "Ann Lee");
    EXPECT_EQ(card.givenName, "Ann");
    EXPECT_EQ(card.familyName, "Lee");
    EXPECT_EQ(card.emailAddresses,
        (std::vector<LabeledText> { { "_$!<Work>!$_", "ann@work.example" }, { "_$!<Home>!$_", "ann@home.example" } }));
    EXPECT_EQ(card.phoneNumbers, (std::vector<LabeledText> { { "_$!<Mobile>!$_", "+1-555-0100" } }));
    ASSERT_TRUE(card.photo);
    EXPECT_EQ(*card.photo, (foundation::Data { 0x89, 'P', 'N', 'G' }));
}

TEST(VCard, readsVersionThreeCardsWithInlinePhotos)
{
    auto reading = readVCards("BEGIN:VCARD\n"
                              "VERSION:3.0\n"
                              "N:O\\;Brien;Mary\\, Jane;;;\n"
                              "UID:card-3\n"
                              "EMAIL;TYPE=INTERNET;TYPE=HOME:mary@example.com\n"
                              "PHOTO;ENCODING=b;TYPE=JPEG:/9j/\n"
                              "\t4A==\n"
                              "end:vcard\n");
    ASSERT_EQ(reading.cards.size(), 1u) << (reading.skipped.empty() ? "" : reading.skipped.front());
    const Card& card = reading.cards[0];
    EXPECT_EQ(card.familyName, "O;Brien");
    EXPECT_EQ(card.givenName, "Mary, Jane");
    EXPECT_EQ(card.emailAddresses, (std::vector<LabeledText> { { "_$!<Home>!$_", "mary@example.com" } }));
    EXPECT_EQ(*card.photo, (foundation::Data { 0xFF, 0xD8, 0xFF, 0xE0 }));
}

// A card that is not well formed is left out with the reason; its neighbours are read.
TEST(VCard, leavesOutMalformedCardsAndReadsTheRest)
{
    auto good = [](const std::string& uid) { return "BEGIN:VCARD\nVERSION:4.0\nUID:" + uid + "\nEND:VCARD\n"; };
    std::string text = good("first") + "BEGIN:VCARD\nUID:no-version\nEND:VCARD\n" + good("second")
        + "BEGIN:VCARD\nVERSION:4.0\nthis line has no value\nEND:VCARD\n"
        + "BEGIN:VCARD\nVERSION:4.0\nPHOTO:data:image/png;base64,@@@@\nEND:VCARD\n"
        + "BEGIN:VCARD\nVERSION:2.1\nEND:VCARD\n" + "BEGIN:VCARD\nVERSION:4.0\nUID:cut\n" + good("third")
        + "END:VCARD\n" + "garbage between cards\n" + "BEGIN:VCARD\nVERSION:4.0\nUID:unterminated\n";
    auto reading = readVCards(text);
    std::vector<std::string> identifiers;
    for (auto& card : reading.cards)
        identifiers.push_back(card.identifier);
    EXPECT_EQ(identifiers, (std::vector<std::string> { "first", "second", "third" }));
    ASSERT_EQ(reading.skipped.size(), 6u);
    EXPECT_NE(reading.skipped[0].find("no VERSION"), std::string::npos) << reading.skipped[0];
    EXPECT_NE(reading.skipped[1].find("has no value"), std::string::npos) << reading.skipped[1];
    EXPECT_NE(reading.skipped[2].find("PHOTO"), std::string::npos) << reading.skipped[2];
    EXPECT_NE(reading.skipped[3].find("VERSION 2.1"), std::string::npos) << reading.skipped[3];
    EXPECT_NE(reading.skipped[4].find("comes before its END"), std::string::npos) << reading.skipped[4];
    EXPECT_NE(reading.skipped[5].find("no END"), std::string::npos) << reading.skipped[5];
}

TEST(VCard, givesACardWithoutUidTheSameIdentifierAtEveryReading)
{
    std::string text
        = "BEGIN:VCARD\nVERSION:4.0\nFN:Nobody\nEND:VCARD\nBEGIN:VCARD\nVERSION:4.0\nFN:Other\nEND:VCARD\n";
    auto first = readVCards(text);
    auto second = readVCards(text);
    ASSERT_EQ(first.cards.size(), 2u);
    EXPECT_EQ(first.cards[0].identifier.size(), 36u);
    EXPECT_EQ(first.cards[0].identifier, second.cards[0].identifier);
    EXPECT_NE(first.cards[0].identifier, first.cards[1].identifier);
}

TEST(VCard, writesCardsThatReadBackTheSame)
{
    Card card;
    card.identifier = "card;1";
    card.givenName = "Zoë, the \"long\"";
    card.familyName = std::string(60, 'x') + "ÿÿÿÿÿÿÿÿÿÿ";
    card.emailAddresses = { { "_$!<Work>!$_", "zoe@example.com" }, { "", "z@example.com" } };
    // The second number is text that merely begins like a "tel:" address.
    card.phoneNumbers = { { "", "+1 555 0100" }, { "", "TEL:T:0100" } };
    card.photo = foundation::Data(300, 0xAB);
    Card bare;
    bare.identifier = "bare";
    std::string text = writeVCards({ card, bare });
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LE(end - start, 75u) << "every line is folded at 75 octets";
    auto reading = readVCards(text);
    ASSERT_TRUE(reading.skipped.empty()) << reading.skipped.front();
    ASSERT_EQ(reading.cards.size(), 2u);
    const Card& back = reading.cards[0];
    EXPECT_EQ(back.identifier, card.identifier);
    EXPECT_EQ(back.givenName, card.givenName);
    EXPECT_EQ(back.familyName, card.familyName);
    EXPECT_EQ(back.emailAddresses, card.emailAddresses);
    EXPECT_EQ(back.phoneNumbers, card.phoneNumbers);
    EXPECT_EQ(back.photo, card.photo);
    EXPECT_FALSE(reading.cards[1].photo);
}

TEST(VCard, keepsLineBreaksInTextAsLineBreaksThroughWritingAndReading)
{
    // A bare carriage return inside a value is a line break of an older
    // writer; it reads as one, and a line break of any form is written as
    // the escaped one, so that what is read is what is read again.
    auto reading = readVCards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob\r\xeaN:Builder;Bob\r\n"
                              "N:Builder;Bob\r\r\nEND:VCARD\r\n");
    ASSERT_EQ(reading.cards.size(), 1u);
    EXPECT_EQ(reading.cards[0].fullName, "Bob\n\xeaN:Builder;Bob");
    EXPECT_EQ(reading.cards[0].givenName, "Bob\n");
    // An escaped carriage return is a line break too.
    auto escapedReturn = readVCards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bo\\\r\xea\\AAQ\r\nEND:VCARD\r\n");
    ASSERT_EQ(escapedReturn.cards.size(), 1u);
    EXPECT_EQ(escapedReturn.cards[0].fullName,
        "Bo\n\xea"
        "AAQ");
    EXPECT_EQ(readVCards(writeVCards(escapedReturn.cards)).cards.at(0).fullName,
        "Bo\n\xea"
        "AAQ");

    Card card;
    card.identifier = "breaks";
    card.fullName = "one\rtwo\r\nthree\nfour";
    card.givenName = "end\r";
    auto written = writeVCards({ reading.cards[0], card });
    for (size_t at = 0; (at = written.find('\r', at)) != std::string::npos; ++at)
        EXPECT_EQ(written[at + 1], '\n') << "no bare carriage return is written";
    auto again = readVCards(written);
    ASSERT_EQ(again.cards.size(), 2u);
    EXPECT_EQ(again.cards[0].fullName, reading.cards[0].fullName);
    EXPECT_EQ(again.cards[0].givenName, reading.cards[0].givenName);
    EXPECT_EQ(again.cards[1].fullName, "one\ntwo\nthree\nfour");
    EXPECT_EQ(again.cards[1].givenName, "end\n");
}

TEST(VCard, givesACardWithoutAFullNameTheOneItIsWrittenWith)
{
    auto reading = readVCards("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Builder;Bob\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:\r\nN:;Ann;;;\r\nEND:VCARD\r\n");
    ASSERT_EQ(reading.cards.size(), 2u);
    EXPECT_EQ(reading.cards[0].fullName, "Bob Builder");
    EXPECT_EQ(reading.cards[1].fullName, "Ann");
    auto again = readVCards(writeVCards(reading.cards));
    ASSERT_EQ(again.cards.size(), 2u);
    EXPECT_EQ(again.cards[0].fullName, reading.cards[0].fullName);
    EXPECT_EQ(again.cards[1].fullName, reading.cards[1].fullName);
}

TEST(VCard, foldsALongRunOfBytesThatIsNoUtf8)
{
    // Continuation bytes without a start, more than a line holds: a fold
    // never inside a UTF-8 sequence finds no place, and cuts at the limit.
    Card card;
    card.identifier = "bytes";
    card.fullName = "Bo" + std::string(200, '\x98');
    auto text = writeVCards({ card });
    auto reading = readVCards(text);
    ASSERT_EQ(reading.cards.size(), 1u);
    EXPECT_EQ(reading.cards[0].fullName, card.fullName);
}
