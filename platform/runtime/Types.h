#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "platform/runtime/Object.h"
#include "platform/runtime/Selector.h"

namespace runtime {

// A block argument, such as a completion handler.
template<typename Signature>
using Block = std::function<Signature>;

// Messages carry a small set of canonical C++ types, so that a call site and a
// method agree on the calling convention whatever spelling each one used:
// any signed integer travels as int64_t (NSInteger), any unsigned one as
// uint64_t, floating point as double, object pointers and references as a
// borrowed Object* and object results as a Ref<Object>. Other types travel as
// they are; a header defining such a type may specialise these traits.
template<typename T, typename = void>
struct Canonical {
    using Type = T;
};
template<>
struct Canonical<bool> {
    using Type = bool;
};
template<typename T>
struct Canonical<T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, bool>>> {
    using Type = int64_t;
};
template<typename T>
struct Canonical<T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>>> {
    using Type = uint64_t;
};
template<typename T>
struct Canonical<T, std::enable_if_t<std::is_floating_point_v<T>>> {
    using Type = double;
};
template<typename T>
struct Canonical<T*, std::enable_if_t<std::is_base_of_v<Object, T>>> {
    using Type = Object*;
};
template<typename T>
struct Canonical<Ref<T>> {
    using Type = Object*;
};
template<>
struct Canonical<std::nullptr_t> {
    using Type = Object*;
};

template<typename T>
using CanonicalArg = typename Canonical<std::remove_cvref_t<T>>::Type;

// Results: objects come back owned.
template<typename T>
struct CanonicalResultOf {
    using Type = CanonicalArg<T>;
};
template<>
struct CanonicalResultOf<void> {
    using Type = void;
};
template<typename T>
struct CanonicalResultOf<Ref<T>> {
    using Type = Ref<Object>;
};
template<typename T>
struct CanonicalResultOf<T*> {
    using Type = std::conditional_t<std::is_base_of_v<Object, T>, Ref<Object>, T*>;
};
template<typename T>
using CanonicalResult = typename CanonicalResultOf<std::remove_cvref_t<T>>::Type;

// The platform's type-encoding letter(s) for a canonical type.
template<typename T>
struct Encoding;
template<>
struct Encoding<void> {
    static constexpr const char* value = "v";
};
template<>
struct Encoding<bool> {
    static constexpr const char* value = "B";
};
template<>
struct Encoding<int64_t> {
    static constexpr const char* value = "q";
};
template<>
struct Encoding<uint64_t> {
    static constexpr const char* value = "Q";
};
template<>
struct Encoding<double> {
    static constexpr const char* value = "d";
};
template<>
struct Encoding<Object*> {
    static constexpr const char* value = "@";
};
template<>
struct Encoding<Ref<Object>> {
    static constexpr const char* value = "@";
};
template<>
struct Encoding<Selector> {
    static constexpr const char* value = ":";
};
template<>
struct Encoding<bool*> {
    static constexpr const char* value = "^B";
};
template<>
struct Encoding<int64_t*> {
    static constexpr const char* value = "^q";
};
template<typename Signature>
struct Encoding<Block<Signature>> {
    static constexpr const char* value = "@?";
};

// "v@:@B" for a method taking an object and a BOOL and returning nothing.
template<typename R, typename... Args>
std::string encodingOf()
{
    std::string result = Encoding<R>::value;
    result += "@:";
    ((result += Encoding<Args>::value), ...);
    return result;
}

// Identifies a canonical signature. typeid names are the mangled type, so the
// hash agrees across every shared object loaded into the program.
template<typename R, typename... Args>
size_t signatureOf()
{
    static const size_t hash = typeid(R(Args...)).hash_code();
    return hash;
}

template<typename R, typename... Args>
const char* signatureNameOf()
{
    return typeid(R(Args...)).name();
}

} // namespace runtime
