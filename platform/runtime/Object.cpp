#include "platform/runtime/Object.h"

#include <algorithm>

#include "platform/runtime/Send.h"
#include "platform/runtime/Value.h"

namespace runtime {

Object::Object(Class* isa)
    : m_isa(isa)
{
    if (isa && !isa->isMetaclass()) {
        m_counted = true;
        ++isa->runtime().m_liveObjects;
    }
}

Object::~Object()
{
    if (m_counted)
        --m_isa->runtime().m_liveObjects;
    // Objects destroyed without `dealloc` (class objects, when their run time
    // goes) still leave their weak references reading nil.
    clearWeakReferences();
}

WeakControl* Object::weakControl()
{
    if (!m_weakControl)
        m_weakControl = new WeakControl { this, 0 };
    return m_weakControl;
}

void Object::setAssociatedObject(const void* key, Object* value, AssociationPolicy policy)
{
    if (value && policy == AssociationPolicy::Retain)
        value->retain();
    store(key, value, policy, nullptr);
}

void Object::setAssociatedValue(const void* key, const Value& value)
{
    if (value.isObject() || value.isNil()) {
        setAssociatedObject(key, value.object(), AssociationPolicy::Retain);
        return;
    }
    store(key, nullptr, AssociationPolicy::Retain, new Value(value));
}

Value Object::associatedValue(const void* key) const
{
    if (m_associations) {
        for (auto& entry : *m_associations) {
            if (entry.key == key)
                return entry.boxed ? *entry.boxed : Value(entry.value);
        }
    }
    return {};
}

void Object::store(const void* key, Object* value, AssociationPolicy policy, Value* boxed)
{
    Association previous { nullptr, nullptr, AssociationPolicy::Assign, nullptr };
    if (!m_associations)
        m_associations = std::make_unique<std::vector<Association>>();
    auto& list = *m_associations;
    auto it = std::find_if(list.begin(), list.end(), [key](auto& entry) { return entry.key == key; });
    if (it != list.end()) {
        previous = *it;
        if (value || boxed)
            *it = { key, value, policy, boxed };
        else
            list.erase(it);
    } else if (value || boxed) {
        list.push_back({ key, value, policy, boxed });
    }
    // Released last, so that a dealloc it causes sees the new state.
    delete previous.boxed;
    if (previous.value && previous.policy == AssociationPolicy::Retain)
        previous.value->release();
}

void Object::clearWeakReferences()
{
    if (!m_weakControl)
        return;
    m_weakControl->object = nullptr;
    if (m_weakControl->weakCount == 0)
        delete m_weakControl;
    m_weakControl = nullptr;
}

void Object::beginDeallocation()
{
    m_state = State::Deallocating;
    clearWeakReferences();
    send(this, SEL("dealloc"));
}

void Object::releaseAssociations()
{
    if (!m_associations)
        return;
    auto list = std::move(*m_associations);
    m_associations.reset();
    for (auto& entry : list) {
        delete entry.boxed;
        if (entry.value && entry.policy == AssociationPolicy::Retain)
            entry.value->release();
    }
}

void Object::finishDeallocation()
{
    // Releasing a value may run code that associates something new with this
    // object; that is released too, before the object goes.
    while (m_associations)
        releaseAssociations();
    delete this;
}

} // namespace runtime
