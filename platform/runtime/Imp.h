#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "platform/runtime/Types.h"

namespace runtime {

[[noreturn]] void signatureMismatch(Selector, std::string_view methodSignature, std::string_view callSignature);

namespace detail {

    template <typename T> struct IsRef : std::false_type {
    };
    template <typename T> struct IsRef<Ref<T>> : std::true_type {
        using Element = T;
    };

    template <typename T> T* objectAs(Object* object)
    {
        if constexpr (std::is_same_v<T, Object>)
            return object;
        else
            return dynamic_cast<T*>(object);
    }

    // Turns a canonical argument into the type the method declared. It lives for
    // the whole call, so a declared `const Value&` may refer into it.
    template <typename Declared, typename C> struct Argument {
        C& canonical;

        decltype(auto) get()
        {
            using D = std::remove_cvref_t<Declared>;
            if constexpr (std::is_arithmetic_v<D>)
                return static_cast<D>(canonical);
            else
                return std::move(canonical);
        }
    };

    template <typename Declared> struct Argument<Declared, Id> {
        Id& canonical;
        std::optional<Value> boxed {};

        decltype(auto) get()
        {
            using D = std::remove_cvref_t<Declared>;
            if constexpr (IsRef<D>::value) {
                return Ref<typename IsRef<D>::Element>(
                    objectAs<typename IsRef<D>::Element>(canonical.resolvedObject()));
            } else if constexpr (std::is_pointer_v<D>) {
                return objectAs<std::remove_pointer_t<D>>(canonical.resolvedObject());
            } else {
                static_assert(std::is_same_v<D, Value>, "an argument of type @ is an object or a Value");
                if (canonical.value)
                    return static_cast<const Value&>(*canonical.value);
                boxed.emplace(canonical.object);
                return static_cast<const Value&>(*boxed);
            }
        }
    };

    // Converts what a method returned to its canonical result.
    template <typename Declared> CanonicalResult<Declared> toCanonicalResult(Declared&& value)
    {
        using D = std::remove_cvref_t<Declared>;
        using C = CanonicalResult<D>;
        if constexpr (IsRef<D>::value)
            return Value(Ref<Object>(std::move(value)));
        else if constexpr (std::is_pointer_v<D> && isIdType<D>)
            return Value(static_cast<Object*>(value));
        else
            return static_cast<C>(std::forward<Declared>(value));
    }

    template <typename F> struct CallableTraits : CallableTraits<decltype(&F::operator())> {
    };

    // Lambdas: (Self* self, Selector, Args...) -> R
    template <typename L, typename R, typename Self, typename... Args>
    struct CallableTraits<R (L::*)(Self*, Selector, Args...) const> {
        using Result = R;
        using SelfType = Self;
        using Arguments = std::tuple<Args...>;
    };
    template <typename L, typename R, typename Self, typename... Args>
    struct CallableTraits<R (L::*)(Self*, Selector, Args...)>
        : CallableTraits<R (L::*)(Self*, Selector, Args...) const> {
    };

} // namespace detail

// A method implementation: a callable taking the receiver, the selector and
// the arguments. Implementations are values; copying one shares its code and
// captured state. An empty implementation answers every call with a zero value.
class Imp {
public:
    Imp() = default;

    // From a lambda `(Self* self, Selector sel, Args...) -> R`, Self being the
    // C++ type of the receivers (any subclass of Object).
    template <typename F> static Imp of(F function)
    {
        using Traits = detail::CallableTraits<F>;
        return fromCallable<F, typename Traits::Result, typename Traits::SelfType>(
            std::move(function), static_cast<typename Traits::Arguments*>(nullptr));
    }

    // From a member function of the receiver's C++ type.
    template <typename C, typename R, typename... Args> static Imp of(R (C::*member)(Args...))
    {
        return of(
            [member](C* self, Selector, Args... args) -> R { return (self->*member)(std::forward<Args>(args)...); });
    }
    template <typename C, typename R, typename... Args> static Imp of(R (C::*member)(Args...) const)
    {
        return of(
            [member](C* self, Selector, Args... args) -> R { return (self->*member)(std::forward<Args>(args)...); });
    }

    explicit operator bool() const { return m_function != nullptr; }
    size_t signature() const { return m_signature; }
    std::string_view signatureName() const { return m_signatureName; }
    // The platform's type encoding of the implementation, such as "v@:@".
    const std::string& encoding() const { return m_encoding; }

    // Calls with canonical argument types; the types must match the method's.
    template <typename R, typename... Args> R invoke(Object* self, Selector selector, Args... args) const
    {
        // The empty implementation has signature zero, so one comparison
        // covers both it and a mismatch.
        if (m_signature != signatureOf<R, Args...>()) [[unlikely]] {
            if (!m_function) {
                if constexpr (!std::is_void_v<R>)
                    return R {};
                else
                    return;
            }
            signatureMismatch(selector, m_signatureName, signatureNameOf<R, Args...>());
        }
        auto function = reinterpret_cast<R (*)(const void*, Object*, Selector, Args...)>(m_function);
        return function(m_context.get(), self, selector, std::move(args)...);
    }

    // Calls an implementation saved by a hook, converting arguments as `send` does.
    template <typename R = void, typename... A> R operator()(Object* self, Selector selector, A&&... args) const;

private:
    template <typename F, typename R, typename Self, typename... Args>
    static Imp fromCallable(F function, std::tuple<Args...>*)
    {
        using CR = CanonicalResult<R>;
        Imp imp;
        auto context = std::make_shared<F>(std::move(function));
        imp.m_context = context;
        imp.m_signature = signatureOf<CR, CanonicalArg<Args>...>();
        imp.m_signatureName = signatureNameOf<CR, CanonicalArg<Args>...>();
        imp.m_encoding = encodingOf<CR, CanonicalArg<Args>...>();
        CR(*trampoline)
        (const void*, Object*, Selector, CanonicalArg<Args>...)
            = [](const void* context, Object* self, Selector selector, CanonicalArg<Args>... args) -> CR {
            auto& callable = *static_cast<const F*>(context);
            auto* receiver = static_cast<Self*>(self);
            if constexpr (std::is_void_v<R>)
                callable(receiver, selector, detail::Argument<Args, CanonicalArg<Args>> { args }.get()...);
            else
                return detail::toCanonicalResult<R>(
                    callable(receiver, selector, detail::Argument<Args, CanonicalArg<Args>> { args }.get()...));
        };
        imp.m_function = reinterpret_cast<void (*)()>(trampoline);
        return imp;
    }

    void (*m_function)() { nullptr };
    std::shared_ptr<const void> m_context;
    size_t m_signature { 0 };
    std::string_view m_signatureName;
    std::string m_encoding;
};

} // namespace runtime
