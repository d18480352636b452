#pragma once

#include <optional>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

namespace uikit {

// Lays out its arranged subviews in a row (or a column) with constraints of
// its own, which it brings up to date before each layout of its tree: the
// first view's leading edge on the stack's, each next one `spacing` after
// the one before, the last one's trailing edge on the stack's; across the
// axis, by the alignment. Hidden arranged views take no room. With fill
// equally every view is as wide as the first; with fill the views keep their
// intrinsic widths as far as the stack allows, and which view takes up the
// rest when they hug alike is not specified (as on the platform). The other
// distributions lay out as fill.
//
// Arranged views are subviews too, with their autoresizing constraints
// turned off; a view that leaves the stack's subviews leaves the arranged
// views as well.
//
// Messages: initWithArrangedSubviews:, arrangedSubviews, addArrangedSubview:,
// insertArrangedSubview:atIndex:, removeArrangedSubview: (which keeps it as a
// subview), axis, setAxis: (0 horizontal, 1 vertical), distribution,
// setDistribution:, alignment, setAlignment: (0 fill, 1 leading or top, 2
// first baseline, taken as leading, 3 centre, 4 trailing or bottom, 5 last
// baseline, taken as trailing), spacing, setSpacing:.
class UIStackView : public UIView {
public:
    enum class Distribution : int64_t { Fill = 0, FillEqually = 1 };
    enum class Alignment : int64_t {
        Fill = 0,
        Leading = 1,
        FirstBaseline = 2,
        Center = 3,
        Trailing = 4,
        LastBaseline = 5
    };

    explicit UIStackView(runtime::Class*);

    std::vector<runtime::Ref<UIView>> arrangedSubviews() const;
    void addArrangedSubview(UIView*);
    void insertArrangedSubview(UIView*, size_t index);
    void removeArrangedSubview(UIView*);

    int64_t axis() const { return m_axis; }
    void setAxis(int64_t axis) { m_axis = axis; }
    int64_t distribution() const { return m_distribution; }
    void setDistribution(int64_t distribution) { m_distribution = distribution; }
    int64_t alignment() const { return m_alignment; }
    void setAlignment(int64_t alignment) { m_alignment = alignment; }
    double spacing() const { return m_spacing; }
    void setSpacing(double spacing) { m_spacing = spacing; }

    static void registerClass(device::Process&);

private:
    struct Arrangement {
        std::vector<UIView*> views;
        int64_t axis;
        int64_t distribution;
        int64_t alignment;
        double spacing;
        friend bool operator==(const Arrangement&, const Arrangement&) = default;
    };

    Arrangement currentArrangement() const;
    // Whether currentArrangement() would equal `arrangement`, without making
    // it: a layout asks every stack view of the window each time.
    bool arrangementIs(const Arrangement&) const;
    // Replaces the stack's constraints when the arrangement changed.
    void updateArrangement();
    void addConstraint(
        UIView* first, LayoutAttribute, int relation, UIView* second, LayoutAttribute, double constant = 0);

    std::vector<runtime::WeakRef<UIView>> m_arranged;
    std::vector<runtime::Ref<NSLayoutConstraint>> m_constraints;
    std::optional<Arrangement> m_applied;
    int64_t m_axis { 0 };
    int64_t m_distribution { 0 };
    int64_t m_alignment { 0 };
    double m_spacing { 0 };
};

} // namespace uikit
