#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "platform/runtime/Ref.h"
#include "platform/uikit/NSLayoutAnchor.h"
#include "platform/uikit/ViewAnimation.h"

namespace uikit {

class LayoutEngine;
class NSLayoutConstraint;

// UIViewAutoresizing.
enum AutoresizingMask : uint64_t {
    FlexibleLeftMargin = 1 << 0,
    FlexibleWidth = 1 << 1,
    FlexibleRightMargin = 1 << 2,
    FlexibleTopMargin = 1 << 3,
    FlexibleHeight = 1 << 4,
    FlexibleBottomMargin = 1 << 5,
};

// What a view keeps for constraint layout and animation, made the first
// time the view takes part in either (see UIView::layoutState).
struct ViewLayoutState {
    ViewLayoutState();
    // Deactivates the constraints that involve the view, which is going.
    ~ViewLayoutState();
    ViewLayoutState(const ViewLayoutState&) = delete;
    ViewLayoutState& operator=(const ViewLayoutState&) = delete;

    bool translatesAutoresizingMaskIntoConstraints { true };
    uint64_t autoresizingMask { 0 };
    std::array<runtime::Ref<NSLayoutAnchor>, layoutAttributeCount> anchors;
    // Active constraints whose first anchor is the view's; owned here.
    std::vector<runtime::Ref<NSLayoutConstraint>> constraints;
    // Active constraints whose second anchor is the view's.
    std::vector<runtime::WeakRef<NSLayoutConstraint>> referencingConstraints;
    // The engine of the tree whose root the view is; made by the first layout.
    std::unique_ptr<LayoutEngine> engine;
    // Brings constraints the view manages itself up to date before each
    // layout of its tree (a stack view's arrangement).
    std::function<void()> updateConstraints;
    std::vector<PropertyAnimation> animations;
    // Bumped whenever the view's content asks for another size.
    uint64_t intrinsicContentGeneration { 0 };
};

// The frame of a view whose autoresizing mask follows its superview's
// bounds as they change from `oldSize` to `newSize`: each flexible part
// takes a share of the change in proportion to its current length.
Rect autoresizedFrame(const Rect& frame, uint64_t mask, const Size& oldSize, const Size& newSize);

// Gives the subviews that translate their autoresizing masks their frames
// for the superview's new size.
void autoresizeSubviews(UIView& superview, const Size& oldSize);

// Called by UIView as the tree changes: a subtree is about to leave its
// superview, or has just joined one, or is about to move to another window
// (nil: to none).
void subtreeWillDetach(UIView& subtree);
void subtreeDidAttach(UIView& subtree);
void subtreeWillMoveToWindow(UIView& subtree, UIWindow* oldWindow, UIWindow* newWindow);
// The engine of the tree that `view` belongs to must collect its views and
// constraints again before the next layout.
void setTreeNeedsRebuild(UIView& view);
// Something the layout of `view`'s tree reads changed: the view's frame,
// bounds, autoresizing mask or intrinsic size, or the constant of an active
// constraint whose first item it is. Only the parts of the tree that such
// a change reaches are solved again at the next layout.
void layoutInputDidChange(UIView& view);

} // namespace uikit
