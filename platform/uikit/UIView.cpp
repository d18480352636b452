#include "platform/uikit/UIView.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/DisplayCycle.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewAnimation.h"
#include "platform/uikit/ViewFactory.h"
#include "platform/uikit/ViewLayoutState.h"

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
        subtreeWillMoveToWindow(*view, view->window(), newWindow);
        for (auto& member : subtreeOf(view))
            runtime::send(member.get(), SEL("willMoveToWindow:"), static_cast<Object*>(newWindow));
    }

    void announceDidMoveToWindow(UIView* view)
    {
        for (auto& member : subtreeOf(view))
            runtime::send(member.get(), SEL("didMoveToWindow"));
    }

} // namespace

UIView::~UIView() = default;

void UIView::setFrame(Rect frame)
{
    Rect old = m_frame;
    m_frame = frame;
    m_bounds.size = frame.size;
    if (old != m_frame)
        frameDidChange(old);
}

void UIView::setBounds(Rect bounds)
{
    Rect old = m_frame;
    Rect oldBounds = m_bounds;
    m_bounds = bounds;
    m_frame.size = bounds.size;
    if (old != m_frame)
        frameDidChange(old);
    else if (oldBounds != m_bounds)
        layoutInputDidChange(*this);
}

// Subviews that follow their superview's size by their autoresizing mask
// take their new frames before anything else sees this one.
void UIView::frameDidChange(const Rect& old)
{
    recordFrameChange(*this, old, m_frame);
    layoutInputDidChange(*this);
    if (old.size != m_frame.size)
        autoresizeSubviews(*this, old.size);
}

void UIView::setAlpha(double alpha)
{
    double old = m_alpha;
    m_alpha = std::clamp(alpha, 0.0, 1.0);
    if (old != m_alpha)
        recordAlphaChange(*this, old, m_alpha);
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

Point UIView::pointOnScreen(Point point) const
{
    for (const UIView* view = this; view; view = view->m_superview) {
        point.x += view->m_frame.origin.x - view->m_bounds.origin.x;
        point.y += view->m_frame.origin.y - view->m_bounds.origin.y;
    }
    // The root's own frame places a window on the screen; a bare root lies at the origin.
    return point;
}

Point UIView::pointFromScreen(Point point) const
{
    Point zero = pointOnScreen({});
    return { point.x - zero.x, point.y - zero.y };
}

Point UIView::convertPointTo(Point point, const UIView* other) const
{
    if (!other)
        other = window();
    return other ? other->pointFromScreen(pointOnScreen(point)) : pointOnScreen(point);
}

Point UIView::convertPointFrom(Point point, const UIView* other) const
{
    if (!other)
        other = window();
    return pointFromScreen(other ? other->pointOnScreen(point) : point);
}

bool UIView::pointInside(Point point) const
{
    return point.x >= m_bounds.origin.x && point.y >= m_bounds.origin.y
        && point.x < m_bounds.origin.x + m_bounds.size.width && point.y < m_bounds.origin.y + m_bounds.size.height;
}

UIView* UIView::hitTest(Point point, UIEvent* event)
{
    if (m_hidden || m_alpha < 0.01 || !m_userInteractionEnabled)
        return nullptr;
    if (!runtime::send<bool>(this, SEL("pointInside:withEvent:"), point, static_cast<Object*>(event)))
        return nullptr;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it) {
        UIView* child = it->get();
        Point inChild { point.x - child->m_frame.origin.x + child->m_bounds.origin.x,
            point.y - child->m_frame.origin.y + child->m_bounds.origin.y };
        auto hit = runtime::send<Ref<Object>>(child, SEL("hitTest:withEvent:"), inChild, static_cast<Object*>(event));
        if (auto* view = dynamic_cast<UIView*>(hit.get()))
            return view;
    }
    return this;
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
        runtime::console("uikit: a view cannot become a subview of itself or of one of its own subviews");
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
    subtreeDidAttach(*child);
    // A subtree that waits for layout makes its new tree wait too.
    if (child->m_needsLayout)
        setNeedsLayout();
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
    subtreeWillDetach(*this);
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

CALayer* UIView::layer() const
{
    if (!m_layer)
        m_layer = instantiate<CALayer>(isa()->runtime(), "CALayer");
    return m_layer.get();
}

UIColor* UIView::backgroundColor() const
{
    return m_layer ? m_layer->backgroundColor() : nullptr;
}

void UIView::setBackgroundColor(UIColor* color)
{
    if (CALayer* drawing = layer())
        drawing->setBackgroundColor(color);
}

UIColor* UIView::tintColor() const
{
    for (const UIView* view = this; view; view = view->superview()) {
        if (view->m_tintColor)
            return static_cast<UIColor*>(view->m_tintColor.get());
    }
    return nullptr;
}

void UIView::setTintColor(UIColor* color)
{
    m_tintColor = Ref<Object>(color);
}

bool UIView::clipsToBounds() const
{
    return m_layer && m_layer->masksToBounds();
}

void UIView::setClipsToBounds(bool clips)
{
    if (CALayer* drawing = layer())
        drawing->setMasksToBounds(clips);
}

std::optional<Size> UIView::intrinsicContentSize(double) const
{
    return std::nullopt;
}

std::optional<int64_t> UIView::blurStyle() const
{
    return std::nullopt;
}

void UIView::drawContent(graphics::Canvas&, const Size&, double) const { }

ViewLayoutState& UIView::layoutState()
{
    if (!m_layoutState)
        m_layoutState = std::make_unique<ViewLayoutState>();
    return *m_layoutState;
}

bool UIView::translatesAutoresizingMaskIntoConstraints() const
{
    return !m_layoutState || m_layoutState->translatesAutoresizingMaskIntoConstraints;
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates)
{
    if (translates == translatesAutoresizingMaskIntoConstraints())
        return;
    layoutState().translatesAutoresizingMaskIntoConstraints = translates;
    setTreeNeedsRebuild(*this);
}

uint64_t UIView::autoresizingMask() const
{
    return m_layoutState ? m_layoutState->autoresizingMask : 0;
}

void UIView::setAutoresizingMask(uint64_t mask)
{
    if (mask == autoresizingMask())
        return;
    layoutState().autoresizingMask = mask;
    layoutInputDidChange(*this);
}

void UIView::layoutIfNeeded()
{
    UIView* root = this;
    while (root->m_superview)
        root = root->m_superview;
    ViewLayoutState& state = root->layoutState();
    if (!state.engine)
        state.engine = std::make_unique<LayoutEngine>(*root);
    Ref<UIView> protect(root);
    // Marks made while the pass runs (a layoutSubviews asking again) stay.
    root->clearNeedsLayout();
    state.engine->layout();
}

// A mark always reaches the root (setNeedsLayout marks every ancestor, and a
// subtree that joins with a mark passes it on), so a view without one has
// none below it and the walk stops there.
void UIView::clearNeedsLayout()
{
    if (!m_needsLayout)
        return;
    m_needsLayout = false;
    for (auto& subview : m_subviews)
        subview->clearNeedsLayout();
}

void UIView::setNeedsLayout()
{
    UIView* view = this;
    view->m_needsLayout = true;
    while (view->m_superview) {
        view = view->m_superview;
        view->m_needsLayout = true;
    }
    if (auto* window = dynamic_cast<UIWindow*>(view); window && window->process())
        DisplayCycle::of(*window->process()).setNeedsLayout();
}

void UIView::invalidateIntrinsicContentSize()
{
    ++layoutState().intrinsicContentGeneration;
    layoutInputDidChange(*this);
    setNeedsLayout();
}

uint64_t UIView::intrinsicContentGeneration() const
{
    return m_layoutState ? m_layoutState->intrinsicContentGeneration : 0;
}

EdgeInsets UIView::safeAreaInsets() const
{
    UIWindow* window = this->window();
    if (!window)
        return {};
    // The view's rectangle on the screen: its window's frame is in screen coordinates.
    Rect rect { m_superview ? m_superview->pointOnScreen(m_frame.origin) : m_frame.origin, m_frame.size };
    EdgeInsets bands = window->screenSafeAreaInsets();
    double screenBottom = window->screenHeight();
    double height = std::max(rect.height(), 0.0);
    EdgeInsets insets;
    insets.top = std::clamp(bands.top - rect.minY(), 0.0, height);
    insets.bottom = std::clamp(rect.maxY() - (screenBottom - bands.bottom), 0.0, height);
    return insets;
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
    auto builder = runtime::ClassBuilder::define<UIView>(process.runtime(), "UIView", "UIResponder");
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
        .property("frame", "setFrame:", &UIView::frame, &UIView::setFrame)
        .property("bounds", "setBounds:", &UIView::bounds, &UIView::setBounds)
        .method("hitTest:withEvent:", Imp::of(&UIView::hitTest))
        .method("pointInside:withEvent:",
            Imp::of([](UIView* self, Selector, Point point, Object*) { return self->pointInside(point); }))
        .method("convertPoint:toView:", Imp::of([](UIView* self, Selector, Point point, UIView* view) {
            return self->convertPointTo(point, view);
        }))
        .method("convertPoint:fromView:", Imp::of([](UIView* self, Selector, Point point, UIView* view) {
            return self->convertPointFrom(point, view);
        }))
        .property("isHidden", "setHidden:", &UIView::isHidden, &UIView::setHidden)
        .property("alpha", "setAlpha:", &UIView::alpha, &UIView::setAlpha)
        .property("isUserInteractionEnabled", "setUserInteractionEnabled:", &UIView::isUserInteractionEnabled,
            &UIView::setUserInteractionEnabled)
        .method("userInteractionEnabled", Imp::of(&UIView::isUserInteractionEnabled))
        .method("addGestureRecognizer:", Imp::of(&UIView::addGestureRecognizer))
        .method("removeGestureRecognizer:", Imp::of(&UIView::removeGestureRecognizer))
        .method("gestureRecognizers", Imp::of([](UIView* self, Selector) { return self->m_gestureRecognizers; }))
        .method("layer", Imp::of(&UIView::layer))
        .property("backgroundColor", "setBackgroundColor:", &UIView::backgroundColor, &UIView::setBackgroundColor)
        .property("clipsToBounds", "setClipsToBounds:", &UIView::clipsToBounds, &UIView::setClipsToBounds)
        .method("tintColor", Imp::of([](UIView* self, Selector) -> Ref<Object> {
            if (UIColor* color = self->tintColor())
                return Ref<Object>(color);
            return UIColor::make(self->isa()->runtime(), systemBlue.red, systemBlue.green, systemBlue.blue, 1);
        }))
        .method("setTintColor:", Imp::of(&UIView::setTintColor))
        .property("contentMode", "setContentMode:", &UIView::contentMode, &UIView::setContentMode)
        // A controller's view passes events to its controller, any other view to its superview.
        .method("nextResponder", Imp::of([](UIView* self, Selector) -> Object* {
            if (UIViewController* controller = self->viewController())
                return controller;
            return self->superview();
        }))
        .method("dealloc", Imp::of([cls](UIView* self, Selector) { self->deallocate(*cls); }))
        .ivar("_gestureRecognizers", &UIView::m_gestureRecognizers);
    defineHierarchyMethods(builder);
}

void UIView::defineHierarchyMethods(runtime::ClassBuilder& builder)
{
    builder.method("superview", Imp::of(&UIView::superview))
        .method("subviews", Imp::of([](UIView* self, Selector) { return Value::arrayOf(self->subviews()); }))
        .method("window", Imp::of(&UIView::window))
        .method("isDescendantOfView:", Imp::of([](UIView* self, Selector, UIView* ancestor) {
            return ancestor && self->isDescendantOf(ancestor);
        }))
        .method("addSubview:", Imp::of([](UIView* self, Selector, UIView* view) { self->addSubview(view); }))
        .method("insertSubview:atIndex:", Imp::of([](UIView* self, Selector, UIView* view, int64_t index) {
            self->insertSubview(view, static_cast<size_t>(std::max<int64_t>(index, 0)));
        }))
        // Reorder a subview of this view; any other view is left where it is.
        .method("sendSubviewToBack:", Imp::of([](UIView* self, Selector, UIView* subview) {
            if (subview && subview->superview() == self)
                self->insertSubview(subview, 0);
        }))
        .method("bringSubviewToFront:", Imp::of([](UIView* self, Selector, UIView* subview) {
            if (subview && subview->superview() == self)
                self->insertSubview(subview, self->subviews().size());
        }))
        .method("removeFromSuperview", Imp::of(&UIView::removeFromSuperview))
        // Announcements a subclass or a plug-in may act on; a plain view does nothing.
        .method("willMoveToSuperview:", Imp::of([](UIView*, Selector, Object*) {}))
        .method("didMoveToSuperview", Imp::of([](UIView*, Selector) {}))
        .method("willMoveToWindow:", Imp::of([](UIView*, Selector, Object*) {}))
        .method("didMoveToWindow", Imp::of([](UIView*, Selector) {}));
}

} // namespace uikit
