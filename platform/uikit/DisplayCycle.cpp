#include "platform/uikit/DisplayCycle.h"

#include "platform/device/Process.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

DisplayCycle::DisplayCycle(device::Process& process)
    : m_process(&process)
{
}

DisplayCycle& DisplayCycle::of(device::Process& process)
{
    return process.service<DisplayCycle>();
}

void DisplayCycle::setNeedsLayout()
{
    if (m_pending)
        return;
    m_pending = true;
    // The service outlives the queue's pending work: a process closes its
    // queues before it destroys its services.
    m_process->mainQueue().async([this] { layOutWindows(); });
}

void DisplayCycle::layOutWindows()
{
    m_pending = false;
    for (auto& window : UIKitState::of(*m_process).windows())
        window->layoutIfNeeded();
}

} // namespace uikit
