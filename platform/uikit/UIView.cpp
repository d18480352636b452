#include "platform/uikit/UIView.h"

#include <algorithm>
#include <cstdio>

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

void collectSubtree(UIView* view, std::vector<Ref<UIView>>& views)
{
    views.emplace_back(view);
    for (auto& subview : view->subviews())
        collectSubtree(subview.get(), views);
}

// The subtree is taken before any message goes out, so a receiver that
// changes the tree cannot make the walk skip or repeat a view.
std::vector<Ref<UIView>> subtreeOf(UIView* view)
{
    std::vector<Ref<UIView>> views;
    collectSubtree(view, views);
    return views;
}

void announceWillMoveToWindow(UIView* view, UIWindow* newWindow)
{
    for (auto& member : subtreeOf(view))
        runtime::send(member.get(), SEL("willMoveToWindow:"), static_cast<Object*>(newWindow));
}

void announceDidMoveToWindow(UIView* view)
{
    for (auto& member : subtreeOf(view))
        runtime::send(member.get(), SEL("didMoveToWindow"));
}

Value arrayOf(const std::vector<Ref<UIView>>& views)
{
    Value result = Value::array();
    for (auto& view : views)
        result.append(Value(view));
    return result;
}

} // namespace

void UIView::setFrame(Rect frame)
{
    m_frame = frame;
    m_bounds.size = frame.size;
}

void UIView::setBounds(Rect bounds)
{
    m_bounds = bounds;
    m_frame.size = bounds.size;
}

void UIView::setAlpha(double alpha)
{
    m_alpha = std::clamp(alpha, 0.0, 1.0);
}

UIWindow* UIView::window() const
{
    const UIView* top = this;
    while (top->m_superview)
        top = top->m_superview;
    return dynamic_cast<UIWindow*>(const_cast<UIView*>(top));
}

bool UIView::isDescendantOf(const UIView* ancestor) const
{
    for (const UIView* view = this; view; view = view->m_superview) {
        if (view == ancestor)
            return true;
    }
    return false;
}

bool UIView::addSubview(UIView* view)
{
    return insertSubview(view, m_subviews.size());
}

bool UIView::insertSubview(UIView* view, size_t index)
{
    if (!view)
        return false;
    if (isDescendantOf(view)) {
        std::fprintf(stderr, "uikit: a view cannot become a subview of itself or of one of its own subviews\n");
        return false;
    }
    Ref<UIView> protect(view);
    if (view->m_superview == this) {
        // Only the order changes; the view stays where it was.
        m_subviews.erase(std::find(m_subviews.begin(), m_subviews.end(), protect));
        m_subviews.insert(m_subviews.begin() + std::min(index, m_subviews.size()), protect);
        return true;
    }
    UIWindow* oldWindow = view->window();
    UIWindow* newWindow = window();
    runtime::send(view, SEL("willMoveToSuperview:"), static_cast<Object*>(this));
    if (oldWindow != newWindow)
        announceWillMoveToWindow(view, newWindow);
    view->detachFromSuperview();
    attach(view, index);
    runtime::send(view, SEL("didMoveToSuperview"));
    if (oldWindow != newWindow)
        announceDidMoveToWindow(view);
    return true;
}

void UIView::attach(UIView* child, size_t index)
{
    m_subviews.insert(m_subviews.begin() + std::min(index, m_subviews.size()), Ref<UIView>(child));
    child->m_superview = this;
}

void UIView::removeFromSuperview()
{
    if (!m_superview)
        return;
    Ref<UIView> protect(this);
    UIWindow* oldWindow = window();
    runtime::send(this, SEL("willMoveToSuperview:"), static_cast<Object*>(nullptr));
    if (oldWindow)
        announceWillMoveToWindow(this, nullptr);
    detachFromSuperview();
    runtime::send(this, SEL("didMoveToSuperview"));
    if (oldWindow)
        announceDidMoveToWindow(this);
}

void UIView::detachFromSuperview()
{
    if (!m_superview)
        return;
    auto& siblings = m_superview->m_subviews;
    auto it = std::find_if(siblings.begin(), siblings.end(), [this](auto& sibling) { return sibling.get() == this; });
    m_superview = nullptr;
    if (it != siblings.end())
        siblings.erase(it);
}

// A view that goes takes its subviews out of the tree; those still held
// elsewhere learn that they have no superview any more.
void UIView::detachSubviewsForDeallocation()
{
    auto children = std::move(m_subviews);
    m_subviews.clear();
    for (auto& child : children) {
        bool hadWindow = child->window() != nullptr;
        runtime::send(child.get(), SEL("willMoveToSuperview:"), static_cast<Object*>(nullptr));
        if (hadWindow)
            announceWillMoveToWindow(child.get(), nullptr);
        child->m_superview = nullptr;
        runtime::send(child.get(), SEL("didMoveToSuperview"));
        if (hadWindow)
            announceDidMoveToWindow(child.get());
    }
}

std::vector<Ref<UIGestureRecognizer>> UIView::gestureRecognizers() const
{
    std::vector<Ref<UIGestureRecognizer>> result;
    for (auto& item : m_gestureRecognizers.items()) {
        if (auto* recognizer = dynamic_cast<UIGestureRecognizer*>(item.object()))
            result.emplace_back(recognizer);
    }
    return result;
}

void UIView::addGestureRecognizer(UIGestureRecognizer* recognizer)
{
    if (!recognizer || recognizer->view() == this)
        return;
    Ref<UIGestureRecognizer> protect(recognizer);
    if (UIView* previous = recognizer->view())
        previous->removeGestureRecognizer(recognizer);
    m_gestureRecognizers.append(Value(static_cast<Object*>(recognizer)));
    recognizer->setView(this);
}

void UIView::removeGestureRecognizer(UIGestureRecognizer* recognizer)
{
    if (!recognizer)
        return;
    Ref<UIGestureRecognizer> protect(recognizer);
    Value remaining = Value::array();
    bool found = false;
    for (auto& item : m_gestureRecognizers.items()) {
        if (item.object() == recognizer)
            found = true;
        else
            remaining.append(item);
    }
    if (!found)
        return;
    m_gestureRecognizers = remaining;
    if (recognizer->view() == this)
        recognizer->setView(nullptr);
}

UIViewController* UIView::viewController() const
{
    return m_viewController.get();
}

void UIView::setViewController(UIViewController* controller)
{
    m_viewController = controller;
}

void UIView::deallocate(const runtime::Class& definingClass)
{
    // Recognizers refer to the view weakly and see it gone already.
    detachSubviewsForDeallocation();
    sendSuper(definingClass, this, SEL("dealloc"));
}

void UIView::registerClass(device::Process& process)
{
    auto builder = ClassBuilder::define<UIView>(process.runtime(), "UIView", "UIResponder");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithFrame:", Imp::of([](UIView* self, Selector, Rect frame) -> Object* {
            self->setFrame(frame);
            self->m_bounds.origin = {};
            return self;
        }))
        .method("init", Imp::of([](UIView* self, Selector) -> Ref<Object> {
            return runtime::send<Ref<Object>>(self, SEL("initWithFrame:"), Rect {});
        }))
        .method("frame", Imp::of(&UIView::frame))
        .method("setFrame:", Imp::of(&UIView::setFrame))
        .method("bounds", Imp::of(&UIView::bounds))
        .method("setBounds:", Imp::of(&UIView::setBounds))
        .method("superview", Imp::of([](UIView* self, Selector) -> Object* { return self->superview(); }))
        .method("subviews", Imp::of([](UIView* self, Selector) { return arrayOf(self->subviews()); }))
        .method("window", Imp::of([](UIView* self, Selector) -> Object* { return self->window(); }))
        .method("isDescendantOfView:", Imp::of([](UIView* self, Selector, Object* view) {
            auto* ancestor = dynamic_cast<UIView*>(view);
            return ancestor && self->isDescendantOf(ancestor);
        }))
        .method("addSubview:",
            Imp::of([](UIView* self, Selector, Object* view) { self->addSubview(dynamic_cast<UIView*>(view)); }))
        .method("insertSubview:atIndex:", Imp::of([](UIView* self, Selector, Object* view, int64_t index) {
            self->insertSubview(dynamic_cast<UIView*>(view), static_cast<size_t>(std::max<int64_t>(index, 0)));
        }))
        .method("removeFromSuperview", Imp::of(&UIView::removeFromSuperview))
        // Announcements a subclass or a plug-in may act on; a plain view does nothing.
        .method("willMoveToSuperview:", Imp::of([](UIView*, Selector, Object*) { }))
        .method("didMoveToSuperview", Imp::of([](UIView*, Selector) { }))
        .method("willMoveToWindow:", Imp::of([](UIView*, Selector, Object*) { }))
        .method("didMoveToWindow", Imp::of([](UIView*, Selector) { }))
        .method("isHidden", Imp::of(&UIView::isHidden))
        .method("setHidden:", Imp::of(&UIView::setHidden))
        .method("alpha", Imp::of(&UIView::alpha))
        .method("setAlpha:", Imp::of(&UIView::setAlpha))
        .method("isUserInteractionEnabled", Imp::of(&UIView::isUserInteractionEnabled))
        .method("userInteractionEnabled", Imp::of(&UIView::isUserInteractionEnabled))
        .method("setUserInteractionEnabled:", Imp::of(&UIView::setUserInteractionEnabled))
        .method("addGestureRecognizer:", Imp::of([](UIView* self, Selector, Object* recognizer) {
            self->addGestureRecognizer(dynamic_cast<UIGestureRecognizer*>(recognizer));
        }))
        .method("removeGestureRecognizer:", Imp::of([](UIView* self, Selector, Object* recognizer) {
            self->removeGestureRecognizer(dynamic_cast<UIGestureRecognizer*>(recognizer));
        }))
        .method("gestureRecognizers", Imp::of([](UIView* self, Selector) { return self->m_gestureRecognizers; }))
        // A controller's view passes events to its controller, any other view to its superview.
        .method("nextResponder", Imp::of([](UIView* self, Selector) -> Object* {
            if (UIViewController* controller = self->viewController())
                return controller;
            return self->superview();
        }))
        .method("dealloc", Imp::of([cls](UIView* self, Selector) { self->deallocate(*cls); }))
        .ivar("_gestureRecognizers", &UIView::m_gestureRecognizers);
}

} // namespace uikit
