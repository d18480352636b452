#include "platform/foundation/Digest.h"

#include <gtest/gtest.h>

using foundation::Data;
using foundation::md5Hex;

namespace {

Data bytesOf(std::string_view text)
{
    return Data(text.begin(), text.end());
}

} // namespace

TEST(Digest, md5MatchesTheReferenceVectors)
{
    // RFC 1321, appendix A.5.
    EXPECT_EQ(md5Hex(bytesOf("")), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex(bytesOf("abc")), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex(bytesOf("message digest")), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(md5Hex(bytesOf("12345678901234567890123456789012345678901234567890123456789012345678901234567890")),
        "57edf4a22be3c955ac49da2e2107b67a");
    // Bytes past a zero are digested too: the digest is of the data, not of a C string.
    EXPECT_NE(md5Hex(Data { 'a', 0, 'b' }), md5Hex(bytesOf("a")));
}
