#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "platform/runtime/Forward.h"

namespace runtime {

// A strong (owning) reference to a run-time object. Copying retains,
// destruction releases; the last release sends `dealloc` through the run time.
template <typename T> class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) { }
    Ref(T* object)
        : m_ptr(object)
    {
        retainIfSet();
    }
    Ref(const Ref& other)
        : m_ptr(other.m_ptr)
    {
        retainIfSet();
    }
    Ref(Ref&& other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    {
    }
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other)
        : m_ptr(other.get())
    {
        retainIfSet();
    }
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other) noexcept
        : m_ptr(other.leak())
    {
    }
    ~Ref() { releaseIfSet(); }

    Ref& operator=(Ref other) noexcept
    {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }

    // Takes over a reference that the caller already owns (the +1 of a fresh object).
    static Ref adopt(T* object)
    {
        Ref ref;
        ref.m_ptr = object;
        return ref;
    }
    // Gives up ownership without releasing.
    T* leak() { return std::exchange(m_ptr, nullptr); }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T& operator*() const { return *m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    operator T*() const { return m_ptr; }
    friend bool operator==(const Ref& a, const Ref& b) { return a.m_ptr == b.m_ptr; }
    friend bool operator==(const Ref& a, std::nullptr_t) { return a.m_ptr == nullptr; }
    friend bool operator==(const Ref& a, const T* b) { return a.m_ptr == b; }

private:
    void retainIfSet();
    void releaseIfSet();

    T* m_ptr { nullptr };
};

// A weak (non-owning) reference: it reads nil once its object has started to
// deallocate.
template <typename T> class WeakRef {
public:
    WeakRef() = default;
    WeakRef(T* object);
    WeakRef(const Ref<T>& object)
        : WeakRef(object.get())
    {
    }
    WeakRef(const WeakRef& other);
    WeakRef(WeakRef&& other) noexcept
        : m_control(std::exchange(other.m_control, nullptr))
    {
    }
    WeakRef& operator=(WeakRef other) noexcept
    {
        std::swap(m_control, other.m_control);
        return *this;
    }
    ~WeakRef();

    // The object while it is alive, nil afterwards.
    T* get() const;
    Ref<T> strong() const { return Ref<T>(get()); }
    explicit operator bool() const { return get() != nullptr; }

private:
    struct WeakControl* m_control { nullptr };
};

} // namespace runtime
