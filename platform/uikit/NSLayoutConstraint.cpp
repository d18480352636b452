#include "platform/uikit/NSLayoutConstraint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/uikit/DisplayCycle.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    std::string describeItem(const NSLayoutAnchor* anchor)
    {
        char buffer[160];
        UIView* view = anchor->view();
        std::snprintf(buffer, sizeof buffer, "<%s %p>.%s", view ? runtime::classNameOf(view).data() : "nil",
            static_cast<const void*>(view), nameOf(anchor->attribute()));
        return buffer;
    }

    std::string formatNumber(double value)
    {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return buffer;
    }

    void forEachConstraintIn(const Value& array, bool active)
    {
        for (auto& item : array.items()) {
            if (auto* constraint = dynamic_cast<NSLayoutConstraint*>(item.object()))
                constraint->setActive(active);
        }
    }

} // namespace

Ref<NSLayoutConstraint> NSLayoutConstraint::make(runtime::Runtime& runtime, NSLayoutAnchor* first, Relation relation,
    NSLayoutAnchor* second, double multiplier, double constant)
{
    auto object = runtime::alloc(runtime.classNamed("NSLayoutConstraint"));
    Ref<NSLayoutConstraint> constraint(dynamic_cast<NSLayoutConstraint*>(object.get()));
    if (!constraint)
        return nullptr;
    constraint->m_first = first;
    constraint->m_second = second;
    constraint->m_relation = relation;
    constraint->m_multiplier = multiplier;
    constraint->m_constant = constant;
    return constraint;
}

UIView* NSLayoutConstraint::firstItem() const
{
    return m_first ? m_first->view() : nullptr;
}

UIView* NSLayoutConstraint::secondItem() const
{
    return m_second ? m_second->view() : nullptr;
}

void NSLayoutConstraint::setConstant(double constant)
{
    if (constant == m_constant)
        return;
    m_constant = constant;
    if (UIView* view = firstItem(); view && m_active)
        layoutInputDidChange(*view);
}

void NSLayoutConstraint::setPriority(double priority)
{
    priority = std::isnan(priority) ? requiredPriority : std::clamp(priority, 1.0, requiredPriority);
    if (priority == m_priority)
        return;
    m_priority = priority;
    if (m_active) {
        if (UIView* view = firstItem())
            setTreeNeedsRebuild(*view);
    }
}

void NSLayoutConstraint::setActive(bool active)
{
    if (active == m_active)
        return;
    if (active)
        activate();
    else
        deactivate();
}

void NSLayoutConstraint::activate()
{
    UIView* first = firstItem();
    if (!first || (m_second && !m_second->view())) {
        runtime::console("uikit: the constraint " + describe() + " names a view that has gone; it stays inactive");
        return;
    }
    m_active = true;
    first->layoutState().constraints.emplace_back(this);
    setTreeNeedsRebuild(*first);
    if (UIView* second = secondItem()) {
        second->layoutState().referencingConstraints.emplace_back(this);
        setTreeNeedsRebuild(*second);
    }
}

void NSLayoutConstraint::deactivate()
{
    Ref<NSLayoutConstraint> protect(this);
    m_active = false;
    if (UIView* second = secondItem()) {
        if (ViewLayoutState* state = second->existingLayoutState()) {
            std::erase_if(state->referencingConstraints, [this](auto& weak) {
                NSLayoutConstraint* constraint = weak.get();
                return !constraint || constraint == this;
            });
        }
        setTreeNeedsRebuild(*second);
    }
    if (UIView* first = firstItem()) {
        setTreeNeedsRebuild(*first);
        if (ViewLayoutState* state = first->existingLayoutState())
            std::erase_if(state->constraints, [this](auto& constraint) { return constraint.get() == this; });
    }
}

std::string NSLayoutConstraint::describe() const
{
    static constexpr const char* relations[] = { " <= ", " == ", " >= " };
    std::string text = m_first ? describeItem(m_first.get()) : "nil";
    text += relations[static_cast<int>(m_relation) + 1];
    if (m_second) {
        if (m_multiplier != 1)
            text += formatNumber(m_multiplier) + " * ";
        text += describeItem(m_second.get());
        if (m_constant != 0)
            text += (m_constant < 0 ? " - " : " + ") + formatNumber(std::abs(m_constant));
    } else {
        text += formatNumber(m_constant);
    }
    if (m_priority < requiredPriority)
        text += " @" + formatNumber(m_priority);
    return text;
}

void NSLayoutConstraint::registerClass(device::Process& process)
{
    auto item = [](NSLayoutAnchor* anchor) -> Object* { return anchor ? anchor->view() : nullptr; };
    auto* owner = &process;
    auto needsLayout = [owner] { DisplayCycle::of(*owner).setNeedsLayout(); };
    runtime::ClassBuilder::define<NSLayoutConstraint>(process.runtime(), "NSLayoutConstraint", "NSObject")
        .method("isActive", Imp::of(&NSLayoutConstraint::isActive))
        .method("active", Imp::of(&NSLayoutConstraint::isActive))
        .method("setActive:", Imp::of([needsLayout](NSLayoutConstraint* self, Selector, bool active) {
            self->setActive(active);
            needsLayout();
        }))
        .method("constant", Imp::of(&NSLayoutConstraint::constant))
        .method("setConstant:", Imp::of([needsLayout](NSLayoutConstraint* self, Selector, double constant) {
            self->setConstant(constant);
            needsLayout();
        }))
        .method("priority", Imp::of(&NSLayoutConstraint::priority))
        .method("setPriority:", Imp::of([needsLayout](NSLayoutConstraint* self, Selector, double priority) {
            self->setPriority(priority);
            needsLayout();
        }))
        .method("multiplier", Imp::of(&NSLayoutConstraint::multiplier))
        .method("relation",
            Imp::of([](NSLayoutConstraint* self, Selector) { return static_cast<int64_t>(self->relation()); }))
        .method(
            "firstAnchor", Imp::of([](NSLayoutConstraint* self, Selector) -> Object* { return self->firstAnchor(); }))
        .method(
            "secondAnchor", Imp::of([](NSLayoutConstraint* self, Selector) -> Object* { return self->secondAnchor(); }))
        .method("firstItem",
            Imp::of([item](NSLayoutConstraint* self, Selector) -> Object* { return item(self->firstAnchor()); }))
        .method("secondItem",
            Imp::of([item](NSLayoutConstraint* self, Selector) -> Object* { return item(self->secondAnchor()); }))
        .method("description", Imp::of([](NSLayoutConstraint* self, Selector) { return Value(self->describe()); }))
        .classMethod("activateConstraints:", Imp::of([needsLayout](Object*, Selector, const Value& constraints) {
            forEachConstraintIn(constraints, true);
            needsLayout();
        }))
        .classMethod("deactivateConstraints:", Imp::of([needsLayout](Object*, Selector, const Value& constraints) {
            forEachConstraintIn(constraints, false);
            needsLayout();
        }));
}

} // namespace uikit
