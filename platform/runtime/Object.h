#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/runtime/Ref.h"

namespace runtime {

class Value;

// How an associated value is held by its object.
enum class AssociationPolicy {
    Assign, // not retained; the caller keeps the value alive
    Retain, // retained until replaced or until the object goes
};

// The shared state of all weak references to one object.
struct WeakControl {
    Object* object { nullptr };
    uint32_t weakCount { 0 };
};

// The root of every run-time object. Its class pointer decides how messages
// are answered; its C++ type holds the instance variables.
class Object {
public:
    // Instances (not classes) count among their run time's live objects.
    explicit Object(Class* isa);
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    Class* isa() const { return m_isa; }
    // Changes the class of the object (the platform's object_setClass).
    void setIsa(Class* isa) { m_isa = isa; }

    void retain()
    {
        if (m_state == State::Alive)
            ++m_refCount;
    }
    void release()
    {
        if (m_state != State::Alive)
            return;
        if (--m_refCount == 0)
            beginDeallocation();
    }
    uint32_t retainCount() const { return m_refCount; }
    bool isDeallocating() const { return m_state == State::Deallocating; }

    // Associated values, keyed by the address of something unique to their user.
    Object* associatedObject(const void* key) const
    {
        if (!m_associations)
            return nullptr;
        for (auto& entry : *m_associations) {
            if (entry.key == key)
                return entry.value;
        }
        return nullptr;
    }
    // Stores `value` under `key`, releasing what was there; nil removes the entry.
    void setAssociatedObject(const void* key, Object* value, AssociationPolicy);

    // Any value of type "@" under `key`: an object is retained as by
    // setAssociatedObject, a string, number or collection is copied; nil
    // removes the entry. Reading answers nil when nothing is stored.
    Value associatedValue(const void* key) const;
    void setAssociatedValue(const void* key, const Value&);

    // Class objects live as long as their run time and ignore retain and release.
    void makeImmortal() { m_state = State::Immortal; }

    // Ends the object after `dealloc` has run through the run time: releases its
    // associated values and destroys it. Only the root `dealloc` calls this.
    void finishDeallocation();

    WeakControl* weakControl();

private:
    enum class State : uint8_t { Alive, Deallocating, Immortal };
    struct Association {
        const void* key;
        Object* value;
        AssociationPolicy policy;
        // A value that is not an object, owned by the entry.
        Value* boxed { nullptr };
    };
    void store(const void* key, Object* value, AssociationPolicy, Value* boxed);

    void beginDeallocation();
    void clearWeakReferences();
    void releaseAssociations();

    Class* m_isa;
    uint32_t m_refCount { 1 };
    State m_state { State::Alive };
    bool m_counted { false };
    std::unique_ptr<std::vector<Association>> m_associations;
    WeakControl* m_weakControl { nullptr };
};

template <typename T> void Ref<T>::retainIfSet()
{
    if (m_ptr)
        static_cast<Object*>(m_ptr)->retain();
}

template <typename T> void Ref<T>::releaseIfSet()
{
    if (m_ptr)
        static_cast<Object*>(m_ptr)->release();
}

template <typename T> WeakRef<T>::WeakRef(T* object)
{
    if (object && !static_cast<Object*>(object)->isDeallocating()) {
        m_control = static_cast<Object*>(object)->weakControl();
        ++m_control->weakCount;
    }
}

template <typename T>
WeakRef<T>::WeakRef(const WeakRef& other)
    : m_control(other.m_control)
{
    if (m_control)
        ++m_control->weakCount;
}

template <typename T> WeakRef<T>::~WeakRef()
{
    if (m_control && --m_control->weakCount == 0 && !m_control->object)
        delete m_control;
}

template <typename T> T* WeakRef<T>::get() const
{
    return m_control ? static_cast<T*>(m_control->object) : nullptr;
}

// A fresh object with one reference owned by the result.
template <typename T, typename... Args> Ref<T> make(Args&&... args)
{
    return Ref<T>::adopt(new T(std::forward<Args>(args)...));
}

} // namespace runtime
