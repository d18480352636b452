#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/NSLayoutAnchor.h"

namespace uikit {

// A linear relation between two anchors, or between a dimension and a
// constant: `first relation multiplier × second + constant`, held with a
// priority (1000, the default, is required).
//
// An active constraint is owned by the view of its first anchor and takes
// part in the layout of that view's tree (see LayoutEngine). Activating
// asks nothing of the views' places: a constraint between views of different
// trees is reported when the tree is laid out, and skipped. Like the
// platform, a view that leaves its superview deactivates the constraints
// between its subtree and the rest, and a view that goes deactivates its own.
//
// Messages: isActive, setActive:, active, constant, setConstant:, priority,
// setPriority:, multiplier, firstItem, secondItem, firstAnchor, secondAnchor,
// and +activateConstraints:, +deactivateConstraints: (arrays).
class NSLayoutConstraint : public runtime::NSObject {
public:
    enum class Relation : int8_t { LessOrEqual = -1, Equal = 0, GreaterOrEqual = 1 };
    static constexpr double requiredPriority = 1000;

    using NSObject::NSObject;

    // A new, inactive constraint; `second` is nil for a constant.
    static runtime::Ref<NSLayoutConstraint> make(
        runtime::Runtime&, NSLayoutAnchor* first, Relation, NSLayoutAnchor* second, double multiplier, double constant);

    NSLayoutAnchor* firstAnchor() const { return m_first.get(); }
    NSLayoutAnchor* secondAnchor() const { return m_second.get(); }
    UIView* firstItem() const;
    UIView* secondItem() const;
    Relation relation() const { return m_relation; }
    double multiplier() const { return m_multiplier; }

    double constant() const { return m_constant; }
    // Takes effect at the next layout, re-solving only what the constant moves.
    void setConstant(double constant);
    double priority() const { return m_priority; }
    // Clamped to [1, 1000]; a change of an active constraint re-solves its tree in full.
    void setPriority(double);
    bool isRequired() const { return m_priority >= requiredPriority; }

    bool isActive() const { return m_active; }
    // Activation of a constraint whose first view has gone is refused.
    void setActive(bool);

    // "<UILabel 0x...>.top == <UIView 0x...>.bottom + 4", for reports.
    std::string describe() const;

    static void registerClass(device::Process&);

private:
    void activate();
    void deactivate();

    runtime::Ref<NSLayoutAnchor> m_first;
    runtime::Ref<NSLayoutAnchor> m_second;
    Relation m_relation { Relation::Equal };
    double m_multiplier { 1 };
    double m_constant { 0 };
    double m_priority { requiredPriority };
    bool m_active { false };
};

} // namespace uikit
