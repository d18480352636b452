#pragma once

#include "platform/device/Process.h"
#include "platform/runtime/Send.h"

#include "tweak/Settings.h"

namespace brix {

// Everything Brix keeps for one process: the settings values bound to the
// preference domain, the preference object, and the state its hooks share.
// It is created when the library is loaded into the process and lives until
// the process ends; every hook captures it, so two processes never share it.
class Brix {
public:
    explicit Brix(device::Process&);

    // The load-time start-up: binds the settings and, when enabled, installs
    // the hook table.
    void start();

    device::Process& process() const { return *m_process; }
    runtime::Runtime& runtime() const { return m_process->runtime(); }
    const Settings& settings() const { return m_settings; }

    // The system version string, as the device reports it (UIDevice).
    std::string systemVersion() const;

    // The first status-bar window created in the process after load, kept
    // for the process's life; nil before there is one.
    runtime::Object* sharedStatusBarWindow() const { return m_sharedStatusBarWindow.get(); }
    // Records `window` when it is the first one; later ones are ignored.
    void recordStatusBarWindow(runtime::Object* window);

private:
    void bindSettings();

    device::Process* m_process;
    Settings m_settings;
    runtime::Ref<runtime::Object> m_preferences;
    runtime::Ref<runtime::Object> m_sharedStatusBarWindow;
    device::OnceFlag m_statusBarWindowRecorded;
};

} // namespace brix
