#include "platform/uikit/CALayer.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void CALayer::setBackgroundColor(UIColor* color)
{
    m_backgroundColor = color;
}

void CALayer::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<CALayer>(process.runtime(), "CALayer", "NSObject")
        .method("backgroundColor", Imp::of([](CALayer* self, Selector) -> Object* { return self->backgroundColor(); }))
        .method("setBackgroundColor:",
            Imp::of([](CALayer* self, Selector, UIColor* color) { self->setBackgroundColor(color); }))
        .method("cornerRadius", Imp::of(&CALayer::cornerRadius))
        .method("setCornerRadius:", Imp::of(&CALayer::setCornerRadius))
        .method("continuousCorners", Imp::of(&CALayer::continuousCorners))
        .method("setContinuousCorners:", Imp::of(&CALayer::setContinuousCorners))
        .method("masksToBounds", Imp::of(&CALayer::masksToBounds))
        .method("setMasksToBounds:", Imp::of(&CALayer::setMasksToBounds));
}

} // namespace uikit
