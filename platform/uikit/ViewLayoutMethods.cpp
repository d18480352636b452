#include "platform/uikit/ViewLayoutMethods.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/DisplayCycle.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewAnimation.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

namespace {

    constexpr const char* anchorSelectors[layoutAttributeCount] = { "leadingAnchor", "trailingAnchor", "leftAnchor",
        "rightAnchor", "centerXAnchor", "widthAnchor", "topAnchor", "bottomAnchor", "centerYAnchor", "heightAnchor" };

    void setActive(Object* constraint, bool active)
    {
        if (auto* layoutConstraint = dynamic_cast<NSLayoutConstraint*>(constraint))
            layoutConstraint->setActive(active);
    }

} // namespace

void defineViewLayoutMethods(device::Process& process)
{
    auto* owner = &process;
    auto needsLayout = [owner] { DisplayCycle::of(*owner).setNeedsLayout(); };
    runtime::ClassBuilder builder(process.runtime(), *process.runtime().classNamed("UIView"));
    builder
        .method(
            "translatesAutoresizingMaskIntoConstraints", Imp::of(&UIView::translatesAutoresizingMaskIntoConstraints))
        .method("setTranslatesAutoresizingMaskIntoConstraints:",
            Imp::of([needsLayout](UIView* self, Selector, bool translates) {
                self->setTranslatesAutoresizingMaskIntoConstraints(translates);
                needsLayout();
            }))
        .method("autoresizingMask", Imp::of(&UIView::autoresizingMask))
        .method("setAutoresizingMask:", Imp::of(&UIView::setAutoresizingMask))
        .method("constraints", Imp::of([](UIView* self, Selector) {
            ViewLayoutState* state = self->existingLayoutState();
            return state ? Value::arrayOf(state->constraints) : Value::array();
        }))
        .method("addConstraint:", Imp::of([](UIView*, Selector, Object* constraint) { setActive(constraint, true); }))
        .method(
            "removeConstraint:", Imp::of([](UIView*, Selector, Object* constraint) { setActive(constraint, false); }))
        .method("addConstraints:", Imp::of([](UIView*, Selector, const Value& constraints) {
            for (auto& item : constraints.items())
                setActive(item.object(), true);
        }))
        .method("removeConstraints:", Imp::of([](UIView*, Selector, const Value& constraints) {
            for (auto& item : constraints.items())
                setActive(item.object(), false);
        }))
        .method("layoutIfNeeded", Imp::of(&UIView::layoutIfNeeded))
        .method("setNeedsLayout", Imp::of([needsLayout](UIView* self, Selector) {
            self->setNeedsLayout();
            needsLayout();
        }))
        .method("setNeedsUpdateConstraints", Imp::of([needsLayout](UIView*, Selector) { needsLayout(); }))
        // Constraint layout writes the frames of subviews; a subclass may do more.
        .method("layoutSubviews", Imp::of([](UIView*, Selector) {}))
        .method("invalidateIntrinsicContentSize", Imp::of([needsLayout](UIView* self, Selector) {
            self->invalidateIntrinsicContentSize();
            needsLayout();
        }))
        .method("intrinsicContentSize", Imp::of([](UIView* self, Selector) {
            return self->intrinsicContentSize(0).value_or(Size { -1, -1 });
        }))
        .method("safeAreaInsets", Imp::of(&UIView::safeAreaInsets))
        .classMethod("animateWithDuration:animations:",
            Imp::of([owner](Object*, Selector, double duration, Block<void()> animations) {
                animate(*owner, duration, animations, {});
            }))
        .classMethod("animateWithDuration:animations:completion:",
            Imp::of(
                [owner](Object*, Selector, double duration, Block<void()> animations, Block<void(bool)> completion) {
                    animate(*owner, duration, animations, std::move(completion));
                }))
        .classMethod("animateWithDuration:delay:options:animations:completion:",
            Imp::of([owner](Object*, Selector, double duration, double delay, uint64_t, Block<void()> animations,
                        Block<void(bool)> completion) {
                animate(*owner, duration, animations, std::move(completion), delay);
            }))
        .classMethod("performWithoutAnimation:",
            Imp::of([](Object*, Selector, Block<void()> changes) { performWithoutAnimation(changes); }));
    for (size_t i = 0; i < layoutAttributeCount; ++i) {
        auto attribute = static_cast<LayoutAttribute>(i);
        builder.method(anchorSelectors[i],
            Imp::of([attribute](UIView* self, Selector) -> Object* { return NSLayoutAnchor::of(*self, attribute); }));
    }
}

} // namespace uikit
