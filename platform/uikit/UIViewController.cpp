#include "platform/uikit/UIViewController.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    Rect screenBounds(device::Process& process)
    {
        auto* screen = UIKitState::of(process).mainScreen();
        return screen ? screen->bounds() : Rect {};
    }

    int64_t screenStyle(device::Process& process)
    {
        auto* screen = UIKitState::of(process).mainScreen();
        return screen ? screen->userInterfaceStyle() : UITraitCollection::Light;
    }

    Ref<Object> makeView(device::Process& process, Rect frame)
    {
        return runtime::send<Ref<Object>>(
            runtime::alloc(process.runtime().classNamed("UIView")), SEL("initWithFrame:"), frame);
    }

    double durationOf(UIViewController::Transition transition)
    {
        return transition == UIViewController::Transition::Animated ? UIViewController::transitionDuration : 0;
    }

    UIViewController::Transition transitionFor(bool animated)
    {
        return animated ? UIViewController::Transition::Animated : UIViewController::Transition::Immediate;
    }

} // namespace

void UIViewController::setView(UIView* view)
{
    if (view == m_view.get())
        return;
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
    m_view = view;
    if (view)
        view->setViewController(this);
}

void UIViewController::loadViewIfNeeded(device::Process& process)
{
    if (m_view || m_loadingView)
        return;
    Ref<UIViewController> protect(this);
    m_loadingView = true;
    runtime::send(this, SEL("loadView"));
    // A loadView that made no view still leaves the controller with one.
    if (!m_view)
        setView(dynamic_cast<UIView*>(makeView(process, screenBounds(process)).get()));
    m_loadingView = false;
    runtime::send(this, SEL("viewDidLoad"));
}

void UIViewController::setTitle(const Value& title)
{
    m_title = title;
    if (UINavigationItem* item = navigationItem())
        item->setTitle(title);
}

UINavigationItem* UIViewController::navigationItem()
{
    if (!m_navigationItem)
        m_navigationItem = Ref<Object>(instantiate<UINavigationItem>(isa()->runtime(), "UINavigationItem").get());
    return dynamic_cast<UINavigationItem*>(m_navigationItem.get());
}

UINavigationController* UIViewController::navigationController() const
{
    for (UIViewController* controller = m_parent; controller; controller = controller->m_parent) {
        if (auto* navigation = dynamic_cast<UINavigationController*>(controller))
            return navigation;
    }
    return nullptr;
}

void UIViewController::addChild(UIViewController* child)
{
    if (!child || child == this || child->m_parent == this)
        return;
    Ref<UIViewController> protect(child);
    child->removeFromParent();
    runtime::send(child, SEL("willMoveToParentViewController:"), static_cast<Object*>(this));
    m_children.emplace_back(child);
    child->m_parent = this;
}

void UIViewController::removeFromParent()
{
    if (!m_parent)
        return;
    Ref<UIViewController> protect(this);
    auto& siblings = m_parent->m_children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), protect));
    m_parent = nullptr;
    runtime::send(this, SEL("didMoveToParentViewController:"), static_cast<Object*>(nullptr));
}

bool UIViewController::present(
    device::Process& process, UIViewController* controller, Transition transition, Block<void()> completion)
{
    // One presentation at a time; a controller already shown elsewhere cannot be presented.
    if (!controller || controller == this || m_presented || controller->m_presenting || controller->m_parent)
        return false;
    m_presented = controller;
    controller->m_presenting = this;
    auto view = runtime::send<Ref<Object>>(controller, SEL("view"));
    if (UIWindow* window = m_view ? m_view->window() : nullptr) {
        runtime::send(view, SEL("setFrame:"), window->bounds());
        runtime::send(window, SEL("addSubview:"), view.get());
    }
    process.mainQueue().after(durationOf(transition), [completion = std::move(completion)] {
        if (completion)
            completion();
    });
    return true;
}

void UIViewController::dismissPresented(device::Process& process, Transition transition, Block<void()> completion)
{
    // Asked of a presented controller, the request goes to its presenter.
    UIViewController* presenter = m_presented ? this : m_presenting;
    if (!presenter)
        return;
    Ref<UIViewController> dismissed = presenter->m_presented;
    presenter->m_presented = nullptr;
    dismissed->m_presenting = nullptr;
    process.mainQueue().after(durationOf(transition), [dismissed, completion = std::move(completion)] {
        // Whatever the dismissed controller presented in turn leaves with it.
        for (UIViewController* controller = dismissed.get(); controller; controller = controller->presented()) {
            if (UIView* view = controller->viewIfLoaded())
                runtime::send(view, SEL("removeFromSuperview"));
        }
        if (completion)
            completion();
    });
}

void UIViewController::endPresentation()
{
    if (!m_presenting)
        return;
    Ref<UIViewController> protect(this);
    m_presenting->m_presented = nullptr;
    m_presenting = nullptr;
}

int64_t UIViewController::effectiveUserInterfaceStyle(int64_t screenStyle) const
{
    if (m_overrideUserInterfaceStyle != UITraitCollection::Unspecified)
        return m_overrideUserInterfaceStyle;
    if (m_parent)
        return m_parent->effectiveUserInterfaceStyle(screenStyle);
    if (m_presenting)
        return m_presenting->effectiveUserInterfaceStyle(screenStyle);
    return screenStyle;
}

void UIViewController::collectHierarchy(std::vector<Ref<UIViewController>>& controllers)
{
    controllers.emplace_back(this);
    for (auto& child : m_children)
        child->collectHierarchy(controllers);
    if (m_presented)
        m_presented->collectHierarchy(controllers);
}

void UIViewController::announceStyleChanges(
    device::Process& process, const std::vector<StyleRecord>& records, int64_t screenStyle)
{
    for (auto& record : records) {
        if (!record.controller->isViewLoaded())
            continue;
        if (record.controller->effectiveUserInterfaceStyle(screenStyle) == record.style)
            continue;
        auto previous = UITraitCollection::make(process.runtime(), record.style);
        runtime::send(record.controller.get(), SEL("traitCollectionDidChange:"), static_cast<Object*>(previous.get()));
    }
}

void UIViewController::setOverrideUserInterfaceStyle(device::Process& process, int64_t style)
{
    if (style < UITraitCollection::Unspecified || style > UITraitCollection::Dark)
        return;
    std::vector<Ref<UIViewController>> hierarchy;
    collectHierarchy(hierarchy);
    int64_t screen = screenStyle(process);
    std::vector<StyleRecord> records;
    for (auto& controller : hierarchy)
        records.push_back({ controller, controller->effectiveUserInterfaceStyle(screen) });
    m_overrideUserInterfaceStyle = style;
    announceStyleChanges(process, records, screen);
}

Object* UIViewController::nextResponderObject() const
{
    if (m_view && m_view->superview())
        return m_view->superview();
    if (m_presenting)
        return m_presenting;
    return m_parent;
}

void UIViewController::deallocate(const runtime::Class& definingClass)
{
    for (auto& child : m_children)
        child->m_parent = nullptr;
    m_children.clear();
    if (m_presented) {
        m_presented->m_presenting = nullptr;
        m_presented = nullptr;
    }
    m_view = nullptr;
    m_navigationItem = nullptr;
    sendSuper(definingClass, this, SEL("dealloc"));
}

void UIViewController::registerClass(device::Process& process)
{
    auto builder
        = runtime::ClassBuilder::define<UIViewController>(process.runtime(), "UIViewController", "UIResponder");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("view", Imp::of([owner](UIViewController* self, Selector) -> Object* {
            self->loadViewIfNeeded(*owner);
            return self->viewIfLoaded();
        }))
        .method("viewIfLoaded", Imp::of(&UIViewController::viewIfLoaded))
        .method("isViewLoaded", Imp::of(&UIViewController::isViewLoaded))
        .method(
            "loadViewIfNeeded", Imp::of([owner](UIViewController* self, Selector) { self->loadViewIfNeeded(*owner); }))
        .method("setView:", Imp::of(&UIViewController::setView))
        .method("loadView", Imp::of([owner](UIViewController* self, Selector) {
            runtime::send(self, SEL("setView:"), makeView(*owner, screenBounds(*owner)).get());
        }))
        .method("viewDidLoad", Imp::of([](UIViewController*, Selector) {}))
        // The appearance callbacks: containers and presentations send them as
        // the controller's view comes and goes.
        .method("viewWillAppear:", Imp::of([](UIViewController*, Selector, bool) {}))
        .method("viewDidAppear:", Imp::of([](UIViewController*, Selector, bool) {}))
        .method("viewWillDisappear:", Imp::of([](UIViewController*, Selector, bool) {}))
        .method("viewDidDisappear:", Imp::of([](UIViewController*, Selector, bool) {}))
        .property("title", "setTitle:", &UIViewController::title, &UIViewController::setTitle)
        .method("navigationItem", Imp::of(&UIViewController::navigationItem))
        .method("navigationController", Imp::of(&UIViewController::navigationController))
        .method("overrideUserInterfaceStyle", Imp::of(&UIViewController::overrideUserInterfaceStyle))
        .method("setOverrideUserInterfaceStyle:", Imp::of([owner](UIViewController* self, Selector, int64_t style) {
            self->setOverrideUserInterfaceStyle(*owner, style);
        }))
        .method("traitCollection", Imp::of([owner](UIViewController* self, Selector) -> Ref<Object> {
            return UITraitCollection::make(owner->runtime(), self->effectiveUserInterfaceStyle(screenStyle(*owner)));
        }))
        // Subclasses adapt to new traits here; the system calls it when they change.
        .method("traitCollectionDidChange:", Imp::of([](UIViewController*, Selector, Object*) {}))
        .method("nextResponder", Imp::of([](UIViewController* self, Selector) { return self->nextResponderObject(); }))
        .method("dealloc", Imp::of([cls](UIViewController* self, Selector) { self->deallocate(*cls); }));
    defineContainmentMethods(builder, process);
}

// Child controllers and presented ones.
void UIViewController::defineContainmentMethods(runtime::ClassBuilder& builder, device::Process& process)
{
    auto* owner = &process;
    builder.method("parentViewController", Imp::of(&UIViewController::parent))
        .method("childViewControllers",
            Imp::of([](UIViewController* self, Selector) { return Value::arrayOf(self->children()); }))
        .method("addChildViewController:", Imp::of(&UIViewController::addChild))
        .method("removeFromParentViewController", Imp::of(&UIViewController::removeFromParent))
        .method("willMoveToParentViewController:", Imp::of([](UIViewController*, Selector, Object*) {}))
        .method("didMoveToParentViewController:", Imp::of([](UIViewController*, Selector, Object*) {}))
        .method("presentViewController:animated:completion:",
            Imp::of([owner](UIViewController* self, Selector, UIViewController* controller, bool animated,
                        Block<void()> completion) {
                self->present(*owner, controller, transitionFor(animated), std::move(completion));
            }))
        .method("presentedViewController", Imp::of(&UIViewController::presented))
        .method("presentingViewController", Imp::of(&UIViewController::presenting))
        .method("dismissViewControllerAnimated:completion:",
            Imp::of([owner](UIViewController* self, Selector, bool animated, Block<void()> completion) {
                self->dismissPresented(*owner, transitionFor(animated), std::move(completion));
            }));
}

} // namespace uikit
