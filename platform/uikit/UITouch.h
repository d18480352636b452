#pragma once

#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIGestureRecognizer.h"

namespace uikit {

// One finger on the screen: where it is and was (in its window's
// coordinates), its phase, the device time of its last change and how many
// taps in a row it has made. It holds the view it first touched and the
// recognizers that watch it.
class UITouch : public runtime::NSObject {
public:
    enum Phase : int64_t { Began = 0, Moved = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

    using NSObject::NSObject;

    // The first touch of the set a view's touches... messages carry; nil when it holds none.
    static UITouch* first(const runtime::Value& touches);

    Phase phase() const { return m_phase; }
    double timestamp() const { return m_timestamp; }
    int64_t tapCount() const { return m_tapCount; }
    UIView* view() const;
    UIWindow* window() const;
    // Where the finger is (was) in the coordinates of `view`; nil: its window.
    Point locationInView(const UIView*) const;
    Point previousLocationInView(const UIView*) const;
    Point windowLocation() const { return m_location; }
    const std::vector<runtime::Ref<UIGestureRecognizer>>& gestureRecognizers() const { return m_recognizers; }

    // For the touch's delivery.
    void begin(UIWindow*, UIView*, Point, double timestamp, int64_t tapCount);
    void move(Point, double timestamp, Phase);
    void setRecognizers(std::vector<runtime::Ref<UIGestureRecognizer>> recognizers)
    {
        m_recognizers = std::move(recognizers);
    }

    static void registerClass(device::Process&);

private:
    Phase m_phase { Began };
    double m_timestamp { 0 };
    int64_t m_tapCount { 1 };
    Point m_location;
    Point m_previousLocation;
    runtime::Ref<UIWindow> m_window;
    runtime::Ref<UIView> m_view;
    std::vector<runtime::Ref<UIGestureRecognizer>> m_recognizers;
};

} // namespace uikit
