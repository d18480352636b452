#include "platform/device/Json.h"

#include "platform/foundation/Encoding.h"

namespace device {

namespace {

    // Seconds from 1970-01-01 to the platform's reference date, 2001-01-01.
    constexpr double referenceDateOffset = 978307200;

} // namespace

Trace::Event toJson(const foundation::Value& value)
{
    using Kind = foundation::Value::Kind;
    switch (value.kind()) {
    case Kind::Nil:
        return nullptr;
    case Kind::Boolean:
        return value.boolean();
    case Kind::Integer:
        return value.integer();
    case Kind::Real:
        return value.real();
    case Kind::String:
        return value.string();
    case Kind::Data:
        return foundation::base64Encode(value.data());
    case Kind::Date:
        return value.date().secondsSinceReferenceDate + referenceDateOffset;
    case Kind::Array: {
        auto result = Trace::Event::array();
        for (auto& item : value.items())
            result.push_back(toJson(item));
        return result;
    }
    case Kind::Dictionary: {
        auto result = Trace::Event::object();
        for (auto& [key, item] : value.entries())
            result[key] = toJson(item);
        return result;
    }
    case Kind::Object:
        return std::string(runtime::classNameOf(value.object()));
    }
    return nullptr;
}

} // namespace device
