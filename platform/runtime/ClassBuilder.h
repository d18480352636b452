#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/runtime/Imp.h"
#include "platform/runtime/Send.h"
#include "platform/runtime/Value.h"

namespace runtime {

namespace detail {

    template <typename T> struct IsWeakRef : std::false_type {
    };
    template <typename T> struct IsWeakRef<runtime::WeakRef<T>> : std::true_type {
        using Element = T;
    };

} // namespace detail

// Defines one run-time class and its methods in a process's run time. Every
// method goes into the class's method list, so a plug-in can replace it.
class ClassBuilder {
public:
    ClassBuilder(runtime::Runtime& runtime, runtime::Class& cls)
        : m_runtime(&runtime)
        , m_class(&cls)
    {
    }

    // A new class whose instances are the C++ type T.
    template <typename T>
    static ClassBuilder define(runtime::Runtime& runtime, std::string name, std::string_view superclassName)
    {
        return ClassBuilder(runtime, runtime.defineClass<T>(std::move(name), superclassName));
    }

    runtime::Class& cls() const { return *m_class; }

    ClassBuilder& method(std::string_view selector, runtime::Imp imp)
    {
        m_runtime->define(*m_class, runtime::Selector::named(selector), std::move(imp));
        return *this;
    }
    ClassBuilder& classMethod(std::string_view selector, runtime::Imp imp)
    {
        m_runtime->defineClassMethod(*m_class, runtime::Selector::named(selector), std::move(imp));
        return *this;
    }

    // A getter for a C++ member, and a setter unless `setter` is empty.
    // Objects are answered as owned references and stored as the member's
    // type; an object of another kind is stored as nil.
    template <typename C, typename T>
    ClassBuilder& property(std::string_view getter, std::string_view setter, T C::*member)
    {
        method(getter, getterFor(member));
        if (!setter.empty())
            method(setter, setterFor(member));
        return *this;
    }

    // A property read and written through the class's own accessors. The run
    // time converts at the boundary: an object argument arrives as the
    // setter's parameter type (nil when it is of another kind) and an object
    // answered goes back as an object, so neither needs a hand-written cast.
    template <typename C, typename G, typename S>
    ClassBuilder& property(std::string_view getter, std::string_view setter, G (C::*get)() const, void (C::*set)(S))
    {
        method(getter, runtime::Imp::of(get));
        method(setter, runtime::Imp::of(set));
        return *this;
    }

    // An instance variable found by name, as the platform's ivar list.
    template <typename C, typename T> ClassBuilder& ivar(std::string name, T C::*member)
    {
        m_class->addIvar(std::move(name), member);
        return *this;
    }

private:
    template <typename C, typename T> static runtime::Imp getterFor(T C::*member)
    {
        if constexpr (detail::IsRef<T>::value) {
            return runtime::Imp::of([member](C* self, runtime::Selector) -> runtime::Ref<runtime::Object> {
                return runtime::Ref<runtime::Object>(self->*member);
            });
        } else if constexpr (detail::IsWeakRef<T>::value) {
            return runtime::Imp::of([member](C* self, runtime::Selector) -> runtime::Ref<runtime::Object> {
                return runtime::Ref<runtime::Object>((self->*member).get());
            });
        } else {
            return runtime::Imp::of([member](C* self, runtime::Selector) -> T { return self->*member; });
        }
    }

    template <typename C, typename T> static runtime::Imp setterFor(T C::*member)
    {
        if constexpr (detail::IsRef<T>::value || detail::IsWeakRef<T>::value) {
            using Element =
                typename std::conditional_t<detail::IsRef<T>::value, detail::IsRef<T>, detail::IsWeakRef<T>>::Element;
            return runtime::Imp::of([member](C* self, runtime::Selector, runtime::Object* value) {
                self->*member = T(detail::objectAs<Element>(value));
            });
        } else {
            return runtime::Imp::of(
                [member](C* self, runtime::Selector, T value) { self->*member = std::move(value); });
        }
    }

    runtime::Runtime* m_runtime;
    runtime::Class* m_class;
};

// Sends a message to the superclass of `definingClass`, the class whose
// method is running: the platform's [super ...]. Without a superclass method
// it yields a zero value.
template <typename R = void, typename... A>
R sendSuper(const runtime::Class& definingClass, runtime::Object* self, runtime::Selector selector, A&&... args)
{
    const runtime::Class* superclass = definingClass.superclass();
    const runtime::Method* method = superclass ? superclass->lookUpMethod(selector) : nullptr;
    if (!method) {
        if constexpr (!std::is_void_v<R>)
            return R {};
        else
            return;
    }
    return method->imp().template operator()<R>(self, selector, std::forward<A>(args)...);
}

// A new instance of the class named `className`, initialised with `init`, as
// the C++ type T; nil when the class is missing or its instances are not Ts.
template <typename T> runtime::Ref<T> instantiate(runtime::Runtime& runtime, std::string_view className)
{
    runtime::Class* cls = runtime.classNamed(className);
    if (!cls)
        return nullptr;
    return runtime::Ref<T>(dynamic_cast<T*>(runtime::newObject(cls).get()));
}

} // namespace runtime
