#pragma once

#include <vector>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIApplication.h"

namespace springboard {

// The home screen's application object. Physical button events reach it
// through `_handlePhysicalButtonEvent:`, which handles the presses of the
// buttons it knows and answers whether it handled any.
//
// `launchApplicationWithIdentifier:suspended:` starts an app the device
// knows, unless it runs already, and answers whether it runs afterwards. The
// launch is complete when the call returns: the app's plug-ins are loaded and
// its start-up has run, so a system-wide notification posted afterwards
// reaches every observer that start-up registered. Each request is traced as
// `app.launched` with `bundleId`, `suspended` and `result` ("started",
// "running" or "unknown" for an identifier no app of the device has).
//
// Messages: -_handlePhysicalButtonEvent:(object answering allPresses) -> bool,
//   -launchApplicationWithIdentifier:(string)suspended:(bool) -> bool
class SpringBoard : public uikit::UIApplication {
public:
    // The press types of the device's physical buttons.
    enum PhysicalButton : int64_t { Home = 101, VolumeUp = 102, VolumeDown = 103, Lock = 104 };

    using UIApplication::UIApplication;

    // The button types of every press handled so far, oldest first.
    const std::vector<int64_t>& handledPresses() const { return m_handledPresses; }

    static void registerClass(device::Process&);

private:
    bool handlePhysicalButtonEvent(runtime::Object* event);
    static bool launchApplication(device::Process&, const foundation::Value& identifier, bool suspended);

    std::vector<int64_t> m_handledPresses;
};

} // namespace springboard
