#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

#include "platform/foundation/Notification.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // Names arrive in messages as Values: nil means any name; a non-string names nothing.
    std::optional<std::optional<std::string>> nameFilter(const Value& name)
    {
        if (name.isNil())
            return std::optional<std::string>();
        if (name.isString())
            return std::optional<std::string>(name.string());
        return std::nullopt;
    }

} // namespace

void NotificationCenter::addObserver(
    Object* observer, Selector selector, std::optional<std::string> name, Object* object)
{
    if (!observer || selector.isNull())
        return;
    prune();
    m_registrations.push_back(
        std::make_unique<Registration>(Registration { observer, observer, selector, std::move(name), object, object }));
}

void NotificationCenter::removeObserver(Object* observer)
{
    removeObserver(observer, std::nullopt, nullptr);
}

void NotificationCenter::removeObserver(Object* observer, const std::optional<std::string>& name, Object* object)
{
    if (!observer)
        return;
    for (auto& registration : m_registrations) {
        if (registration->observerIdentity == observer && (!name || registration->name == name)
            && (!object || registration->objectIdentity == object))
            registration->removed = true;
    }
    // A posting under way must keep its positions; it sees the marks.
    if (m_postingDepth == 0)
        std::erase_if(m_registrations, [](const auto& registration) { return registration->removed; });
    else
        m_removedWhilePosting = true;
}

bool NotificationCenter::matches(const Registration& registration, const std::string& name, Object* object)
{
    if (registration.removed || (registration.name && *registration.name != name))
        return false;
    return !registration.objectIdentity || (object && registration.object.get() == object);
}

bool NotificationCenter::isStale(const Registration& registration) const
{
    return registration.removed || !registration.observer.get()
        || (registration.objectIdentity && !registration.object.get());
}

void NotificationCenter::prune()
{
    if (m_postingDepth > 0 || m_registrations.size() < 2 * m_sizeAfterPruning)
        return;
    std::erase_if(m_registrations, [this](const auto& registration) { return isStale(*registration); });
    m_sizeAfterPruning = std::max<size_t>(m_registrations.size(), 16);
}

void NotificationCenter::postNotification(Object* notification)
{
    if (!notification)
        return;
    auto name = runtime::send<Value>(notification, SEL("name"));
    if (!name.isString())
        return;
    auto object = runtime::send<Ref<Object>>(notification, SEL("object"));
    // An observer may release the last reference to this center or to the notification.
    Ref<Object> keepCenter(this);
    Ref<Object> keepNotification(notification);
    size_t count = m_registrations.size();
    ++m_postingDepth;
    for (size_t i = 0; i < count; ++i) {
        const Registration& registration = *m_registrations[i];
        if (!matches(registration, name.string(), object.get()))
            continue;
        if (auto observer = registration.observer.strong())
            runtime::send(observer.get(), registration.selector, notification);
    }
    if (--m_postingDepth == 0 && m_removedWhilePosting) {
        m_removedWhilePosting = false;
        std::erase_if(m_registrations, [](const auto& registration) { return registration->removed; });
    }
    prune();
}

void NotificationCenter::post(std::string name, Object* object, Value userInfo)
{
    auto notification = makeNotification(isa()->runtime(), std::move(name), object, std::move(userInfo));
    postNotification(notification.get());
}

size_t NotificationCenter::observerCount() const
{
    return std::count_if(m_registrations.begin(), m_registrations.end(),
        [this](const auto& registration) { return !isStale(*registration); });
}

void NotificationCenter::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSNotificationCenter"))
        return;
    auto builder = ClassBuilder::define<NotificationCenter>(runtime, "NSNotificationCenter", "NSObject");
    builder
        .method("addObserver:selector:name:object:",
            Imp::of([](NotificationCenter* self, Selector, Object* observer, Selector selector, Value name,
                        Object* object) {
                if (auto filter = nameFilter(name))
                    self->addObserver(observer, selector, std::move(*filter), object);
            }))
        .method("removeObserver:",
            Imp::of([](NotificationCenter* self, Selector, Object* observer) { self->removeObserver(observer); }))
        .method("removeObserver:name:object:",
            Imp::of([](NotificationCenter* self, Selector, Object* observer, Value name, Object* object) {
                if (auto filter = nameFilter(name))
                    self->removeObserver(observer, *filter, object);
            }))
        .method("postNotification:", Imp::of([](NotificationCenter* self, Selector, Object* notification) {
            self->postNotification(notification);
        }))
        .method("postNotificationName:object:userInfo:",
            Imp::of([](NotificationCenter* self, Selector, Value name, Object* object, Value userInfo) {
                if (name.isString())
                    self->post(name.string(), object, std::move(userInfo));
            }))
        .method(
            "postNotificationName:object:", Imp::of([](NotificationCenter* self, Selector, Value name, Object* object) {
                runtime::send(self, SEL("postNotificationName:object:userInfo:"), std::move(name), object, Value());
            }));

    // Each run time (each process) has its own default center, owned by this method.
    Ref<Object> center = runtime::newObject(&builder.cls());
    builder.classMethod("defaultCenter", Imp::of([center](Class*, Selector) { return center; }));
}

NotificationCenter* defaultCenter(runtime::Runtime& runtime)
{
    auto center = runtime::send<Ref<Object>>(runtime.classNamed("NSNotificationCenter"), SEL("defaultCenter"));
    return dynamic_cast<NotificationCenter*>(center.get());
}

} // namespace foundation
