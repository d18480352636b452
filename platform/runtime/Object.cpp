#include "platform/runtime/Object.h"

#include <algorithm>

#include "platform/runtime/Send.h"

namespace runtime {

Object::~Object() = default;

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
    Object* previous = nullptr;
    AssociationPolicy previousPolicy = AssociationPolicy::Assign;
    if (!m_associations)
        m_associations = std::make_unique<std::vector<Association>>();
    auto& list = *m_associations;
    auto it = std::find_if(list.begin(), list.end(), [key](auto& entry) { return entry.key == key; });
    if (it != list.end()) {
        previous = it->value;
        previousPolicy = it->policy;
        if (value)
            *it = { key, value, policy };
        else
            list.erase(it);
    } else if (value) {
        list.push_back({ key, value, policy });
    }
    // Released last, so that a dealloc it causes sees the new state.
    if (previous && previousPolicy == AssociationPolicy::Retain)
        previous->release();
}

void Object::beginDeallocation()
{
    m_state = State::Deallocating;
    if (m_weakControl) {
        m_weakControl->object = nullptr;
        if (m_weakControl->weakCount == 0)
            delete m_weakControl;
        m_weakControl = nullptr;
    }
    send(this, SEL("dealloc"));
}

void Object::releaseAssociations()
{
    if (!m_associations)
        return;
    auto list = std::move(*m_associations);
    m_associations.reset();
    for (auto& entry : list) {
        if (entry.policy == AssociationPolicy::Retain)
            entry.value->release();
    }
}

void Object::finishDeallocation()
{
    releaseAssociations();
    delete this;
}

} // namespace runtime
