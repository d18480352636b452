#include "platform/foundation/Encoding.h"

#include <gtest/gtest.h>

#include "platform/foundation/UUID.h"

using foundation::base64Decode;
using foundation::base64Encode;
using foundation::Data;
using foundation::hexEncode;
using foundation::LetterCase;
using foundation::UUID;

TEST(Encoding, base64WritesEveryPaddingCaseAndReadsItBack)
{
    EXPECT_EQ(base64Encode(Data {}), "");
    EXPECT_EQ(base64Encode(Data { 'M' }), "TQ==");
    EXPECT_EQ(base64Encode(Data { 'M', 'a' }), "TWE=");
    EXPECT_EQ(base64Encode(Data { 'M', 'a', 'n' }), "TWFu");
    EXPECT_EQ(base64Encode(Data { 0xff, 0xfe, 0xfd }), "//79");

    Data every(256);
    for (size_t index = 0; index < every.size(); ++index)
        every[index] = static_cast<uint8_t>(index);
    for (size_t length = 0; length <= 5; ++length) {
        Data bytes(every.begin(), every.begin() + static_cast<long>(length));
        EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes) << length;
    }
    EXPECT_EQ(base64Decode(base64Encode(every)), every);
}

TEST(Encoding, base64ReadsFoldedAndUnpaddedTextAndRefusesTheRest)
{
    EXPECT_EQ(base64Decode(" TW\r\n Fu\tTQ "), (Data { 'M', 'a', 'n', 'M' }));
    EXPECT_EQ(base64Decode("TWE"), (Data { 'M', 'a' }));
    EXPECT_EQ(base64Decode("TQ"), (Data { 'M' }));
    EXPECT_EQ(base64Decode(""), Data {});

    EXPECT_FALSE(base64Decode("TWFuT")); // a lone final letter holds no whole byte
    EXPECT_FALSE(base64Decode("TQ===")); // three padding letters
    EXPECT_FALSE(base64Decode("TQ==TQ==")); // letters after the padding
    EXPECT_FALSE(base64Decode("TW-u")); // the URL alphabet is another encoding
    EXPECT_FALSE(base64Decode("TW\xC3\xA9u"));
}

TEST(Encoding, hexWritesTwoDigitsAByteInEitherCase)
{
    Data bytes { 0x00, 0x0f, 0xa5, 0xff };
    EXPECT_EQ(hexEncode(bytes), "000fa5ff");
    EXPECT_EQ(hexEncode(bytes, LetterCase::Upper), "000FA5FF");
    EXPECT_EQ(hexEncode(Data {}), "");
    EXPECT_EQ(foundation::hexDigitValue('7'), 7);
    EXPECT_EQ(foundation::hexDigitValue('b'), 11);
    EXPECT_EQ(foundation::hexDigitValue('F'), 15);
    EXPECT_EQ(foundation::hexDigitValue('g'), -1);
}

TEST(FoundationUUID, namedUuidsAreStableVersionFiveUuids)
{
    // The name "python.org" in the DNS name space, a published example.
    auto dns = UUID::parse("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    ASSERT_TRUE(dns);
    EXPECT_EQ(UUID::format(UUID::named(*dns, "python.org")), "886313E1-3B8A-5372-9B90-0C9AEE199E5D");
    EXPECT_NE(UUID::named(*dns, "python.org"), UUID::named(*dns, "python.org."));
    EXPECT_NE(UUID::format(UUID::random()), UUID::format(UUID::random()));
}
