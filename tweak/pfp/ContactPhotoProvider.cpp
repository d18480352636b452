#include "tweak/pfp/ContactPhotoProvider.h"

#include <charconv>
#include <cmath>

#include "platform/runtime/ClassBuilder.h"

#include "tweak/Brix.h"

namespace brix::pfp {

using runtime::send;
using runtime::sendIfResponds;

Value userInfoOf(Object* request)
{
    auto notification = sendIfResponds<Ref<Object>>(request, SEL("userNotification"));
    auto appRequest = sendIfResponds<Ref<Object>>(notification, SEL("request"));
    auto content = sendIfResponds<Ref<Object>>(appRequest, SEL("content"));
    return sendIfResponds<Value>(content, SEL("userInfo"));
}

Entry entryOf(const Value& parent, std::string_view key)
{
    if (parent.isNil())
        return {};
    if (!parent.isDictionary())
        return { Entry::State::Unexpected, {} };
    const Value& value = parent[key];
    if (value.isNil())
        return {};
    // A null is there, but of no kind a reader asks for; a null deeper down
    // is for the reader of that entry to find.
    if (value.isNull() || !value.isPayload())
        return { Entry::State::Unexpected, {} };
    return { Entry::State::Found, value };
}

std::optional<std::string> textOf(const Value& value)
{
    if (value.isString())
        return value.string();
    if (value.isBoolean())
        return value.boolean() ? "1" : "0";
    if (value.isInteger())
        return std::to_string(value.integer());
    if (value.isReal() && std::isfinite(value.real())) {
        char digits[32];
        auto written = std::to_chars(digits, digits + sizeof digits, value.real());
        return std::string(digits, written.ptr);
    }
    return std::nullopt;
}

std::optional<std::string> stringOf(const Value& value)
{
    if (value.isString())
        return value.string();
    return std::nullopt;
}

void deliverOnMainQueue(Brix& brix, Ref<Object> view, Ref<Object> image, AbsentImage absent)
{
    brix.process().mainQueue().async([view = std::move(view), image = std::move(image), absent] {
        if (!view || (!image && absent == AbsentImage::NotDelivered))
            return;
        sendIfResponds(view, SEL("updateImage:"), image.get());
    });
}

void defineProvider(Brix& brix, std::string_view className, runtime::Imp implementation)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed(className))
        return;
    runtime::ClassBuilder::define<runtime::NSObject>(runtime, std::string(className), "NSObject")
        .method(contactPhotoSelector, std::move(implementation));
}

} // namespace brix::pfp
