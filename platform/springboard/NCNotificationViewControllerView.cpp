#include "platform/springboard/NCNotificationViewControllerView.h"

#include "platform/device/Process.h"
#include "platform/foundation/Version.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void NCNotificationViewControllerView::setContentView(uikit::UIView* view)
{
    if (view == m_contentView.get())
        return;
    if (m_contentView && m_contentView->superview() == this)
        runtime::send(m_contentView.get(), SEL("removeFromSuperview"));
    m_contentView = view;
    if (!view)
        return;
    runtime::send(view, SEL("setFrame:"), bounds());
    runtime::send(this, SEL("addSubview:"), static_cast<Object*>(view));
}

bool NCNotificationViewControllerView::takesTouchAt(uikit::Point point) const
{
    if (pointInside(point))
        return true;
    for (auto& subview : subviews()) {
        if (subview->isHidden() || subview->alpha() < 0.01 || !subview->isUserInteractionEnabled())
            continue;
        auto frame = subview->frame();
        if (point.x >= frame.origin.x && point.x < frame.origin.x + frame.width() && point.y >= frame.origin.y
            && point.y < frame.origin.y + frame.height())
            return true;
    }
    return false;
}

const char* NCNotificationViewControllerView::classNameFor(std::string_view systemVersion)
{
    return foundation::compareVersions(systemVersion, "12.0") < 0 ? legacyClassName : className;
}

void NCNotificationViewControllerView::registerClass(device::Process& process)
{
    for (const char* name : { legacyClassName, className }) {
        ClassBuilder::define<NCNotificationViewControllerView>(process.runtime(), name, "UIView")
            .method("contentView", Imp::of([](NCNotificationViewControllerView* self, Selector) -> Object* {
                return self->contentView();
            }))
            .method(
                "setContentView:", Imp::of([](NCNotificationViewControllerView* self, Selector, uikit::UIView* view) {
                    self->setContentView(view);
                }))
            .method("pointInside:withEvent:",
                Imp::of([](NCNotificationViewControllerView* self, Selector, uikit::Point point, Object*) {
                    return self->takesTouchAt(point);
                }));
    }
}

} // namespace springboard
