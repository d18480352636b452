#include "platform/uikit/LayoutEngine.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "platform/uikit/LayoutPart.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

namespace {

    // The root's subview that holds `view`, or nil when `view` is the root
    // or lies outside its tree.
    UIView* topLevelOf(UIView* view, const UIView* root)
    {
        if (!view || view == root)
            return nullptr;
        while (view->superview() && view->superview() != root)
            view = view->superview();
        return view->superview() == root ? view : nullptr;
    }

    // The other top-level subtrees that constraints of `subtree` name.
    template <typename Visit> void forEachLinkedSubtree(UIView& subtree, const UIView* root, Visit visit)
    {
        std::vector<UIView*> stack { &subtree };
        while (!stack.empty()) {
            UIView* view = stack.back();
            stack.pop_back();
            for (auto& subview : view->subviews())
                stack.push_back(subview.get());
            const ViewLayoutState* state = view->existingLayoutState();
            if (!state)
                continue;
            for (auto& constraint : state->constraints) {
                if (UIView* other = topLevelOf(constraint->secondItem(), root); other && other != &subtree)
                    visit(other);
            }
            for (auto& weak : state->referencingConstraints) {
                NSLayoutConstraint* constraint = weak.get();
                if (UIView* other = topLevelOf(constraint ? constraint->firstItem() : nullptr, root);
                    other && other != &subtree)
                    visit(other);
            }
        }
    }

} // namespace

LayoutEngine::LayoutEngine(UIView& root)
    : m_root(&root)
{
}

LayoutEngine::~LayoutEngine() = default;

void LayoutEngine::setNeedsRebuild(UIView& changed)
{
    if (!m_partitioned || m_needsRebuild) {
        if (m_parts.size() == 1 && !m_partitioned)
            m_parts.front()->setNeedsRebuild();
        else
            m_needsRebuild = true;
        return;
    }
    // What the root's own state decides is read before every layout (see
    // partitionable); its referencing constraints belong to the subtrees
    // that own them, which are told themselves.
    if (&changed == m_root)
        return;
    UIView* subtree = topLevelOf(&changed, m_root);
    if (!subtree) {
        m_needsRebuild = true;
        return;
    }
    m_dirty.push_back({ subtree, runtime::WeakRef<UIView>(subtree) });
}

void LayoutEngine::setNeedsLayout(UIView& changed)
{
    if (!m_partitioned || &changed == m_root) {
        for (auto& part : m_parts)
            part->setNeedsLayout();
        return;
    }
    // A subtree without a part yet gets one, to be laid out, at the next layout.
    if (auto found = m_partOf.find(topLevelOf(&changed, m_root)); found != m_partOf.end())
        found->second->setNeedsLayout();
}

void LayoutEngine::layout()
{
    bringStructureUpToDate();
    for (auto& part : m_parts)
        part->layout();
}

bool LayoutEngine::partitionable() const
{
    const ViewLayoutState* state = m_root->existingLayoutState();
    return m_root->translatesAutoresizingMaskIntoConstraints()
        && (!state || (state->constraints.empty() && !state->updateConstraints));
}

// Views that manage constraints of their own (stack views) bring them up to
// date first; what they change, and views whose intrinsic size appeared or
// went, need their part collected again. A few rounds settle any chain of them.
void LayoutEngine::bringStructureUpToDate()
{
    if (bool partitioned = partitionable(); partitioned != m_partitioned) {
        m_partitioned = partitioned;
        m_needsRebuild = true;
    }
    auto replace = [this] {
        if (m_needsRebuild)
            rebuildAll();
        else
            replaceDirtyParts();
    };
    for (int round = 0; round < 4; ++round) {
        replace();
        bool again = false;
        for (size_t i = 0; i < m_parts.size(); ++i)
            again = m_parts[i]->structureRound() || again;
        if (!again && !m_needsRebuild && m_dirty.empty())
            return;
    }
    replace();
    for (auto& part : m_parts)
        part->finishStructure();
}

void LayoutEngine::rebuildAll()
{
    m_needsRebuild = false;
    m_dirty.clear();
    m_parts.clear();
    m_partOf.clear();
    if (!m_partitioned) {
        m_parts.push_back(std::make_unique<LayoutPart>(*m_root, std::vector<UIView*> {}));
        return;
    }
    std::vector<UIView*> subtrees;
    for (auto& subview : m_root->subviews())
        subtrees.push_back(subview.get());
    makeParts(subtrees);
}

// The parts of the changed subtrees, and of the subtrees constraints now
// link them to, are made again; the others keep their solvers.
void LayoutEngine::replaceDirtyParts()
{
    if (m_dirty.empty())
        return;
    auto dirty = std::move(m_dirty);
    m_dirty.clear();
    std::unordered_set<LayoutPart*> stale;
    std::vector<UIView*> subtrees;
    std::unordered_set<UIView*> seen;
    auto add = [&](UIView* subtree) {
        if (subtree && subtree->superview() == m_root && seen.insert(subtree).second)
            subtrees.push_back(subtree);
    };
    auto markStale = [&](const UIView* key) {
        auto found = m_partOf.find(key);
        if (found == m_partOf.end() || !stale.insert(found->second).second)
            return;
        for (auto& weak : found->second->subtrees())
            add(weak.get());
    };
    for (auto& entry : dirty) {
        markStale(entry.key);
        add(entry.view.get());
    }
    for (size_t i = 0; i < subtrees.size(); ++i) {
        forEachLinkedSubtree(*subtrees[i], m_root, [&](UIView* other) {
            markStale(other);
            add(other);
        });
    }
    for (LayoutPart* part : stale) {
        for (UIView* key : part->subtreeKeys()) {
            if (auto found = m_partOf.find(key); found != m_partOf.end() && found->second == part)
                m_partOf.erase(found);
        }
    }
    // One part made again for the same subtrees (a banner whose views
    // changed) takes its old place, which keeps the order without sorting.
    // The one stale part is found by its address, not looked up for every part.
    std::optional<size_t> samePlace;
    LayoutPart* onlyStale = stale.size() == 1 ? *stale.begin() : nullptr;
    auto old = onlyStale
        ? std::find_if(m_parts.begin(), m_parts.end(), [&](const auto& part) { return part.get() == onlyStale; })
        : m_parts.end();
    if (old != m_parts.end()) {
        std::vector<UIView*> keys = (*old)->subtreeKeys();
        std::sort(keys.begin(), keys.end());
        std::vector<UIView*> now = subtrees;
        std::sort(now.begin(), now.end());
        if (keys == now)
            samePlace = static_cast<size_t>(old - m_parts.begin());
    }
    if (onlyStale) {
        if (old != m_parts.end())
            m_parts.erase(old);
    } else {
        std::erase_if(m_parts, [&](const auto& part) { return stale.contains(part.get()); });
    }
    if (subtrees.empty())
        return;
    // In the order of the root's subviews, as the whole tree would be
    // collected. Subtrees that are the root's last subviews (a view just
    // added) make parts that come after every other.
    auto& subviews = m_root->subviews();
    bool trailing = subtrees.size() <= subviews.size()
        && std::all_of(subviews.end() - static_cast<std::ptrdiff_t>(subtrees.size()), subviews.end(),
            [&](const auto& subview) { return seen.contains(subview.get()); });
    std::vector<UIView*> ordered;
    for (auto it = trailing ? subviews.end() - static_cast<std::ptrdiff_t>(subtrees.size()) : subviews.begin();
         it != subviews.end(); ++it) {
        if (seen.contains(it->get()))
            ordered.push_back(it->get());
    }
    size_t partsBefore = m_parts.size();
    makeParts(ordered);
    if (trailing)
        return;
    if (samePlace && m_parts.size() == partsBefore + 1) {
        auto made = std::move(m_parts.back());
        m_parts.pop_back();
        m_parts.insert(m_parts.begin() + static_cast<std::ptrdiff_t>(*samePlace), std::move(made));
        if (inOrderAround(*samePlace))
            return;
    }
    orderParts();
}

// Groups the subtrees that constraints link, each group a new part.
void LayoutEngine::makeParts(const std::vector<UIView*>& subtrees)
{
    std::unordered_map<UIView*, UIView*> parent;
    auto find = [&](UIView* view) {
        while (parent.at(view) != view)
            view = parent[view] = parent.at(parent.at(view));
        return view;
    };
    for (UIView* subtree : subtrees)
        parent.emplace(subtree, subtree);
    for (UIView* subtree : subtrees) {
        forEachLinkedSubtree(*subtree, m_root, [&](UIView* other) {
            if (parent.contains(other))
                parent[find(other)] = find(subtree);
        });
    }
    std::vector<std::vector<UIView*>> groups;
    std::unordered_map<UIView*, size_t> groupOf;
    for (UIView* subtree : subtrees) {
        auto [found, added] = groupOf.emplace(find(subtree), groups.size());
        if (added)
            groups.emplace_back();
        groups[found->second].push_back(subtree);
    }
    for (auto& group : groups) {
        m_parts.push_back(std::make_unique<LayoutPart>(*m_root, group));
        for (UIView* subtree : group)
            m_partOf[subtree] = m_parts.back().get();
    }
}

// Whether the part at `index` still comes after the one before it and
// before the one after it, by their first subtrees among the root's subviews
// (a subtree moved among them needs the parts sorted again).
bool LayoutEngine::inOrderAround(size_t index) const
{
    auto& subviews = m_root->subviews();
    auto firstPlace = [&](size_t part) {
        auto& keys = m_parts[part]->subtreeKeys();
        for (size_t i = 0; i < subviews.size(); ++i) {
            if (std::find(keys.begin(), keys.end(), subviews[i].get()) != keys.end())
                return i;
        }
        return subviews.size();
    };
    size_t place = firstPlace(index);
    return (index == 0 || firstPlace(index - 1) < place)
        && (index + 1 == m_parts.size() || place < firstPlace(index + 1));
}

// Parts are laid out in the order of their first subtrees among the root's subviews.
void LayoutEngine::orderParts()
{
    std::unordered_map<const LayoutPart*, size_t> rank;
    for (auto& subview : m_root->subviews()) {
        if (auto found = m_partOf.find(subview.get()); found != m_partOf.end())
            rank.emplace(found->second, rank.size());
    }
    std::stable_sort(m_parts.begin(), m_parts.end(), [&](const auto& a, const auto& b) {
        auto ra = rank.find(a.get());
        auto rb = rank.find(b.get());
        return (ra == rank.end() ? rank.size() : ra->second) < (rb == rank.end() ? rank.size() : rb->second);
    });
}

size_t LayoutEngine::viewCount() const
{
    size_t count = 0;
    bool root = false;
    for (auto& part : m_parts) {
        count += part->viewCount();
        root = root || part->rootTakesPart();
    }
    return count + (root ? 1 : 0);
}

size_t LayoutEngine::equationCount() const
{
    size_t count = 0;
    for (auto& part : m_parts)
        count += part->equationCount();
    return count;
}

std::string LayoutEngine::dump() const
{
    std::string horizontal = "horizontal:\n";
    std::string vertical = "vertical:\n";
    for (auto& part : m_parts) {
        horizontal += part->dumpHorizontal();
        vertical += part->dumpVertical();
    }
    return horizontal + vertical;
}

} // namespace uikit
