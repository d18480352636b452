#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

namespace uikit {

// What a view draws beneath its content: a background colour, a corner
// radius (kept as given; drawing clamps it between zero and half the shorter
// side), whether the corners are continuous, and whether the layer clips
// its contents and sublayers to its rounded bounds. Every view has one; the
// view's backgroundColor and clipsToBounds are the layer's.
class CALayer : public runtime::NSObject {
public:
    using NSObject::NSObject;

    UIColor* backgroundColor() const { return m_backgroundColor.get(); }
    void setBackgroundColor(UIColor*);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius) { m_cornerRadius = radius; }
    bool continuousCorners() const { return m_continuousCorners; }
    void setContinuousCorners(bool continuous) { m_continuousCorners = continuous; }
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks) { m_masksToBounds = masks; }

    static void registerClass(device::Process&);

private:
    runtime::Ref<UIColor> m_backgroundColor;
    double m_cornerRadius { 0 };
    bool m_continuousCorners { false };
    bool m_masksToBounds { false };
};

} // namespace uikit
