// Property lists, XML and binary, through the platform's reader. Whatever it
// accepts must be written again in both formats, and read back to the same
// encoding: a value the reader lets in but the writer refuses would be lost
// at the next save.

#include <span>

#include "platform/foundation/PropertyList.h"

#include "fuzz/FuzzCheck.h"

using foundation::PropertyListFormat;

namespace {

void checkRoundTrip(const foundation::Value& value, PropertyListFormat format)
{
    auto encoded = foundation::serializePropertyList(value, format);
    FUZZ_CHECK(encoded.isOk(), "a value read is written again");
    auto again = foundation::parsePropertyList(encoded.value());
    FUZZ_CHECK(again.isOk(), "what is written is read again");
    auto reencoded = foundation::serializePropertyList(again.value(), format);
    FUZZ_CHECK(
        reencoded.isOk() && reencoded.value() == encoded.value(), "a value written, read and written is the same");
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
