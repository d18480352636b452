#pragma once

#include <vector>

#include "platform/foundation/Value.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIResponder.h"

namespace uikit {

// A rectangle on screen and the root of a tree of subviews. A view owns its
// subviews, in order from back to front; a subview's pointer to its
// superview is cleared by the superview. Moves into and out of a superview
// are announced through the run time (`willMoveToSuperview:`,
// `didMoveToSuperview`, and `willMoveToWindow:` / `didMoveToWindow` to every
// view of a subtree whose window changes), so a plug-in can follow them.
class UIView : public UIResponder {
public:
    using UIResponder::UIResponder;

    Rect frame() const { return m_frame; }
    void setFrame(Rect);
    Rect bounds() const { return m_bounds; }
    void setBounds(Rect);

    UIView* superview() const { return m_superview; }
    const std::vector<runtime::Ref<UIView>>& subviews() const { return m_subviews; }
    // The window at the top of the view's superview chain; a window is its own.
    UIWindow* window() const;
    bool isDescendantOf(const UIView*) const;

    // Puts `view` at the front (or at `index`) of this view's subviews,
    // taking it out of any other superview. Adding a view to itself or to
    // one of its own subviews is refused and answers false.
    bool addSubview(UIView*);
    bool insertSubview(UIView*, size_t index);
    void removeFromSuperview();

    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { m_hidden = hidden; }
    double alpha() const { return m_alpha; }
    void setAlpha(double);
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }

    // The recognizers attached to the view, in the order they were added.
    // They are kept in the instance variable "_gestureRecognizers", an
    // array value that is nil until the first recognizer arrives.
    std::vector<runtime::Ref<UIGestureRecognizer>> gestureRecognizers() const;
    void addGestureRecognizer(UIGestureRecognizer*);
    void removeGestureRecognizer(UIGestureRecognizer*);

    // The controller whose view this is, if any.
    UIViewController* viewController() const;
    void setViewController(UIViewController*);

    static void registerClass(device::Process&);

private:
    void attach(UIView* child, size_t index);
    void detachFromSuperview();
    void detachSubviewsForDeallocation();
    void deallocate(const runtime::Class& definingClass);

    Rect m_frame;
    Rect m_bounds;
    UIView* m_superview { nullptr };
    std::vector<runtime::Ref<UIView>> m_subviews;
    runtime::WeakRef<UIViewController> m_viewController;
    bool m_hidden { false };
    double m_alpha { 1 };
    bool m_userInteractionEnabled { true };
    foundation::Value m_gestureRecognizers;
};

} // namespace uikit
