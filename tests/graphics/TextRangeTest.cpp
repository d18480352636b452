#include "platform/graphics/TextRange.h"

#include <gtest/gtest.h>

using graphics::ByteRange;
using graphics::byteRangeOf;
using graphics::TextRange;

TEST(TextRange, mapsUtf16RangesToWholeCharactersOfUtf8)
{
    const std::string text = "a😀bé"; // bytes: a(0) 😀(1-4) b(5) é(6-7); units: a 😀😀 b é
    EXPECT_EQ(byteRangeOf(text, TextRange { 0, 1 }), (ByteRange { 0, 1 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 1, 2 }), (ByteRange { 1, 5 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 3, 2 }), (ByteRange { 5, 8 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 0, 5 }), (ByteRange { 0, 8 }));
    // Half a surrogate pair takes the whole character, at either end.
    EXPECT_EQ(byteRangeOf(text, TextRange { 2, 1 }), (ByteRange { 1, 5 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 0, 2 }), (ByteRange { 0, 5 }));
    // Whatever lies beyond the end is dropped, even with an enormous length.
    EXPECT_EQ(byteRangeOf(text, TextRange { 3, 100 }), (ByteRange { 5, 8 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 4, UINT64_MAX }), (ByteRange { 6, 8 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 9, 2 }), (ByteRange { 8, 8 }));
    EXPECT_EQ(byteRangeOf(text, TextRange { 3, 0 }).begin, byteRangeOf(text, TextRange { 3, 0 }).end);
}
