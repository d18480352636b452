#pragma once

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

    static void registerClass(device::Process&);

private:
    Point m_translation;
};

} // namespace uikit
