#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/graphics/Forward.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIResponder.h"
#include "platform/uikit/ViewLayoutState.h"

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
    ~UIView() override;

    Rect frame() const { return m_frame; }
    void setFrame(Rect);
    Rect bounds() const { return m_bounds; }
    void setBounds(Rect);

    UIView* superview() const { return m_superview; }
    const std::vector<runtime::Ref<UIView>>& subviews() const { return m_subviews; }
    // The window at the top of the view's superview chain; a window is its own.
    UIWindow* window() const;
    bool isDescendantOf(const UIView*) const;

    // A point of this view's bounds on the screen (through every frame and
    // bounds up to the window, then the window's frame), and back. A view
    // outside a window counts its root as lying at the screen's origin.
    Point pointOnScreen(Point) const;
    Point pointFromScreen(Point) const;
    // Between this view and `other`; a nil `other` is the view's window.
    Point convertPointTo(Point, const UIView* other) const;
    Point convertPointFrom(Point, const UIView* other) const;

    // The view that takes a touch at `point` (this view's coordinates): nil
    // when this view is hidden, more transparent than 0.01, without user
    // interaction, or the point is not inside it (`pointInside:withEvent:`);
    // else the first subview, front to back, that answers
    // `hitTest:withEvent:` with a view, or this view. Both go through the run
    // time, so a class may override either.
    UIView* hitTest(Point, UIEvent*);
    bool pointInside(Point) const;

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

    // The layer holding what the view draws beneath its content, made on
    // first use. The view's background colour and clipping are its layer's.
    CALayer* layer() const;
    CALayer* existingLayer() const { return m_layer.get(); }
    UIColor* backgroundColor() const;
    void setBackgroundColor(UIColor*);
    bool clipsToBounds() const;
    void setClipsToBounds(bool);
    // The colour controls of the view draw their accents in: its own, else
    // its superview's; nil when no view of the chain has one (the controls
    // then use the system blue).
    UIColor* tintColor() const;
    void setTintColor(UIColor*);
    // A UIViewContentMode: how content such as a picture fills the bounds.
    int64_t contentMode() const { return m_contentMode; }
    void setContentMode(int64_t mode) { m_contentMode = mode; }

    // The size the view's content asks for when it may be `availableWidth`
    // points wide (zero or less: as wide as it likes), or nothing for a view
    // without one, such as a plain view. The layout engine reads it; labels
    // and image views answer it.
    virtual std::optional<Size> intrinsicContentSize(double availableWidth) const;
    // The blur style (a UIBlurEffectStyle) of a view that shows a blur of
    // what lies beneath it, or nothing. For a style, the renderer blurs what
    // is drawn beneath the view's frame and tints it by the style; a blur
    // view class overrides this hook.
    virtual std::optional<int64_t> blurStyle() const;
    // Draws the view's own content (text, a picture) in a box of `size`
    // (the view's size as shown, which an animation may make differ from its
    // bounds) with `alpha` applied, the canvas's origin at the view's top-left
    // corner. The renderer draws the background before and the subviews after.
    virtual void drawContent(graphics::Canvas&, const Size& size, double alpha) const;

    // The controller whose view this is, if any.
    UIViewController* viewController() const;
    void setViewController(UIViewController*);

    // Constraint layout and animation (see LayoutEngine and ViewAnimation).
    // The state is made the first time the view takes part in either.
    ViewLayoutState& layoutState();
    ViewLayoutState* existingLayoutState() const { return m_layoutState.get(); }
    bool translatesAutoresizingMaskIntoConstraints() const;
    void setTranslatesAutoresizingMaskIntoConstraints(bool);
    // A UIViewAutoresizing mask: how the frame follows the superview's size
    // while the view's own constraints come from its frame.
    uint64_t autoresizingMask() const;
    void setAutoresizingMask(uint64_t);
    // Solves the constraints of the view's whole tree and writes its frames;
    // the views of the tree no longer need layout.
    void layoutIfNeeded();
    // Marks the view and its superview chain as needing layout; a view in a
    // window asks its process's display cycle for a pass, which also runs
    // before the screen is drawn.
    void setNeedsLayout();
    bool needsLayout() const { return m_needsLayout; }
    // Tells the layout that the view's content asks for another size, and
    // marks the view as needing layout: a view with an intrinsic size calls
    // it whenever its content changes.
    void invalidateIntrinsicContentSize();
    // Changes whenever the intrinsic size may have; a view whose size comes
    // from another's (a button's from its title label) adds that one's.
    virtual uint64_t intrinsicContentGeneration() const;
    // The parts of the view that the device's bars and rounded corners
    // cover, from its window's place on the screen; zero outside a window.
    EdgeInsets safeAreaInsets() const;

    static void registerClass(device::Process&);

private:
    static void defineHierarchyMethods(runtime::ClassBuilder&);
    void frameDidChange(const Rect& old);
    // The whole subtree: a view that did not need layout may still hold a
    // subtree that was marked before it joined.
    void clearNeedsLayout();
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
    bool m_needsLayout { false };
    foundation::Value m_gestureRecognizers;
    mutable runtime::Ref<CALayer> m_layer;
    int64_t m_contentMode { 0 };
    // A UIColor, held as an object so that subclasses need not see the type.
    runtime::Ref<runtime::Object> m_tintColor;
    std::unique_ptr<ViewLayoutState> m_layoutState;
};

} // namespace uikit
