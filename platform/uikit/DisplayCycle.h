#pragma once

#include "platform/device/Forward.h"

namespace uikit {

// The process's display cycle (a per-process service): once something asks
// for layout, every window of the process is laid out on a later turn of the
// main queue, as the platform does before it draws. A layout asked for while
// one is pending joins it.
class DisplayCycle {
public:
    explicit DisplayCycle(device::Process&);

    static DisplayCycle& of(device::Process&);

    void setNeedsLayout();
    bool isLayoutPending() const { return m_pending; }

private:
    void layOutWindows();

    device::Process* m_process;
    bool m_pending { false };
};

} // namespace uikit
