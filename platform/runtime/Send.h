#pragma once

#include <type_traits>

#include "platform/runtime/Runtime.h"

namespace runtime {

[[noreturn]] void unrecognizedSelector(const Object* receiver, Selector);

namespace detail {

template<typename A>
CanonicalArg<A> toCanonical(A&& value)
{
    using D = std::remove_cvref_t<A>;
    if constexpr (IsRef<D>::value)
        return static_cast<Object*>(value.get());
    else
        return static_cast<CanonicalArg<A>>(std::forward<A>(value));
}

template<typename R, typename C>
R fromCanonicalResult(C&& value)
{
    if constexpr (IsRef<R>::value && !std::is_same_v<R, Ref<Object>>) {
        using E = typename IsRef<R>::Element;
        return Ref<E>(dynamic_cast<E*>(value.get()));
    } else {
        return static_cast<R>(std::forward<C>(value));
    }
}

template<typename R, typename... A>
R dispatch(Object* receiver, const Method* method, Selector selector, A&&... args)
{
    using CR = CanonicalResult<R>;
    if constexpr (std::is_void_v<R>)
        method->imp().template invoke<void, CanonicalArg<A>...>(receiver, selector, toCanonical(std::forward<A>(args))...);
    else
        return fromCanonicalResult<R>(
            method->imp().template invoke<CR, CanonicalArg<A>...>(receiver, selector, toCanonical(std::forward<A>(args))...));
}

} // namespace detail

// Sends a message: finds the method that answers `selector` for the
// receiver's class and calls it. A nil receiver does nothing and yields a
// zero value, as on the platform. An object that does not respond is a
// programming error and stops the program with a message naming both.
template<typename R = void, typename... A>
R send(Object* receiver, Selector selector, A&&... args)
{
    if (!receiver) {
        if constexpr (!std::is_void_v<R>)
            return R {};
        else
            return;
    }
    const Method* method = receiver->isa()->lookUpMethod(selector);
    if (!method) [[unlikely]]
        unrecognizedSelector(receiver, selector);
    return detail::dispatch<R>(receiver, method, selector, std::forward<A>(args)...);
}

template<typename R = void, typename... A>
R send(Object* receiver, std::string_view selector, A&&... args)
{
    return send<R>(receiver, Selector::named(selector), std::forward<A>(args)...);
}

template<typename R = void, typename T, typename... A>
R send(const Ref<T>& receiver, Selector selector, A&&... args)
{
    return send<R>(static_cast<Object*>(receiver.get()), selector, std::forward<A>(args)...);
}

template<typename R = void, typename T, typename... A>
R send(const Ref<T>& receiver, std::string_view selector, A&&... args)
{
    return send<R>(static_cast<Object*>(receiver.get()), Selector::named(selector), std::forward<A>(args)...);
}

// Sends only when the receiver responds; otherwise yields a zero value.
template<typename R = void, typename... A>
R sendIfResponds(Object* receiver, Selector selector, A&&... args)
{
    if (!receiver || !receiver->isa()->respondsToSelector(selector)) {
        if constexpr (!std::is_void_v<R>)
            return R {};
        else
            return;
    }
    return send<R>(receiver, selector, std::forward<A>(args)...);
}

bool respondsToSelector(const Object*, Selector);

template<typename R, typename... A>
R Imp::operator()(Object* self, Selector selector, A&&... args) const
{
    using CR = CanonicalResult<R>;
    if constexpr (std::is_void_v<R>)
        invoke<void, CanonicalArg<A>...>(self, selector, detail::toCanonical(std::forward<A>(args))...);
    else
        return detail::fromCanonicalResult<R>(
            invoke<CR, CanonicalArg<A>...>(self, selector, detail::toCanonical(std::forward<A>(args))...));
}

// Allocates and initialises an instance with `init`: [[cls alloc] init].
Ref<Object> alloc(Class*);
Ref<Object> newObject(Class*);

} // namespace runtime
