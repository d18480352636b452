#include "platform/preferences/Preferences.h"

#include <map>

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace preferences {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    // The preference objects of one process, one per domain; held weakly, so a
    // domain nobody uses any more has no object.
    struct PreferencesRegistry {
        explicit PreferencesRegistry(device::Process&) { }
        std::map<std::string, runtime::WeakRef<Preferences>> instances;
    };

} // namespace

Ref<Preferences> Preferences::forIdentifier(device::Process& process, const std::string& identifier)
{
    auto& registry = process.service<PreferencesRegistry>();
    if (auto existing = registry.instances[identifier].strong())
        return existing;
    auto* cls = process.runtime().classNamed("HBPreferences");
    if (!cls)
        return nullptr;
    auto instance = Ref<Preferences>::adopt(static_cast<Preferences*>(cls->createInstance()));
    instance->attach(process, identifier);
    registry.instances[identifier] = instance;
    return instance;
}

void Preferences::attach(device::Process& process, const std::string& identifier)
{
    m_process = &process;
    m_domain = std::make_unique<Domain>(process.device(), identifier);
    m_values = m_domain->read();
    process.device().distributedCenter().addObserver(
        process, this, SEL("_preferencesChanged:"), m_domain->changeNotificationName());
}

void Preferences::registerBool(bool* variable, bool defaultValue, const std::string& key)
{
    m_registrations.push_back({ key, variable, nullptr, defaultValue ? 1 : 0 });
    update(m_registrations.back(), m_values);
}

void Preferences::registerInteger(int64_t* variable, int64_t defaultValue, const std::string& key)
{
    m_registrations.push_back({ key, nullptr, variable, defaultValue });
    update(m_registrations.back(), m_values);
}

void Preferences::update(const Registration& registration, const Value& values) const
{
    const Value& stored = values[registration.key];
    // Numbers and booleans convert into each other; anything else is the wrong type.
    bool usable = stored.isNumber();
    if (registration.boolean)
        *registration.boolean = usable ? stored.boolean() : registration.defaultValue != 0;
    if (registration.integer)
        *registration.integer = usable ? stored.integer() : registration.defaultValue;
}

Value Preferences::defaultFor(const std::string& key) const
{
    for (auto& registration : m_registrations) {
        if (registration.key != key)
            continue;
        if (registration.boolean)
            return Value(registration.defaultValue != 0);
        return Value(registration.defaultValue);
    }
    return {};
}

Value Preferences::objectForKey(const std::string& key) const
{
    const Value& stored = m_values[key];
    return stored.isNil() ? defaultFor(key) : stored;
}

foundation::Result<void> Preferences::setObject(const Value& value, const std::string& key)
{
    if (!m_domain)
        return foundation::Error { "the preference object has no domain" };
    auto stored = m_domain->set(key, value);
    reload();
    return stored;
}

foundation::Result<void> Preferences::removeAllObjects()
{
    if (!m_domain)
        return foundation::Error { "the preference object has no domain" };
    auto removed = m_domain->removeAll();
    reload();
    return removed;
}

void Preferences::reload()
{
    if (!m_domain)
        return;
    m_values = m_domain->read();
    for (auto& registration : m_registrations)
        update(registration, m_values);
}

void Preferences::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("HBPreferences"))
        return;
    ClassBuilder::define<Preferences>(runtime, "HBPreferences", "NSObject")
        // An instance per domain and process: initialising another one answers
        // the existing instance, as the preference library does.
        .method("initWithIdentifier:",
            runtime::Imp::of([&process](Preferences*, Selector, const Value& identifier) -> Ref<Preferences> {
                if (!identifier.isString() || identifier.string().empty())
                    return nullptr;
                return Preferences::forIdentifier(process, identifier.string());
            }))
        .method("registerBool:default:forKey:",
            runtime::Imp::of([](Preferences* self, Selector, bool* variable, bool defaultValue, const Value& key) {
                if (variable && key.isString())
                    self->registerBool(variable, defaultValue, key.string());
            }))
        .method("registerInteger:default:forKey:",
            runtime::Imp::of(
                [](Preferences* self, Selector, int64_t* variable, int64_t defaultValue, const Value& key) {
                    if (variable && key.isString())
                        self->registerInteger(variable, defaultValue, key.string());
                }))
        .method("objectForKey:", runtime::Imp::of([](Preferences* self, Selector, const Value& key) {
            return self->objectForKey(key.string());
        }))
        .method("setObject:forKey:",
            runtime::Imp::of([](Preferences* self, Selector, const Value& value, const Value& key) {
                if (key.isString())
                    (void)self->setObject(value, key.string());
            }))
        .method(
            "removeAllObjects", runtime::Imp::of([](Preferences* self, Selector) { (void)self->removeAllObjects(); }))
        .method("_preferencesChanged:", runtime::Imp::of([](Preferences* self, Selector, Object*) { self->reload(); }));
}

void defineClasses(device::Process& process)
{
    Preferences::registerClass(process);
}

} // namespace preferences
