#include "platform/device/Json.h"

namespace device {

namespace {

    // Seconds from 1970-01-01 to the platform's reference date, 2001-01-01.
    constexpr double referenceDateOffset = 978307200;

} // namespace

std::string base64(const foundation::Data& data)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string result;
    result.reserve((data.size() + 2) / 3 * 4);
    for (size_t i = 0; i < data.size(); i += 3) {
        size_t left = data.size() - i;
        uint32_t bits = uint32_t(data[i]) << 16;
        if (left > 1)
            bits |= uint32_t(data[i + 1]) << 8;
        if (left > 2)
            bits |= data[i + 2];
        result += alphabet[(bits >> 18) & 63];
        result += alphabet[(bits >> 12) & 63];
        result += left > 1 ? alphabet[(bits >> 6) & 63] : '=';
        result += left > 2 ? alphabet[bits & 63] : '=';
    }
    return result;
}

Trace::Event toJson(const foundation::Value& value)
{
    using Kind = foundation::Value::Kind;
    switch (value.kind()) {
    case Kind::Nil:
    case Kind::Null:
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
        return base64(value.data());
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
