#pragma once

#include <map>

#include "platform/device/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/uikit/Forward.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UITouch.h"

namespace uikit {

// Delivers the fingers on the screen to one process, as the platform does (a
// per-process service). A finger going down is hit-tested in the process's
// visible windows, the highest window level first; the view hit keeps the
// touch until it ends. The enabled recognizers of that view and of its
// superviews watch the touch first (a tap recognizer of a superview leaves a
// control's tap to the control); the first to recognize makes the others
// fail and, unless it says otherwise, cancels the touch in the view. The view
// gets `touchesBegan:withEvent:` and the rest through the run time, and
// passes what it does not handle along the responder chain.
class TouchDelivery {
public:
    explicit TouchDelivery(device::Process&);
    static TouchDelivery& of(device::Process&);

    // `finger` names one finger across its phases; `screenPoint` is in
    // screen points. Answers the view the finger touched (nil: none, or no
    // such finger down). A finger that goes down again first ends as
    // cancelled; moves of a finger that is not down are dropped.
    UIView* deliver(int finger, Point screenPoint, UITouch::Phase);

    bool isDown(int finger) const { return m_fingers.contains(finger); }

    // The view in front at a screen point, the way a finger going down finds it.
    UIView* viewAt(Point screenPoint, UIWindow** window = nullptr) const;

private:
    struct Finger {
        runtime::Ref<UITouch> touch;
        bool cancelledInView { false };
    };
    void begin(int finger, Point screenPoint);
    void update(Finger&, Point screenPoint, UITouch::Phase);
    void settleRecognizers(Finger&, UIEvent*);
    void sendToView(Finger&, UIEvent*, const char* selector);

    device::Process* m_process;
    std::map<int, Finger> m_fingers;
    // Where and when the last tap ended, to count taps in a row.
    Point m_lastTapPoint;
    double m_lastTapTime { -1 };
    int64_t m_lastTapCount { 0 };
};

} // namespace uikit
