#pragma once

#include <type_traits>

#include "platform/runtime/Runtime.h"

namespace runtime {

[[noreturn]] void unrecognizedSelector(const Object* receiver, Selector);

namespace detail {

    template <typename A>
    inline constexpr bool isObjectLike
        = std::is_null_pointer_v<std::remove_cvref_t<A>> || IsRef<std::remove_cvref_t<A>>::value
        || (std::is_pointer_v<
                std::remove_cvref_t<A>> && std::is_base_of_v<Object, std::remove_pointer_t<std::remove_cvref_t<A>>>);

    template <typename A>
    inline constexpr bool isValueLvalue = std::is_lvalue_reference_v<A>&& std::is_same_v<std::remove_cvref_t<A>, Value>;

    // Carries one argument of a message to the method in its canonical form,
    // keeping alive whatever the canonical form borrows (a string made into a
    // Value, say) until the method has returned.
    template <typename A, typename = void> struct Carrier {
        using Canonical = CanonicalArg<A>;
        Canonical value;
        explicit Carrier(A&& argument)
            : value(static_cast<Canonical>(std::forward<A>(argument)))
        {
        }
        Canonical get() { return std::move(value); }
    };

    template <typename A> struct Carrier<A, std::enable_if_t<isObjectLike<A>>> {
        using Canonical = Id;
        Object* object;
        explicit Carrier(A&& argument)
        {
            using D = std::remove_cvref_t<A>;
            if constexpr (IsRef<D>::value)
                object = argument.get();
            else
                object = argument;
        }
        Id get() { return { object, nullptr }; }
    };

    template <typename A> struct Carrier<A, std::enable_if_t<isValueLvalue<A>>> {
        using Canonical = Id;
        const Value& value;
        explicit Carrier(A&& argument)
            : value(argument)
        {
        }
        Id get() { return { nullptr, &value }; }
    };

    template <typename A> struct Carrier<A, std::enable_if_t<isIdType<A> && !isObjectLike<A> && !isValueLvalue<A>>> {
        using Canonical = Id;
        Value value;
        explicit Carrier(A&& argument)
            : value(std::forward<A>(argument))
        {
        }
        Id get() { return { nullptr, &value }; }
    };

    template <typename R> R fromCanonicalResult(CanonicalResult<R>&& value)
    {
        if constexpr (IsRef<R>::value) {
            return R(objectAs<typename IsRef<R>::Element>(value.object()));
        } else {
            static_assert(!(std::is_pointer_v<R> && isIdType<R>),
                "an object result is owned: ask for a Ref<T> or a Value, not a raw pointer");
            return static_cast<R>(std::move(value));
        }
    }

    template <typename R, typename... C>
    R invokeCarried(const Imp& imp, Object* receiver, Selector selector, C&&... carriers)
    {
        using CR = CanonicalResult<R>;
        if constexpr (std::is_void_v<R>)
            imp.template invoke<void, typename std::remove_cvref_t<C>::Canonical...>(
                receiver, selector, carriers.get()...);
        else
            return fromCanonicalResult<R>(imp.template invoke<CR, typename std::remove_cvref_t<C>::Canonical...>(
                receiver, selector, carriers.get()...));
    }

    template <typename R, typename... A>
    R dispatch(Object* receiver, const Method* method, Selector selector, A&&... args)
    {
        return invokeCarried<R>(method->imp(), receiver, selector, Carrier<A>(std::forward<A>(args))...);
    }

    // A message whose method the receiver's class has not cached: looks it up,
    // fills the cache and stops on an unrecognized selector. Kept out of line so
    // that the cached path stays a handful of instructions with nothing to save.
    template <typename R, typename... A>
    [[gnu::noinline]] R sendUncached(Object* receiver, Selector selector, A&&... args)
    {
        const Method* method = receiver->isa()->lookUpMethod(selector);
        if (!method) [[unlikely]]
            unrecognizedSelector(receiver, selector);
        return dispatch<R>(receiver, method, selector, std::forward<A>(args)...);
    }

} // namespace detail

// Sends a message: finds the method that answers `selector` for the
// receiver's class and calls it. A nil receiver does nothing and yields a
// zero value, as on the platform. An object that does not respond is a
// programming error and stops the program with a message naming both.
template <typename R = void, typename... A> R send(Object* receiver, Selector selector, A&&... args)
{
    if (!receiver) {
        if constexpr (!std::is_void_v<R>)
            return R {};
        else
            return;
    }
    const Method* method = receiver->isa()->cachedMethod(selector);
    if (!method) [[unlikely]]
        return detail::sendUncached<R>(receiver, selector, std::forward<A>(args)...);
    return detail::dispatch<R>(receiver, method, selector, std::forward<A>(args)...);
}

template <typename R = void, typename... A> R send(Object* receiver, std::string_view selector, A&&... args)
{
    return send<R>(receiver, Selector::named(selector), std::forward<A>(args)...);
}

template <typename R = void, typename T, typename... A> R send(const Ref<T>& receiver, Selector selector, A&&... args)
{
    return send<R>(static_cast<Object*>(receiver.get()), selector, std::forward<A>(args)...);
}

template <typename R = void, typename T, typename... A>
R send(const Ref<T>& receiver, std::string_view selector, A&&... args)
{
    return send<R>(static_cast<Object*>(receiver.get()), Selector::named(selector), std::forward<A>(args)...);
}

// Sends only when the receiver responds; otherwise yields a zero value.
template <typename R = void, typename... A> R sendIfResponds(Object* receiver, Selector selector, A&&... args)
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

template <typename R, typename... A> R Imp::operator()(Object* self, Selector selector, A&&... args) const
{
    return detail::invokeCarried<R>(*this, self, selector, detail::Carrier<A>(std::forward<A>(args))...);
}

// [cls alloc], and [[cls alloc] init].
Ref<Object> alloc(Class*);
Ref<Object> newObject(Class*);

} // namespace runtime
