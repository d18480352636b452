#include "platform/springboard/SpringBoard.h"

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIPress.h"

namespace springboard {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;

bool SpringBoard::handlePhysicalButtonEvent(runtime::Object* event)
{
    // Asked through the run time, so that any event object that answers `allPresses` works.
    Value presses = runtime::sendIfResponds<Value>(event, SEL("allPresses"));
    bool handled = false;
    for (auto& item : presses.items()) {
        auto* press = dynamic_cast<uikit::UIPress*>(item.object());
        if (!press || press->type() < Home || press->type() > Lock)
            continue;
        m_handledPresses.push_back(press->type());
        handled = true;
    }
    return handled;
}

bool SpringBoard::launchApplication(device::Process& home, const Value& identifier, bool suspended)
{
    auto& device = home.device();
    const std::string& bundleId = identifier.string();
    const char* result = "unknown";
    if (device.process(bundleId)) {
        result = "running";
    } else if (!bundleId.empty() && device.definesApp(bundleId)) {
        // Synchronous on purpose: whatever the caller posts next must find the app listening.
        device.launch(bundleId);
        result = "started";
    }
    device.trace().emit("app.launched",
        { { "bundleId", identifier.isString() ? device::Trace::Event(bundleId) : device::Trace::Event() },
            { "suspended", suspended }, { "result", result } });
    return device.process(bundleId) != nullptr;
}

void SpringBoard::registerClass(device::Process& process)
{
    auto* owner = &process;
    ClassBuilder::define<SpringBoard>(process.runtime(), "SpringBoard", "UIApplication")
        .method("_handlePhysicalButtonEvent:", Imp::of(&SpringBoard::handlePhysicalButtonEvent))
        .method("launchApplicationWithIdentifier:suspended:",
            Imp::of([owner](SpringBoard*, runtime::Selector, Value identifier, bool suspended) {
                return launchApplication(*owner, identifier, suspended);
            }));
}

} // namespace springboard
