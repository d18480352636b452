#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/runtime/Ref.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

class LayoutPart;
class UIView;

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
//
// A root whose frame is fixed, that holds no constraints of its own and
// manages none, has its top-level subtrees laid out in independent parts
// (LayoutPart), each with its own solvers and its own copy of the root's
// unknowns; subtrees that a constraint links share a part. A change to a
// subtree (setNeedsRebuild with a view of it) collects that subtree's part
// again, and nothing else, so the cost of one banner's layout does not grow
// with the banners beside it.
class LayoutEngine {
public:
    explicit LayoutEngine(UIView& root);
    ~LayoutEngine();
    LayoutEngine(const LayoutEngine&) = delete;
    LayoutEngine& operator=(const LayoutEngine&) = delete;

    // The whole tree must be collected again.
    void setNeedsRebuild() { m_needsRebuild = true; }
    // The views or constraints of the subtree holding `changed` changed.
    void setNeedsRebuild(UIView& changed);
    // Something the layout of the subtree holding `changed` reads changed
    // (of the root: every subtree).
    void setNeedsLayout(UIView& changed);
    // Solves the parts whose views or constraints changed, and writes the
    // frames of their views.
    void layout();

    // What the engine holds, for tests and debugging.
    size_t viewCount() const;
    size_t equationCount() const;
    size_t partCount() const { return m_parts.size(); }
    std::string dump() const;

private:
    struct Dirty {
        UIView* key;
        runtime::WeakRef<UIView> view;
    };

    bool partitionable() const;
    void bringStructureUpToDate();
    void rebuildAll();
    void replaceDirtyParts();
    void makeParts(const std::vector<UIView*>& subtrees);
    void orderParts();
    bool inOrderAround(size_t index) const;

    UIView* m_root;
    bool m_needsRebuild { true };
    bool m_partitioned { false };
    std::vector<std::unique_ptr<LayoutPart>> m_parts;
    // The part of each top-level subtree, by the subtree's root.
    std::unordered_map<const UIView*, LayoutPart*> m_partOf;
    std::vector<Dirty> m_dirty;
};

} // namespace uikit
