#include "platform/runtime/Value.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "platform/runtime/Class.h"

namespace runtime {

namespace {

    const Value& nilValue()
    {
        static const Value nil;
        return nil;
    }

    // The integer part of a real, clamped to the 64-bit range; NaN reads as 0.
    // A plain conversion of a real outside the range is undefined behaviour.
    int64_t saturatingInteger(double value)
    {
        constexpr double limit = 9223372036854775808.0; // 2^63
        if (std::isnan(value))
            return 0;
        if (value >= limit)
            return std::numeric_limits<int64_t>::max();
        if (value < -limit)
            return std::numeric_limits<int64_t>::min();
        return static_cast<int64_t>(value);
    }

} // namespace

Value::Value(Object* object)
{
    if (object)
        m_storage = Ref<Object>(object);
}

bool Value::boolean() const
{
    switch (kind()) {
    case Kind::Boolean:
        return std::get<bool>(m_storage);
    case Kind::Integer:
        return std::get<int64_t>(m_storage) != 0;
    case Kind::Real:
        return std::get<double>(m_storage) != 0;
    default:
        return false;
    }
}

int64_t Value::integer() const
{
    switch (kind()) {
    case Kind::Boolean:
        return std::get<bool>(m_storage) ? 1 : 0;
    case Kind::Integer:
        return std::get<int64_t>(m_storage);
    case Kind::Real:
        return saturatingInteger(std::get<double>(m_storage));
    default:
        return 0;
    }
}

double Value::real() const
{
    switch (kind()) {
    case Kind::Boolean:
    case Kind::Integer:
        return static_cast<double>(integer());
    case Kind::Real:
        return std::get<double>(m_storage);
    default:
        return 0;
    }
}

const std::string& Value::string() const
{
    static const std::string empty;
    auto* text = std::get_if<std::string>(&m_storage);
    return text ? *text : empty;
}

const Data& Value::data() const
{
    static const Data empty;
    auto* data = std::get_if<std::shared_ptr<Data>>(&m_storage);
    return data ? **data : empty;
}

Date Value::date() const
{
    auto* date = std::get_if<Date>(&m_storage);
    return date ? *date : Date {};
}

Object* Value::object() const
{
    auto* object = std::get_if<Ref<Object>>(&m_storage);
    return object ? object->get() : nullptr;
}

const Value::Array& Value::items() const
{
    static const Array empty;
    auto* array = std::get_if<std::shared_ptr<Array>>(&m_storage);
    return array ? **array : empty;
}

const Value::Dictionary& Value::entries() const
{
    static const Dictionary empty;
    auto* dictionary = std::get_if<std::shared_ptr<Dictionary>>(&m_storage);
    return dictionary ? **dictionary : empty;
}

size_t Value::count() const
{
    if (isArray())
        return items().size();
    if (isDictionary())
        return entries().size();
    return 0;
}

const Value& Value::operator[](std::string_view key) const
{
    if (!isDictionary())
        return nilValue();
    auto& dictionary = entries();
    auto it = dictionary.find(key);
    return it == dictionary.end() ? nilValue() : it->second;
}

const Value& Value::operator[](size_t index) const
{
    auto& array = items();
    return index < array.size() ? array[index] : nilValue();
}

bool Value::contains(std::string_view key) const
{
    return isDictionary() && entries().find(key) != entries().end();
}

Value::Array* Value::mutableArray()
{
    if (isNil())
        m_storage = std::make_shared<Array>();
    auto* array = std::get_if<std::shared_ptr<Array>>(&m_storage);
    if (!array)
        return nullptr;
    if (array->use_count() > 1)
        *array = std::make_shared<Array>(**array);
    return array->get();
}

Value::Dictionary* Value::mutableDictionary()
{
    if (isNil())
        m_storage = std::make_shared<Dictionary>();
    auto* dictionary = std::get_if<std::shared_ptr<Dictionary>>(&m_storage);
    if (!dictionary)
        return nullptr;
    if (dictionary->use_count() > 1)
        *dictionary = std::make_shared<Dictionary>(**dictionary);
    return dictionary->get();
}

void Value::set(std::string_view key, Value value)
{
    if (auto* dictionary = mutableDictionary())
        dictionary->insert_or_assign(std::string(key), std::move(value));
}

void Value::remove(std::string_view key)
{
    if (!contains(key))
        return;
    auto* dictionary = mutableDictionary();
    dictionary->erase(dictionary->find(key));
}

void Value::append(Value value)
{
    if (auto* array = mutableArray())
        array->push_back(std::move(value));
}

bool Value::isPropertyList() const
{
    return holdsOnly(false);
}

bool Value::isPayload() const
{
    return holdsOnly(true);
}

bool Value::holdsOnly(bool nulls) const
{
    switch (kind()) {
    case Kind::Nil:
    case Kind::Object:
        return false;
    case Kind::Null:
        return nulls;
    case Kind::Array:
        for (auto& item : items()) {
            if (!item.holdsOnly(nulls))
                return false;
        }
        return true;
    case Kind::Dictionary:
        for (auto& [key, item] : entries()) {
            if (!item.holdsOnly(nulls))
                return false;
        }
        return true;
    default:
        return true;
    }
}

bool operator==(const Value& a, const Value& b)
{
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case Value::Kind::Data:
        return a.data() == b.data();
    case Value::Kind::Array:
        return a.items() == b.items();
    case Value::Kind::Dictionary:
        return a.entries() == b.entries();
    case Value::Kind::Object:
        return a.object() == b.object();
    default:
        return a.m_storage == b.m_storage;
    }
}

std::string describe(const Value& value)
{
    std::ostringstream out;
    switch (value.kind()) {
    case Value::Kind::Nil:
        out << "nil";
        break;
    case Value::Kind::Boolean:
        out << (value.boolean() ? "YES" : "NO");
        break;
    case Value::Kind::Integer:
        out << value.integer();
        break;
    case Value::Kind::Real:
        out << value.real();
        break;
    case Value::Kind::String:
        out << '"' << value.string() << '"';
        break;
    case Value::Kind::Data:
        out << "<" << value.data().size() << " bytes>";
        break;
    case Value::Kind::Date:
        out << "date(" << value.date().secondsSinceReferenceDate << ")";
        break;
    case Value::Kind::Array: {
        out << "(";
        const char* separator = "";
        for (auto& item : value.items()) {
            out << separator << describe(item);
            separator = ", ";
        }
        out << ")";
        break;
    }
    case Value::Kind::Dictionary: {
        out << "{";
        const char* separator = "";
        for (auto& [key, item] : value.entries()) {
            out << separator << key << " = " << describe(item);
            separator = "; ";
        }
        out << "}";
        break;
    }
    case Value::Kind::Object:
        out << "<" << value.object()->isa()->name() << ">";
        break;
    case Value::Kind::Null:
        out << "<null>";
        break;
    }
    return out.str();
}

} // namespace runtime
