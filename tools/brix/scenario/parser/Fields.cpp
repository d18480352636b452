#include "tools/brix/scenario/parser/Fields.h"

#include <cmath>
#include <cstdint>

namespace tools::scenario::parser {

using foundation::Value;

void fail(std::string message)
{
    throw Invalid { std::move(message) };
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string kindOf(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::object:
        return "an object";
    default:
        return "a number";
    }
}

std::string indexed(const std::string& where, size_t index)
{
    return where + "[" + std::to_string(index) + "]";
}

Fields::Fields(const Json& value, std::string where)
    : m_object(&value)
    , m_where(std::move(where))
{
    if (!value.is_object())
        fail(m_where + " must be an object, not " + kindOf(value));
}

std::string Fields::name(std::string_view key) const
{
    return m_where.empty() ? std::string(key) : m_where + "." + std::string(key);
}

const Json* Fields::take(std::string_view key)
{
    auto it = m_object->find(key);
    if (it == m_object->end())
        return nullptr;
    m_taken.insert(std::string(key));
    return &*it;
}

const Json* Fields::take(std::string_view key, Kind kind)
{
    const Json* value = take(key);
    if (!value)
        return nullptr;
    switch (kind) {
    case Kind::StringOrNull:
        if (value->is_null())
            break;
        [[fallthrough]];
    case Kind::String:
        if (!value->is_string())
            fail(name(key) + " must be a string, not " + kindOf(*value));
        break;
    case Kind::Number:
        if (!value->is_number() || !std::isfinite(value->get<double>()))
            fail(name(key) + " must be a number, not " + kindOf(*value));
        break;
    case Kind::Integer:
        if (!value->is_number_integer())
            fail(name(key) + " must be a whole number, not " + kindOf(*value));
        if (value->is_number_unsigned() && value->get<uint64_t>() > uint64_t(INT64_MAX))
            fail(name(key) + " is too large");
        break;
    case Kind::Boolean:
        if (!value->is_boolean())
            fail(name(key) + " must be true or false, not " + kindOf(*value));
        break;
    case Kind::Any:
        break;
    }
    return value;
}

std::optional<std::string> Fields::string(std::string_view key)
{
    const Json* value = take(key, Kind::String);
    return value ? std::optional(value->get<std::string>()) : std::nullopt;
}

std::optional<double> Fields::number(std::string_view key)
{
    const Json* value = take(key, Kind::Number);
    return value ? std::optional(value->get<double>()) : std::nullopt;
}

std::optional<int64_t> Fields::integer(std::string_view key)
{
    const Json* value = take(key, Kind::Integer);
    return value ? std::optional(value->get<int64_t>()) : std::nullopt;
}

std::optional<bool> Fields::boolean(std::string_view key)
{
    const Json* value = take(key, Kind::Boolean);
    return value ? std::optional(value->get<bool>()) : std::nullopt;
}

void Fields::finish() const
{
    for (auto& [key, value] : m_object->items()) {
        if (!m_taken.contains(key))
            fail((m_where.empty() ? std::string("the scenario") : m_where) + " has an unknown field " + inQuotes(key));
    }
}

Value toValue(const Json& json, const std::string& name, Nulls nulls)
{
    switch (json.type()) {
    case Json::value_t::null:
        if (nulls == Nulls::Allowed)
            return Value::null();
        fail(name + " cannot hold null");
    case Json::value_t::boolean:
        return Value(json.get<bool>());
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
        if (json.is_number_unsigned() && json.get<uint64_t>() > uint64_t(INT64_MAX))
            fail(name + " holds a number too large for a property list");
        return Value(json.get<int64_t>());
    case Json::value_t::number_float:
        return Value(json.get<double>());
    case Json::value_t::string:
        return Value(json.get<std::string>());
    case Json::value_t::array: {
        Value result = Value::array();
        size_t index = 0;
        for (auto& item : json)
            result.append(toValue(item, indexed(name, index++), nulls));
        return result;
    }
    case Json::value_t::object: {
        Value result = Value::dictionary();
        for (auto& [key, item] : json.items())
            result.set(key, toValue(item, name + "." + key, nulls));
        return result;
    }
    default:
        fail(name + " is not a property-list value");
    }
}

} // namespace tools::scenario::parser
