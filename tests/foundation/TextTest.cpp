#include "platform/foundation/Text.h"

#include <gtest/gtest.h>

using namespace foundation::text;

TEST(Text, countsUtf16UnitsAsThePlatformsStringsDo)
{
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("Bob"), 3u);
    EXPECT_EQ(utf16Length("é"), 1u); // two bytes, one unit
    EXPECT_EQ(utf16Length("€"), 1u); // three bytes, one unit
    EXPECT_EQ(utf16Length("😀"), 2u); // four bytes, a surrogate pair
    EXPECT_EQ(utf16Length("a😀b"), 4u);
}

TEST(Text, countsEachIllFormedSequenceAsTheOneCharacterThatReplacesIt)
{
    EXPECT_EQ(utf16Length("\xff\xfe"), 2u); // stray bytes count one unit each
    EXPECT_EQ(utf16Length("\xe2\x82"), 1u); // a truncated character is one
    EXPECT_EQ(utf16Length("\xe2"
                          "ab"),
        3u); // a lead byte without its continuation, then two letters
    EXPECT_EQ(utf16Length("\xed\xa0\x80"), 3u); // an encoded surrogate is three ill-formed bytes
    EXPECT_EQ(utf16Length("\xc0\xaf"), 2u); // an overlong form too
    EXPECT_EQ(utf16Length("\xf0\x9f\x98"), 1u); // a truncated character outside the plane

    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("a€😀"));
    EXPECT_FALSE(isValidUtf8("\xe2\x82"));
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));
    EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("a\x80"));
}

TEST(Text, findsAndReplacesUtf16RangesOnWholeCharacters)
{
    std::string text = "a😀b";
    EXPECT_EQ(byteOffset(text, 0), 0u);
    EXPECT_EQ(byteOffset(text, 1), 1u);
    EXPECT_EQ(byteOffset(text, 2), 5u); // inside the pair: the next character
    EXPECT_EQ(byteOffset(text, 3), 5u);
    EXPECT_EQ(byteOffset(text, 99), text.size());

    EXPECT_EQ(replaceUtf16Range("Alice - Bob", 5, 3, ": "), "Alice: Bob");
    EXPECT_EQ(replaceUtf16Range(text, 1, 2, "+"), "a+b");
    EXPECT_EQ(replaceUtf16Range(text, 3, UINT64_MAX, "!"), "a😀!");
    EXPECT_EQ(replaceUtf16Range(text, 10, 1, "!"), "a😀b!");
}

TEST(Text, mapsTheCaseOfAsciiLettersOnly)
{
    EXPECT_EQ(asciiLowercase("Content-Type É"), "content-type É");
    EXPECT_EQ(asciiUppercase("tel;type=cell é"), "TEL;TYPE=CELL é");
    EXPECT_TRUE(equalsIgnoringAsciiCase("BASE64", "base64"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("é", "É"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("data", "data:"));
}
