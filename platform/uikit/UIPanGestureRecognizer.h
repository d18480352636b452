#pragma once

#include <vector>

#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIGestureRecognizer.h"

namespace uikit {

// A continuous gesture: a finger moving over the view. Its translation is
// the finger's total movement since the gesture began, in the coordinates of
// the recognizer's view.
class UIPanGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    Point translation() const { return m_translation; }
    void setTranslation(Point translation) { m_translation = translation; }

    // Points per second, from the finger's movement over its last tenth of a second.
    Point velocity() const;

    // The gesture begins once the finger has moved more than the allowable
    // movement from where it went down; the translation counts from there.
    void touchesBegan(UITouch&) override;
    void touchesMoved(UITouch&) override;
    void touchesEnded(UITouch&) override;
    void touchesCancelled(UITouch&) override;

    static void registerClass(device::Process&);

private:
    struct Sample {
        double time;
        Point location;
    };
    void follow(UITouch&);

    Point m_translation;
    Point m_start;
    std::vector<Sample> m_samples;
};

} // namespace uikit
