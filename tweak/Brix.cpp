#include "tweak/Brix.h"

#include "platform/device/PluginLoader.h"
#include "platform/foundation/Value.h"

#include "tweak/HookTable.h"
#include "tweak/pfp/PictureProviders.h"
#include "tweak/view/ViewClasses.h"

namespace brix {

using runtime::Object;
using runtime::Ref;

Brix::Brix(device::Process& process)
    : m_process(&process)
{
}

void Brix::start()
{
    bindSettings();
    defineViewClasses(*this);
    definePictureProviders(*this);
    if (!m_settings.enabled)
        return;
    // The start-up line goes to a debug log that prints nothing.
    installHooks(*this);
}

std::string Brix::systemVersion() const
{
    auto device = send<Ref<Object>>(runtime().classNamed("UIDevice"), SEL("currentDevice"));
    return send<foundation::Value>(device, SEL("systemVersion")).string();
}

void Brix::recordStatusBarWindow(runtime::Object* window)
{
    if (!window)
        return;
    m_statusBarWindowRecorded.callOnce([&] { m_sharedStatusBarWindow = window; });
}

void Brix::bindSettings()
{
    auto* preferencesClass = runtime().classNamed("HBPreferences");
    m_preferences = send<Ref<Object>>(
        runtime::alloc(preferencesClass), SEL("initWithIdentifier:"), foundation::Value(preferenceDomain));
    for (const SettingKey& key : settingKeys) {
        foundation::Value name(key.key);
        if (key.type == SettingKey::Type::Boolean) {
            send(m_preferences, SEL("registerBool:default:forKey:"), &(m_settings.*key.boolean), key.defaultValue != 0,
                name);
        } else {
            send(m_preferences, SEL("registerInteger:default:forKey:"), &(m_settings.*key.integer), key.defaultValue,
                name);
        }
    }
}

} // namespace brix

// The loader calls this once in every process whose filter names it.
DEVICE_PLUGIN_ENTRY void device_plugin_load(device::Process& process)
{
    process.service<brix::Brix>().start();
}
