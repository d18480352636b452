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

// One independent piece of a LayoutEngine: the root and some of its
// top-level subtrees (all of them when the tree is not partitioned), with
// their own pair of solvers. See LayoutEngine for how the layout works.
class LayoutPart {
public:
    // `subtrees`: the root's subviews this part lays out, in their order
    // among the root's subviews; empty for all of them.
    LayoutPart(UIView& root, std::vector<UIView*> subtrees);
    ~LayoutPart();
    LayoutPart(const LayoutPart&) = delete;
    LayoutPart& operator=(const LayoutPart&) = delete;

    void setNeedsRebuild() { m_needsRebuild = true; }
    // Something the part reads (a frame, a constant, an intrinsic size) changed.
    void setNeedsLayout() { m_needsLayout = true; }
    // One round of bringing the structure up to date: collects the views
    // and constraints again when they changed (or an intrinsic size appeared
    // or went), then lets the views that manage constraints of their own
    // (stack views) bring them up to date. Answers whether the part needs
    // collecting again.
    bool structureRound();
    // Collects again if a last round left the part out of date.
    void finishStructure();
    // Solves and writes the frames of every view of the part.
    void layout();

    const std::vector<runtime::WeakRef<UIView>>& subtrees() const { return m_subtreeRefs; }
    // The subtrees' roots as they were when the part was made, for lookups only.
    const std::vector<UIView*>& subtreeKeys() const { return m_subtrees; }
    // The views that take part, without the root.
    size_t viewCount() const { return m_nodes.empty() ? 0 : m_nodes.size() - 1; }
    size_t equationCount() const { return m_equations.size(); }
    bool rootTakesPart() const { return !m_nodes.empty(); }
    std::string dumpHorizontal() const { return m_horizontal.dump(); }
    std::string dumpVertical() const { return m_vertical.dump(); }

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
    bool m_needsLayout { true };
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
    bool includes(const UIView* subtree) const;

    std::vector<UIView*> m_subtrees;
    std::vector<runtime::WeakRef<UIView>> m_subtreeRefs;
};

} // namespace uikit
