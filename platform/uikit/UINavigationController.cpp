#include "platform/uikit/UINavigationController.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    double durationOf(UIViewController::Transition transition)
    {
        return transition == UIViewController::Transition::Animated ? UIViewController::transitionDuration : 0;
    }

    void sendAppearance(UIViewController* controller, Selector selector, bool animated)
    {
        if (controller)
            runtime::send(controller, selector, animated);
    }

} // namespace

void UINavigationController::setUp(device::Process& process)
{
    m_process = &process;
    m_navigationBar
        = makeView<UINavigationBar>(process.runtime(), "UINavigationBar", makeRect(0, 0, 0, UINavigationBar::height));
}

void UINavigationController::setNavigationBarHidden(bool hidden)
{
    m_barHidden = hidden;
    layout();
}

UINavigationItem* UINavigationController::displayedItem() const
{
    UIViewController* top = topViewController();
    auto* nested = dynamic_cast<UINavigationController*>(top);
    if (nested && nested->isNavigationBarHidden())
        return nested->displayedItem();
    return top ? top->navigationItem() : nullptr;
}

bool UINavigationController::canGoBack() const
{
    if (m_stack.size() > 1)
        return true;
    auto* nested = dynamic_cast<UINavigationController*>(topViewController());
    return nested && nested->isNavigationBarHidden() && nested->canGoBack();
}

double UINavigationController::barBottom() const
{
    UIView* view = viewIfLoaded();
    if (!view || m_barHidden || !m_navigationBar)
        return 0;
    return m_navigationBar->frame().maxY();
}

void UINavigationController::layout()
{
    UIView* view = viewIfLoaded();
    if (!view || !m_navigationBar)
        return;
    Rect bounds = view->bounds();
    double top = view->window() ? view->safeAreaInsets().top : 0;
    m_navigationBar->setHidden(m_barHidden);
    // A hidden bar lets go of the item, whose title view an enclosing bar may show.
    m_navigationBar->showItem(m_barHidden ? nullptr : displayedItem(), canGoBack());
    m_navigationBar->setFrame(makeRect(0, top, bounds.width(), m_navigationBar->preferredHeight()));
    if (UIViewController* controller = topViewController()) {
        auto content = runtime::send<Ref<Object>>(controller, SEL("view"));
        double contentTop = m_barHidden ? 0 : barBottom();
        runtime::send(content, SEL("setFrame:"),
            makeRect(0, contentTop, bounds.width(), std::max(0.0, bounds.height() - contentTop)));
        if (auto* nested = dynamic_cast<UINavigationController*>(controller))
            nested->layout();
    }
    runtime::send(view, SEL("bringSubviewToFront:"), static_cast<Object*>(m_navigationBar.get()));
}

// An outer navigation controller shows the bar of a nested one whose bar is hidden.
void UINavigationController::updateEnclosingBar()
{
    for (UIViewController* controller = parent(); controller; controller = controller->parent()) {
        if (auto* enclosing = dynamic_cast<UINavigationController*>(controller))
            enclosing->layout();
    }
}

void UINavigationController::showTop()
{
    UIView* view = viewIfLoaded();
    UIViewController* top = topViewController();
    if (!view || !top)
        return;
    for (auto& controller : m_stack) {
        UIView* content = controller->viewIfLoaded();
        if (controller.get() != top && content && content->superview() == view)
            content->removeFromSuperview();
    }
    auto content = runtime::send<Ref<Object>>(top, SEL("view"));
    runtime::send(view, SEL("addSubview:"), content.get());
    layout();
    updateEnclosingBar();
}

void UINavigationController::push(UIViewController* controller, Transition transition)
{
    if (!controller || controller == this || controller->parent() || controller->presenting())
        return;
    Ref<UIViewController> incoming(controller);
    Ref<UIViewController> outgoing(topViewController());
    bool animated = transition == Transition::Animated;
    bool visible = isViewLoaded();
    if (visible)
        sendAppearance(outgoing.get(), SEL("viewWillDisappear:"), animated);
    addChild(controller);
    m_stack.push_back(incoming);
    if (!visible)
        return;
    runtime::send<Ref<Object>>(controller, SEL("view"));
    sendAppearance(controller, SEL("viewWillAppear:"), animated);
    showTop();
    m_process->mainQueue().after(durationOf(transition), [incoming, outgoing, animated] {
        sendAppearance(outgoing.get(), SEL("viewDidDisappear:"), animated);
        sendAppearance(incoming.get(), SEL("viewDidAppear:"), animated);
    });
}

Ref<UIViewController> UINavigationController::pop(Transition transition)
{
    if (m_stack.size() < 2)
        return nullptr;
    Ref<UIViewController> outgoing = m_stack.back();
    Ref<UIViewController> incoming = m_stack[m_stack.size() - 2];
    bool animated = transition == Transition::Animated;
    bool visible = isViewLoaded();
    if (visible) {
        sendAppearance(outgoing.get(), SEL("viewWillDisappear:"), animated);
        sendAppearance(incoming.get(), SEL("viewWillAppear:"), animated);
    }
    m_stack.pop_back();
    if (UIView* content = outgoing->viewIfLoaded(); content && content->superview() == viewIfLoaded())
        content->removeFromSuperview();
    outgoing->removeFromParent();
    if (!visible)
        return outgoing;
    showTop();
    m_process->mainQueue().after(durationOf(transition), [incoming, outgoing, animated] {
        sendAppearance(outgoing.get(), SEL("viewDidDisappear:"), animated);
        sendAppearance(incoming.get(), SEL("viewDidAppear:"), animated);
    });
    return outgoing;
}

void UINavigationController::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UINavigationController>(
        process.runtime(), "UINavigationController", "UIViewController");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    // The top controller sees its container's appearance as its own.
    Imp forwardAppearance = Imp::of([](UINavigationController* self, Selector selector, bool animated) {
        sendAppearance(self->topViewController(), selector, animated);
    });
    builder
        .method("init", Imp::of([cls, owner](UINavigationController* self, Selector selector) -> Ref<Object> {
            auto made = sendSuper<Ref<Object>>(*cls, self, selector);
            if (auto* navigation = dynamic_cast<UINavigationController*>(made.get()))
                navigation->setUp(*owner);
            return made;
        }))
        .method("initWithRootViewController:",
            Imp::of([](UINavigationController* self, Selector, UIViewController* root) -> Ref<Object> {
                auto made = runtime::send<Ref<Object>>(self, SEL("init"));
                if (auto* navigation = dynamic_cast<UINavigationController*>(made.get()))
                    navigation->push(root, Transition::Immediate);
                return made;
            }))
        .method("viewDidLoad", Imp::of([cls](UINavigationController* self, Selector selector) {
            sendSuper(*cls, self, selector);
            if (self->m_navigationBar)
                self->viewIfLoaded()->addSubview(self->m_navigationBar.get());
            self->showTop();
        }))
        .method("viewWillAppear:", Imp::of([](UINavigationController* self, Selector selector, bool animated) {
            self->layout();
            sendAppearance(self->topViewController(), selector, animated);
        }))
        .method("viewDidAppear:", forwardAppearance)
        .method("viewWillDisappear:", forwardAppearance)
        .method("viewDidDisappear:", forwardAppearance)
        .method("viewControllers",
            Imp::of([](UINavigationController* self, Selector) { return Value::arrayOf(self->m_stack); }))
        .method("topViewController", Imp::of(&UINavigationController::topViewController))
        .method("pushViewController:animated:",
            Imp::of([](UINavigationController* self, Selector, UIViewController* controller, bool animated) {
                self->push(controller, animated ? Transition::Animated : Transition::Immediate);
            }))
        .method("popViewControllerAnimated:",
            Imp::of([](UINavigationController* self, Selector, bool animated) -> Ref<Object> {
                return Ref<Object>(self->pop(animated ? Transition::Animated : Transition::Immediate).get());
            }))
        .method("navigationBar", Imp::of(&UINavigationController::navigationBar))
        .property("isNavigationBarHidden", "setNavigationBarHidden:", &UINavigationController::isNavigationBarHidden,
            &UINavigationController::setNavigationBarHidden)
        .method(
            "setNavigationBarHidden:animated:", Imp::of([](UINavigationController* self, Selector, bool hidden, bool) {
                self->setNavigationBarHidden(hidden);
            }))
        .method("dealloc", Imp::of([cls](UINavigationController* self, Selector selector) {
            self->m_stack.clear();
            self->m_navigationBar = nullptr;
            sendSuper(*cls, self, selector);
        }));
}

} // namespace uikit
