#include "platform/uikit/ViewLayoutState.h"

#include "platform/runtime/Send.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using runtime::Ref;

namespace {

    UIView* rootOf(UIView& view)
    {
        UIView* root = &view;
        while (root->superview())
            root = root->superview();
        return root;
    }

    void collectSubtree(UIView& view, std::vector<Ref<UIView>>& views)
    {
        views.emplace_back(&view);
        for (auto& subview : view.subviews())
            collectSubtree(*subview, views);
    }

    // The constraints between the subtree and the rest of its tree, which go
    // when the subtree leaves its superview.
    std::vector<Ref<NSLayoutConstraint>> constraintsLeaving(UIView& subtree)
    {
        std::vector<Ref<UIView>> views;
        collectSubtree(subtree, views);
        std::vector<Ref<NSLayoutConstraint>> leaving;
        for (auto& view : views) {
            ViewLayoutState* state = view->existingLayoutState();
            if (!state)
                continue;
            for (auto& constraint : state->constraints) {
                UIView* other = constraint->secondItem();
                if (other && !other->isDescendantOf(&subtree))
                    leaving.push_back(constraint);
            }
            for (auto& weak : state->referencingConstraints) {
                NSLayoutConstraint* constraint = weak.get();
                UIView* other = constraint ? constraint->firstItem() : nullptr;
                if (other && !other->isDescendantOf(&subtree))
                    leaving.emplace_back(constraint);
            }
        }
        return leaving;
    }

} // namespace

ViewLayoutState::ViewLayoutState() = default;

ViewLayoutState::~ViewLayoutState()
{
    // The view is going: the constraints that name it can hold no longer.
    auto owned = std::move(constraints);
    for (auto& constraint : owned)
        constraint->setActive(false);
    auto referencing = std::move(referencingConstraints);
    for (auto& weak : referencing) {
        if (Ref<NSLayoutConstraint> constraint = weak.strong())
            constraint->setActive(false);
    }
    for (auto& animation : animations) {
        if (animation.group)
            animation.group->cutShort();
    }
}

void autoresizeSubviews(UIView& superview, const Size& oldSize)
{
    Size newSize = superview.bounds().size;
    std::vector<Ref<UIView>> subviews(superview.subviews().begin(), superview.subviews().end());
    for (auto& subview : subviews) {
        const ViewLayoutState* state = subview->existingLayoutState();
        if (!state || !state->translatesAutoresizingMaskIntoConstraints || !state->autoresizingMask)
            continue;
        subview->setFrame(autoresizedFrame(subview->frame(), state->autoresizingMask, oldSize, newSize));
    }
}

void setTreeNeedsRebuild(UIView& view)
{
    ViewLayoutState* state = rootOf(view)->existingLayoutState();
    if (state && state->engine)
        state->engine->setNeedsRebuild(view);
}

void layoutInputDidChange(UIView& view)
{
    ViewLayoutState* state = rootOf(view)->existingLayoutState();
    if (state && state->engine)
        state->engine->setNeedsLayout(view);
}

void subtreeWillDetach(UIView& subtree)
{
    setTreeNeedsRebuild(subtree);
    for (auto& constraint : constraintsLeaving(subtree))
        constraint->setActive(false);
}

void subtreeDidAttach(UIView& subtree)
{
    if (ViewLayoutState* state = subtree.existingLayoutState())
        state->engine.reset();
    setTreeNeedsRebuild(subtree);
}

void subtreeWillMoveToWindow(UIView& subtree, UIWindow* oldWindow, UIWindow* newWindow)
{
    if (!oldWindow || oldWindow == newWindow)
        return;
    // A responder that leaves its window stops being its first responder,
    // whether or not it agrees to.
    Ref<UIResponder> responder(oldWindow->firstResponder());
    if (auto* view = dynamic_cast<UIView*>(responder.get()); view && view->isDescendantOf(&subtree)) {
        runtime::send<bool>(view, SEL("resignFirstResponder"));
        if (oldWindow->firstResponder() == view)
            oldWindow->setFirstResponder(nullptr);
    }
    cutShortAnimations(subtree);
}

} // namespace uikit
