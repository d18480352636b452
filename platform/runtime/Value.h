#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/runtime/Object.h"

namespace runtime {

// A point in time, in seconds since 2001-01-01 00:00:00 UTC (the platform's reference date).
struct Date {
    double secondsSinceReferenceDate { 0 };
    friend bool operator==(const Date&, const Date&) = default;
};

using Data = std::vector<uint8_t>;

// The one value type of the platform's collections: nil, a boolean, an
// integer, a real, a string (UTF-8), data, a date, an array, a dictionary, a
// run-time object, or the null object (the platform's NSNull singleton, which
// stands for "no value" inside a collection, where nil cannot be put; JSON's
// null). It is nil-safe: asking a value of the wrong kind for
// anything yields a nil, zero or empty answer, never an error, so
// `userInfo["aps"]["alert"]["body"]` is nil whenever any step is missing.
// Arrays and dictionaries share their storage until one copy is changed.
class Value {
public:
    using Array = std::vector<Value>;
    using Dictionary = std::map<std::string, Value, std::less<>>;

    enum class Kind { Nil, Boolean, Integer, Real, String, Data, Date, Array, Dictionary, Object, Null };

    Value() = default;
    Value(std::nullptr_t) { }
    Value(bool value)
        : m_storage(value)
    {
    }
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>>
    Value(T value)
        : m_storage(static_cast<int64_t>(value))
    {
    }
    Value(double value)
        : m_storage(value)
    {
    }
    // A null C string is nil.
    Value(const char* value)
    {
        if (value)
            m_storage = std::string(value);
    }
    Value(std::string value)
        : m_storage(std::move(value))
    {
    }
    Value(std::string_view value)
        : m_storage(std::string(value))
    {
    }
    Value(Data value)
        : m_storage(std::make_shared<runtime::Data>(std::move(value)))
    {
    }
    Value(Date value)
        : m_storage(value)
    {
    }
    Value(Array value)
        : m_storage(std::make_shared<Array>(std::move(value)))
    {
    }
    Value(Dictionary value)
        : m_storage(std::make_shared<Dictionary>(std::move(value)))
    {
    }
    Value(Object* object);
    template <typename T>
    Value(const Ref<T>& object)
        : Value(static_cast<Object*>(object.get()))
    {
    }

    static Value array() { return Value(Array {}); }
    static Value dictionary() { return Value(Dictionary {}); }
    // An array of the objects a container holds (references or pointers).
    template <typename Objects> static Value arrayOf(const Objects& objects)
    {
        Value result = array();
        for (const auto& object : objects)
            result.append(Value(object));
        return result;
    }
    // The null object: not nil, and of no other kind, so every reader that
    // asks for a kind sees a value of the wrong one.
    static Value null()
    {
        Value value;
        value.m_storage = NullObject {};
        return value;
    }

    Kind kind() const { return static_cast<Kind>(m_storage.index()); }
    bool isNil() const { return kind() == Kind::Nil; }
    bool isBoolean() const { return kind() == Kind::Boolean; }
    bool isInteger() const { return kind() == Kind::Integer; }
    bool isReal() const { return kind() == Kind::Real; }
    bool isNumber() const { return isBoolean() || isInteger() || isReal(); }
    bool isString() const { return kind() == Kind::String; }
    bool isData() const { return kind() == Kind::Data; }
    bool isDate() const { return kind() == Kind::Date; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isObject() const { return kind() == Kind::Object; }
    bool isNull() const { return kind() == Kind::Null; }
    // True for nil and for the empty string: the platform's "no text".
    bool isEmptyText() const { return isNil() || (isString() && string().empty()); }

    // Numbers convert between each other as the platform's boxed numbers do;
    // anything else reads as zero.
    bool boolean() const;
    int64_t integer() const;
    double real() const;
    // The string, or "" for anything that is not a string.
    const std::string& string() const;
    const runtime::Data& data() const;
    runtime::Date date() const;
    Object* object() const;
    const Array& items() const;
    const Dictionary& entries() const;

    // Number of items of an array, entries of a dictionary; 0 otherwise.
    size_t count() const;
    // Lookups that yield nil for a missing key or index, or a value of another kind.
    const Value& operator[](std::string_view key) const;
    const Value& operator[](size_t index) const;
    const Value& operator[](int index) const { return (*this)[static_cast<size_t>(index < 0 ? SIZE_MAX : index)]; }
    bool contains(std::string_view key) const;

    // Changes. A nil value turns into an empty collection of the kind asked
    // for; a value of another kind is left alone.
    void set(std::string_view key, Value);
    void remove(std::string_view key);
    void append(Value);

    // Property-list values hold no objects and no nulls, at any depth.
    bool isPropertyList() const;
    // Payloads (a user info on the distributed bus) are property-list values
    // that may hold nulls too.
    bool isPayload() const;

    friend bool operator==(const Value&, const Value&);

private:
    struct NullObject {
        friend bool operator==(NullObject, NullObject) { return true; }
    };
    using Storage = std::variant<std::monostate, bool, int64_t, double, std::string, std::shared_ptr<runtime::Data>,
        runtime::Date, std::shared_ptr<Array>, std::shared_ptr<Dictionary>, Ref<Object>, NullObject>;
    bool holdsOnly(bool nulls) const;

    Array* mutableArray();
    Dictionary* mutableDictionary();

    Storage m_storage;
};

std::string describe(const Value&);

} // namespace runtime
