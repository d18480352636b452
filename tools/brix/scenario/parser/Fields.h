#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/foundation/Value.h"

#include "tools/brix/scenario/Scenario.h"

// The pieces the scenario parser is made of: the fields of one JSON object
// taken one by one, tables that say what each field of a section holds, and
// the readers of the sections (Sections.h).
namespace tools::scenario::parser {

// A refusal. The parser stops at the first fault in the file; the message
// names where it is ("step 3: notify.title") and what is wrong.
struct Invalid {
    std::string message;
};

[[noreturn]] void fail(std::string message);
std::string inQuotes(std::string_view text);
// "a string", "an array", ...: what a value is, for messages.
std::string kindOf(const Json& value);
// "where[index]".
std::string indexed(const std::string& where, size_t index);

// What a field holds. A value of another kind is refused with a message that
// says what it should have been.
enum class Kind {
    String,
    StringOrNull,
    Number, // finite
    Integer, // a whole number that fits in 64 bits
    Boolean,
    Any, // checked by whoever stores it
};

// The fields of one JSON object, taken one by one; whatever is left when the
// object is finished is a field this format does not have.
class Fields {
public:
    // `where` names the object in messages ("device", "step 3: notify").
    Fields(const Json& value, std::string where);

    const std::string& where() const { return m_where; }
    // A field's name in messages: "device.style".
    std::string name(std::string_view key) const;
    bool has(std::string_view key) const { return m_object->contains(key); }

    // The field, or null when absent; taken either way.
    const Json* take(std::string_view key);
    // The field when present and of the kind, refused when of another kind, null when absent.
    const Json* take(std::string_view key, Kind kind);

    std::optional<std::string> string(std::string_view key);
    std::optional<double> number(std::string_view key);
    std::optional<int64_t> integer(std::string_view key);
    std::optional<bool> boolean(std::string_view key);

    // Refuses the fields nobody took.
    void finish() const;

private:
    const Json* m_object;
    std::string m_where;
    std::set<std::string> m_taken;
};

// The parser's state: the scenario read so far and the folder its fixtures
// are looked for in.
struct Context {
    std::filesystem::path folder;
    Scenario scenario;

    // The fixture file a field names, resolved; refused when it does not exist
    // or lies outside the scenario's folder (the tool's own fixtures excepted).
    std::filesystem::path fixture(const std::string& relative, const std::string& name) const;
};

enum class Presence { Optional, Required };

// One row of a section's table: a field's key, what it holds, whether the
// section must have it, and how a value that passed those checks is stored
// (`name` is the field's name for further messages). An absent field is left
// alone; a required one is refused as missing, with `missing` when given.
template <class Target> struct Field {
    using Store = void (*)(Context&, Target&, const Json& value, const std::string& name);

    constexpr Field(std::string_view key, Kind kind, Store store, Presence presence = Presence::Optional,
        const char* missing = nullptr)
        : key(key)
        , kind(kind)
        , store(store)
        , presence(presence)
        , missing(missing)
    {
    }

    std::string_view key;
    Kind kind;
    Store store;
    Presence presence;
    const char* missing;
};

// Takes the table's fields from `fields` in the table's order, which is the
// order faults are found in.
template <class Target, size_t count>
void readFields(Context& context, Fields& fields, const Field<Target> (&table)[count], Target& target)
{
    for (auto& field : table) {
        auto name = fields.name(field.key);
        if (const Json* value = fields.take(field.key, field.kind))
            field.store(context, target, *value, name);
        else if (field.presence == Presence::Required)
            fail(field.missing ? std::string(field.missing) : name + " is missing");
    }
}

// A whole object read by a table: refused when it is not an object or has a
// field the table does not name.
template <class Target, size_t count>
void readObject(
    Context& context, const Json& json, const std::string& where, const Field<Target> (&table)[count], Target& target)
{
    Fields fields(json, where);
    readFields(context, fields, table, target);
    fields.finish();
}

namespace detail {
    template <class> struct Member;
    template <class C, class M> struct Member<M C::*> {
        using Class = C;
        using Type = M;
    };
    template <class T> struct Optional : std::false_type {
        using Type = T;
    };
    template <class T> struct Optional<std::optional<T>> : std::true_type {
        using Type = T;
    };
}

// The store of a field kept as it is written: a string, number, whole number
// or boolean, in a member of that type or an optional of it (which a null
// empties).
template <auto member>
void assign(Context&, typename detail::Member<decltype(member)>::Class& target, const Json& value, const std::string&)
{
    using Type = typename detail::Member<decltype(member)>::Type;
    using Stored = typename detail::Optional<Type>::Type;
    if constexpr (detail::Optional<Type>::value) {
        if (value.is_null()) {
            target.*member = std::nullopt;
            return;
        }
    }
    target.*member = static_cast<Stored>(value.get<Stored>());
}

// The store of a field naming a fixture: its resolved path (a null leaves the member alone).
template <auto member>
void assignFixture(Context& context, typename detail::Member<decltype(member)>::Class& target, const Json& value,
    const std::string& name)
{
    if (!value.is_null())
        target.*member = context.fixture(value.get<std::string>(), name);
}

// A JSON value as a property-list value. A user info, as a push payload
// does, may hold null (the null object); a property list has no place for one.
enum class Nulls { Refused, Allowed };
foundation::Value toValue(const Json& json, const std::string& name, Nulls nulls = Nulls::Refused);

} // namespace tools::scenario::parser
