#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>

#include "platform/runtime/Object.h"
#include "platform/runtime/Selector.h"
#include "platform/runtime/Value.h"

namespace runtime {

// A block argument, such as a completion handler.
template <typename Signature> using Block = std::function<Signature>;

// An argument of type "@": the platform's `id`, which is either a run-time
// object or a value (a string, number, date, data, array or dictionary). It
// borrows what it points at for the duration of one message.
struct Id {
    Object* object { nullptr };
    const Value* value { nullptr };

    // The object, whether given directly or inside a value.
    Object* resolvedObject() const { return object ? object : (value ? value->object() : nullptr); }
};

// Messages carry a small set of canonical C++ types, so that a call site and a
// method agree on the calling convention whatever spelling each one used:
// any signed integer travels as int64_t (NSInteger), any unsigned one as
// uint64_t, floating point as double, and everything the platform types "@"
// (object pointers and references, values, strings) as an Id; results of
// type "@" come back as an owned Value. Other types travel as they are; a
// header defining such a type may specialise these traits.
template <typename T, typename = void> struct Canonical {
    using Type = T;
};
template <> struct Canonical<bool> {
    using Type = bool;
};
template <typename T>
struct Canonical<T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, bool>>> {
    using Type = int64_t;
};
template <typename T>
struct Canonical<T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>>> {
    using Type = uint64_t;
};
template <typename T> struct Canonical<T, std::enable_if_t<std::is_floating_point_v<T>>> {
    using Type = double;
};
template <typename T> struct Canonical<T*, std::enable_if_t<std::is_base_of_v<Object, T>>> {
    using Type = Id;
};
template <typename T> struct Canonical<Ref<T>> {
    using Type = Id;
};
template <> struct Canonical<std::nullptr_t> {
    using Type = Id;
};
template <> struct Canonical<Value> {
    using Type = Id;
};
template <> struct Canonical<const char*> {
    using Type = Id;
};
template <> struct Canonical<char*> {
    using Type = Id;
};
template <std::size_t N> struct Canonical<char[N]> {
    using Type = Id;
};
template <> struct Canonical<std::string> {
    using Type = Id;
};
template <> struct Canonical<std::string_view> {
    using Type = Id;
};

template <typename T> using CanonicalArg = typename Canonical<std::remove_cvref_t<T>>::Type;

template <typename T> inline constexpr bool isIdType = std::is_same_v<CanonicalArg<T>, Id>;

// Results: everything of type "@" comes back as an owned Value.
template <typename T> struct CanonicalResultOf {
    using Type = std::conditional_t<isIdType<T>, Value, CanonicalArg<T>>;
};
template <> struct CanonicalResultOf<void> {
    using Type = void;
};
template <typename T> using CanonicalResult = typename CanonicalResultOf<std::remove_cvref_t<T>>::Type;

// The platform's type-encoding letter(s) for a canonical type.
template <typename T> struct Encoding;
template <> struct Encoding<void> {
    static constexpr const char* value = "v";
};
template <> struct Encoding<bool> {
    static constexpr const char* value = "B";
};
template <> struct Encoding<int64_t> {
    static constexpr const char* value = "q";
};
template <> struct Encoding<uint64_t> {
    static constexpr const char* value = "Q";
};
template <> struct Encoding<double> {
    static constexpr const char* value = "d";
};
template <> struct Encoding<Id> {
    static constexpr const char* value = "@";
};
template <> struct Encoding<Value> {
    static constexpr const char* value = "@";
};
template <> struct Encoding<Selector> {
    static constexpr const char* value = ":";
};
template <> struct Encoding<bool*> {
    static constexpr const char* value = "^B";
};
template <> struct Encoding<int64_t*> {
    static constexpr const char* value = "^q";
};
template <typename Signature> struct Encoding<Block<Signature>> {
    static constexpr const char* value = "@?";
};

// "v@:@B" for a method taking an object and a BOOL and returning nothing.
template <typename R, typename... Args> std::string encodingOf()
{
    std::string result = Encoding<R>::value;
    result += "@:";
    ((result += Encoding<Args>::value), ...);
    return result;
}

namespace detail {

    // The compiler's spelling of a type, known at compile time: "void(runtime::Object*)".
    template <typename T> constexpr std::string_view typeName()
    {
        std::string_view pretty = __PRETTY_FUNCTION__;
        size_t start = pretty.find("T = ") + 4;
        size_t end = pretty.find_first_of(";]", start);
        return pretty.substr(start, end - start);
    }

    constexpr uint64_t fnv1a(std::string_view text)
    {
        uint64_t hash = 14695981039346656037ull;
        for (char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        return hash;
    }

} // namespace detail

// Identifies a canonical signature. It is a hash of the signature's spelled-out
// name, so it agrees across every shared object loaded into the program, and a
// compile-time constant, so checking it costs one comparison per message. It
// is never zero: zero marks the empty implementation.
template <typename R, typename... Args> constexpr size_t signatureOf()
{
    constexpr size_t hash = detail::fnv1a(detail::typeName<R(Args...)>()) | 1;
    return hash;
}

template <typename R, typename... Args> constexpr std::string_view signatureNameOf()
{
    return detail::typeName<R(Args...)>();
}

} // namespace runtime
