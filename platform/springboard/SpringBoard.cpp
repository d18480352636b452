#include "platform/springboard/SpringBoard.h"

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"
#include "platform/uikit/UIPress.h"

namespace springboard {

using foundation::Value;
using runtime::Imp;
using uikit::ClassBuilder;

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

void SpringBoard::registerClass(device::Process& process)
{
    ClassBuilder::define<SpringBoard>(process.runtime(), "SpringBoard", "UIApplication")
        .method("_handlePhysicalButtonEvent:", Imp::of(&SpringBoard::handlePhysicalButtonEvent));
}

} // namespace springboard
