#include "platform/uikit/UIWindow.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/Keyboard.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

UIWindow::UIWindow(runtime::Class* cls)
    : UIView(cls)
{
    setHidden(true);
}

UIViewController* UIWindow::rootViewController() const
{
    return m_rootViewController.get();
}

void UIWindow::setRootViewController(UIViewController* controller)
{
    if (controller == m_rootViewController.get())
        return;
    if (m_rootViewController) {
        if (UIView* oldView = m_rootViewController->viewIfLoaded(); oldView && oldView->superview() == this)
            runtime::send(oldView, SEL("removeFromSuperview"));
    }
    m_rootViewController = controller;
    if (!controller)
        return;
    auto view = runtime::send<Ref<Object>>(controller, SEL("view"));
    runtime::send(view, SEL("setFrame:"), bounds());
    if (auto* content = dynamic_cast<UIView*>(view.get()))
        content->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
    runtime::send(this, SEL("addSubview:"), view.get());
}

EdgeInsets UIWindow::screenSafeAreaInsets() const
{
    if (!m_device)
        return {};
    double bottom = std::max(m_device->hardware().bottomSafeArea, 0.0);
    return { bottom > 0 ? 44.0 : 20.0, 0, bottom, 0 };
}

void UIWindow::setFirstResponder(UIResponder* responder)
{
    if (m_firstResponder.get() == responder)
        return;
    m_firstResponder = responder;
    if (m_process)
        Keyboard::of(*m_process).firstResponderChanged();
}

double UIWindow::screenHeight() const
{
    return m_device ? m_device->hardware().screenHeight : 0;
}

void UIWindow::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UIWindow>(process.runtime(), "UIWindow", "UIView");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("initWithFrame:", Imp::of([cls, owner](UIWindow* self, Selector selector, Rect frame) -> Ref<Object> {
            auto result = sendSuper<Ref<Object>>(*cls, self, selector, frame);
            if (auto* window = dynamic_cast<UIWindow*>(result.get())) {
                window->m_device = &owner->device();
                window->m_process = owner;
                UIKitState::of(*owner).registerWindow(*window);
            }
            return result;
        }))
        .method("window", Imp::of([](UIWindow* self, Selector) -> Object* { return self; }))
        .method("windowLevel", Imp::of(&UIWindow::windowLevel))
        .method("setWindowLevel:", Imp::of(&UIWindow::setWindowLevel))
        .method("rootViewController",
            Imp::of([](UIWindow* self, Selector) -> Object* { return self->rootViewController(); }))
        .method("setRootViewController:", Imp::of([](UIWindow* self, Selector, UIViewController* controller) {
            self->setRootViewController(controller);
        }))
        .method("_canBecomeKeyWindow", Imp::of([](UIWindow*, Selector) { return true; }))
        .method("isKeyWindow",
            Imp::of([owner](UIWindow* self, Selector) { return UIKitState::of(*owner).keyWindow() == self; }))
        .method("makeKeyWindow", Imp::of([owner](UIWindow* self, Selector) {
            if (runtime::send<bool>(self, SEL("_canBecomeKeyWindow")))
                UIKitState::of(*owner).setKeyWindow(self);
        }))
        .method("makeKeyAndVisible", Imp::of([](UIWindow* self, Selector) {
            runtime::send(self, SEL("setHidden:"), false);
            runtime::send(self, SEL("makeKeyWindow"));
        }))
        // A window hands what it does not handle to the application.
        .method("nextResponder",
            Imp::of([owner](UIWindow*, Selector) -> Object* { return UIKitState::of(*owner).application(); }));
}

} // namespace uikit
