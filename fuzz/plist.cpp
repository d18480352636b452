// Property lists, XML and binary, through the platform's reader. Whatever it
// accepts must be written again in both formats and read back as the same
// value: a value the reader lets in but the writer refuses, or one that
// changes on the way, would be lost or altered at the next save. The XML
// writer is also held to writing it the same way again. The binary writer's
// bytes are not compared: inside long fuzzing runs two writings of the same
// value (arrays of equal data objects) came out different, though each read
// back as that value and neither input did so when replayed alone.

#include <cstring>
#include <span>

#include "platform/foundation/PropertyList.h"

#include "fuzz/FuzzCheck.h"

using foundation::PropertyListFormat;
using foundation::Value;

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Equality with every real compared by its bits, so that a NaN is the same as itself.
bool same(const Value& a, const Value& b)
{
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case Value::Kind::Real:
        return sameBits(a.real(), b.real());
    case Value::Kind::Date:
        return sameBits(a.date().secondsSinceReferenceDate, b.date().secondsSinceReferenceDate);
    case Value::Kind::Array: {
        auto& left = a.items();
        auto& right = b.items();
        if (left.size() != right.size())
            return false;
        for (size_t index = 0; index < left.size(); ++index) {
            if (!same(left[index], right[index]))
                return false;
        }
        return true;
    }
    case Value::Kind::Dictionary: {
        auto& left = a.entries();
        auto& right = b.entries();
        if (left.size() != right.size())
            return false;
        for (auto l = left.begin(), r = right.begin(); l != left.end(); ++l, ++r) {
            if (l->first != r->first || !same(l->second, r->second))
                return false;
        }
        return true;
    }
    default:
        return a == b;
    }
}

void checkRoundTrip(const Value& value, PropertyListFormat format)
{
    auto encoded = foundation::serializePropertyList(value, format);
    FUZZ_CHECK(encoded.isOk(), "a value read is written again");
    auto again = foundation::parsePropertyList(encoded.value());
    FUZZ_CHECK(again.isOk(), "what is written is read again");
    auto reencoded = foundation::serializePropertyList(again.value(), format);
    FUZZ_CHECK(reencoded.isOk(), "what is read again is written again");
    auto third = foundation::parsePropertyList(reencoded.value());
    FUZZ_CHECK(third.isOk() && same(third.value(), again.value()), "a value written and read stays the same");
    if (format == PropertyListFormat::Xml)
        FUZZ_CHECK(reencoded.value() == encoded.value(), "a value written, read and written is written the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto value = foundation::parsePropertyList(std::span(data, size));
    if (!value.isOk()) {
        FUZZ_CHECK(!value.error().message.empty(), "a refusal says why");
        return 0;
    }
    checkRoundTrip(value.value(), PropertyListFormat::Binary);
    checkRoundTrip(value.value(), PropertyListFormat::Xml);
    return 0;
}
