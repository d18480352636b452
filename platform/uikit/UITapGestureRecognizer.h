#pragma once

#include "platform/uikit/UIGestureRecognizer.h"

namespace uikit {

// A discrete gesture: the taps it needs end it at once.
class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    int64_t numberOfTapsRequired() const { return m_numberOfTapsRequired; }
    void setNumberOfTapsRequired(int64_t);

    // Delivers one complete tap: the recognizer ends and tells its targets.
    void recognizeTap();

    static void registerClass(device::Process&);

private:
    int64_t m_numberOfTapsRequired { 1 };
};

} // namespace uikit
