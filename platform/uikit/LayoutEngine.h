#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/runtime/Ref.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/NSLayoutAnchor.h"
#include "platform/uikit/layout/Solver.h"

namespace uikit {

// Turns the active constraints of one view tree into frames. The root of the
// tree owns its engine (see ViewLayoutState); every view of the tree whose
// `translatesAutoresizingMaskIntoConstraints` is NO, or that a constraint
// names, takes part, with its ancestors.
//
// Each view that takes part has four unknowns in root coordinates: left and
// width, solved by the horizontal solver, and top and height, solved by the
// vertical one. The horizontal solution comes first; views with an
// intrinsic size (labels, image views, buttons) are then measured at the
// width it gave them, and the vertical solution uses those heights. A height
// tied to a width takes the solved width as a number; a width tied to a
// height takes the last solved height and, when that height moves, the two
// solutions run once more.
//
// Strengths: constraints of priority 1000 are required; lower priorities are
// strong-level strengths in proportion. A view grows past its intrinsic size
// only against priority 250 (hugging) and shrinks below it only against 750
// (compression resistance). Every
// free view wishes, weakest of all, to be as small as it may, so a view
// bounded only from below takes the least size its constraints allow. A
// view that translates its autoresizing mask is held, required, where its
// frame and mask put it within its superview; the root keeps its frame.
//
// A constraint the required ones contradict, a constraint between views of
// different trees and a constraint with a number that is not finite are
// reported on standard error and left out; the rest are solved.
//
// Collecting the tree happens again only after the tree or its set of
// constraints changed. Otherwise a layout compares each constraint's
// constant with the last one used, and measures a view again only after it
// invalidated its intrinsic size (UIView::invalidateIntrinsicContentSize) or,
// for its height, when its width changed. The first change
// of a constant turns it into an edit variable of the solver, and every later
// change is a suggested value, re-solved incrementally.
class LayoutEngine {
public:
    explicit LayoutEngine(UIView& root);
    ~LayoutEngine();
    LayoutEngine(const LayoutEngine&) = delete;
    LayoutEngine& operator=(const LayoutEngine&) = delete;

    void setNeedsRebuild() { m_needsRebuild = true; }
    // Solves and writes the frames of every view that takes part.
    void layout();

    // What the engine holds, for tests and debugging.
    size_t viewCount() const { return m_nodes.size(); }
    size_t equationCount() const { return m_equations.size(); }
    std::string dump() const;

private:
    struct Node {
        UIView* view;
        int parent;
        bool free;
        bool hasIntrinsicSize;
        // The view's intrinsic-content generation when it was last asked.
        uint64_t intrinsicGeneration;
        layout::Variable left;
        layout::Variable width;
        layout::Variable top;
        layout::Variable height;
        // For a view below a root of fixed frame: the copy of the root's
        // unknowns its top-level subtree solves against (see m_rootCopies).
        int rootCopy { -1 };
    };
    struct Equation {
        LayoutAxis axis;
        layout::Expression terms;
        layout::Relation relation;
        double strength;
        double constant { 0 };
        std::optional<layout::Variable> constantVariable;
        std::optional<layout::Constraint> installed;
        // Where the equation comes from, for reports.
        const NSLayoutConstraint* source { nullptr };
        int node { -1 };
        const char* role { "" };
        // Not added to its solver until its constant is first known (a
        // height measured at a solved width, a dimension read across axes).
        bool deferred { false };
    };
    // A user constraint; a cross-axis one reads the solved value of `crossNode`'s other dimension.
    struct ConstraintLink {
        runtime::Ref<NSLayoutConstraint> constraint;
        size_t equation;
        int crossNode { -1 };
        LayoutAttribute crossAttribute { LayoutAttribute::Width };
        int context { -1 };
    };
    struct AutoresizingLink {
        int node;
        size_t equations[4]; // left, width, top, height
        double coefficients[4];
    };
    // Measurements are kept until the view invalidates its intrinsic size
    // or, for the height, until its width changes.
    struct IntrinsicLink {
        int node;
        size_t equations[4]; // width hug, width compression, height hug, height compression
        uint64_t generation;
        double width;
        std::optional<double> heightMeasuredAt;
    };

    layout::Solver& solverFor(LayoutAxis axis) { return axis == LayoutAxis::Horizontal ? m_horizontal : m_vertical; }

    void bringStructureUpToDate();
    void rebuild();
    void collectNodes();
    void addRootEquations();
    void addRootEquations(const Node& root);
    void addFreeViewEquations(int node);
    void addAutoresizingEquations(int node);
    void addConstraintEquations(int node);
    size_t addEquation(Equation);
    void installAll();
    bool install(Equation&);

    bool intrinsicPresenceChanged();
    void updateAutoresizing(LayoutAxis);
    // Answers whether any constant changed.
    bool updateConstraintConstants(LayoutAxis);
    void updateIntrinsicSizes(LayoutAxis);
    void setConstant(size_t equation, double value);
    void replaceTerms(size_t equation, layout::Expression terms, double value);
    void writeFrames();

    // The node, or the root copy of `context`'s subtree when the node is the root.
    const Node& nodeFor(int node, int context) const;
    const Node& parentOf(int node) const { return nodeFor(m_nodes[node].parent, node); }
    layout::Expression expressionOf(int node, LayoutAttribute, int context) const;
    double solvedValue(int node, LayoutAttribute, int context) const;
    std::string describe(const Equation&) const;
    void report(const Equation&, const std::string& reason) const;

    UIView* m_root;
    std::vector<size_t> m_rootSizeEquations[2];
    bool m_needsRebuild { true };
    layout::Solver m_horizontal;
    layout::Solver m_vertical;
    std::vector<Node> m_nodes;
    // A root whose frame is fixed and that holds no constraints of its own
    // pins its unknowns with required equalities, so each of its top-level
    // subtrees can solve against a copy of them: subtrees that no constraint
    // links then form independent groups of the solvers, and a change in
    // one banner never re-solves the others.
    std::vector<Node> m_rootCopies;
    std::unordered_map<const UIView*, int> m_nodeIndex;
    std::vector<runtime::WeakRef<UIView>> m_managingViews;
    std::vector<Equation> m_equations;
    std::vector<ConstraintLink> m_constraints;
    std::vector<AutoresizingLink> m_autoresizing;
    std::vector<IntrinsicLink> m_intrinsic;
    bool m_widthFollowsHeight { false };
};

} // namespace uikit
