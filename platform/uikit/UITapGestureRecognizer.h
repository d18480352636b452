#pragma once

#include "platform/uikit/Geometry.h"
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

    // A finger that lifts within the allowable movement of where it went
    // down ends the gesture; one that moves further fails it.
    void touchesBegan(UITouch&) override;
    void touchesMoved(UITouch&) override;
    void touchesEnded(UITouch&) override;
    void touchesCancelled(UITouch&) override;

    static void registerClass(device::Process&);

private:
    Point m_start;
    int64_t m_numberOfTapsRequired { 1 };
};

} // namespace uikit
