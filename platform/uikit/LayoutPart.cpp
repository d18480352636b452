#include "platform/uikit/LayoutPart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/runtime/Console.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewLayoutState.h"
#include "platform/uikit/layout/SolverError.h"

namespace uikit {

using layout::Expression;
using layout::Relation;
using layout::Strength;
using layout::Variable;
using runtime::Ref;

namespace {

    // A constant that changes is an edit variable held at this strength: above
    // every preference and priority below 1000, below the required ones.
    constexpr double editStrength = Strength::create(1000, 0, 0);
    constexpr double huggingStrength = Strength::create(250, 0, 0);
    constexpr double compressionStrength = Strength::create(750, 0, 0);
    constexpr double leastSizeStrength = Strength::weak;
    // Weaker still: a view bounded from one side only sits as near its
    // superview's origin as it may, rather than wherever the tableau leaves
    // it; a row placed "at least 8 below the text" sits 8 below the text
    // wherever the superview moves.
    constexpr double leastPositionStrength = Strength::weak / 1000;
    // Frames closer than this to the solution are left alone, so rounding in the
    // solver never counts as a change (nor starts an animation).
    constexpr double frameTolerance = 1e-9;

    double strengthForPriority(double priority)
    {
        if (priority >= NSLayoutConstraint::requiredPriority)
            return Strength::required;
        return Strength::create(std::max(priority, 1.0), 0, 0);
    }

    Relation relationOf(NSLayoutConstraint::Relation relation)
    {
        switch (relation) {
        case NSLayoutConstraint::Relation::LessOrEqual:
            return Relation::LessOrEqual;
        case NSLayoutConstraint::Relation::GreaterOrEqual:
            return Relation::GreaterOrEqual;
        case NSLayoutConstraint::Relation::Equal:
            break;
        }
        return Relation::Equal;
    }

    bool isClose(double a, double b)
    {
        return std::abs(a - b) <= frameTolerance;
    }

    bool isClose(const Rect& a, const Rect& b)
    {
        return isClose(a.origin.x, b.origin.x) && isClose(a.origin.y, b.origin.y) && isClose(a.size.width, b.size.width)
            && isClose(a.size.height, b.size.height);
    }

    bool isFinite(const Rect& rect)
    {
        return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width)
            && std::isfinite(rect.size.height);
    }

    // The linear form of one axis of an autoresizing frame in its superview's
    // length: origin = coefficients[0] × length + constants[0], and likewise the
    // view's own length.
    struct AxisForm {
        double originCoefficient;
        double originConstant;
        double lengthCoefficient;
        double lengthConstant;
    };

    AxisForm autoresizingForm(
        double origin, double length, double parentLength, bool flexibleMin, bool flexibleLength, bool flexibleMax)
    {
        double parts[3] = { origin, length, parentLength - origin - length };
        bool flexible[3] = { flexibleMin, flexibleLength, flexibleMax };
        int flexibleCount = 0;
        double flexibleTotal = 0;
        bool proportional = true;
        for (int i = 0; i < 3; ++i) {
            if (!flexible[i])
                continue;
            ++flexibleCount;
            flexibleTotal += parts[i];
            proportional = proportional && parts[i] >= 0;
        }
        if (flexibleCount == 0)
            return { 0, origin, 0, length };
        proportional = proportional && flexibleTotal > 0;
        // The fixed parts keep their lengths; the flexible ones share the rest.
        double fixedTotal = parentLength - flexibleTotal;
        auto share = [&](int i) { return proportional ? parts[i] / flexibleTotal : 1.0 / flexibleCount; };
        AxisForm form { 0, origin, 0, length };
        if (flexibleMin)
            form = { share(0), -share(0) * fixedTotal, form.lengthCoefficient, form.lengthConstant };
        if (flexibleLength)
            form = { form.originCoefficient, form.originConstant, share(1), -share(1) * fixedTotal };
        return form;
    }

    AxisForm horizontalForm(const Rect& frame, uint64_t mask, double parentWidth)
    {
        return autoresizingForm(frame.origin.x, frame.size.width, parentWidth, mask & FlexibleLeftMargin,
            mask & FlexibleWidth, mask & FlexibleRightMargin);
    }

    AxisForm verticalForm(const Rect& frame, uint64_t mask, double parentHeight)
    {
        return autoresizingForm(frame.origin.y, frame.size.height, parentHeight, mask & FlexibleTopMargin,
            mask & FlexibleHeight, mask & FlexibleBottomMargin);
    }

    std::string describeView(const UIView* view)
    {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "<%s %p>", view ? runtime::classNameOf(view).data() : "nil",
            static_cast<const void*>(view));
        return buffer;
    }

    const ViewLayoutState* stateOf(const UIView* view)
    {
        return view->existingLayoutState();
    }

    uint64_t intrinsicGenerationOf(const UIView* view)
    {
        return view->intrinsicContentGeneration();
    }

    bool takesPartItself(const UIView* view)
    {
        const ViewLayoutState* state = stateOf(view);
        if (!state)
            return false;
        return !state->translatesAutoresizingMaskIntoConstraints || !state->constraints.empty()
            || std::any_of(state->referencingConstraints.begin(), state->referencingConstraints.end(),
                [](auto& constraint) { return static_cast<bool>(constraint); });
    }

} // namespace

Rect autoresizedFrame(const Rect& frame, uint64_t mask, const Size& oldSize, const Size& newSize)
{
    AxisForm h = horizontalForm(frame, mask, oldSize.width);
    AxisForm v = verticalForm(frame, mask, oldSize.height);
    return makeRect(h.originCoefficient * newSize.width + h.originConstant,
        v.originCoefficient * newSize.height + v.originConstant, h.lengthCoefficient * newSize.width + h.lengthConstant,
        v.lengthCoefficient * newSize.height + v.lengthConstant);
}

LayoutPart::LayoutPart(UIView& root, std::vector<UIView*> subtrees)
    : m_root(&root)
    , m_subtrees(std::move(subtrees))
{
    for (UIView* subtree : m_subtrees)
        m_subtreeRefs.emplace_back(subtree);
}

LayoutPart::~LayoutPart() = default;

// A part whose inputs did not change since its last layout has its frames
// already; writing them counts as a change, so a part that wrote frames
// reads its inputs once more at the next layout.
void LayoutPart::layout()
{
    if (!m_needsLayout)
        return;
    m_needsLayout = false;
    if (m_nodes.size() <= 1 && m_constraints.empty())
        return;
    updateAutoresizing(LayoutAxis::Horizontal);
    updateConstraintConstants(LayoutAxis::Horizontal);
    updateIntrinsicSizes(LayoutAxis::Horizontal);
    m_horizontal.updateChangedVariables();
    // A width tied to a height reads the last height; one more round settles it.
    for (int round = 0; round < 3; ++round) {
        updateAutoresizing(LayoutAxis::Vertical);
        updateConstraintConstants(LayoutAxis::Vertical);
        updateIntrinsicSizes(LayoutAxis::Vertical);
        m_vertical.updateChangedVariables();
        if (!m_widthFollowsHeight || !updateConstraintConstants(LayoutAxis::Horizontal))
            break;
        m_horizontal.updateChangedVariables();
    }
    writeFrames();
}

bool LayoutPart::structureRound()
{
    if (!m_needsRebuild && !m_needsLayout && m_managingViews.empty())
        return false;
    if (!m_needsRebuild && m_needsLayout && intrinsicPresenceChanged())
        m_needsRebuild = true;
    if (m_needsRebuild)
        rebuild();
    // Updating constraints only marks what must be collected again; the list
    // is collected anew by the next round, not during this one.
    for (size_t i = 0; i < m_managingViews.size(); ++i) {
        if (UIView* view = m_managingViews[i].get();
            view && view->existingLayoutState() && view->existingLayoutState()->updateConstraints)
            view->existingLayoutState()->updateConstraints();
    }
    return m_needsRebuild;
}

void LayoutPart::finishStructure()
{
    if (m_needsRebuild)
        rebuild();
}

bool LayoutPart::includes(const UIView* subtree) const
{
    return m_subtrees.empty() || std::find(m_subtrees.begin(), m_subtrees.end(), subtree) != m_subtrees.end();
}

bool LayoutPart::intrinsicPresenceChanged()
{
    for (auto& node : m_nodes) {
        uint64_t generation = intrinsicGenerationOf(node.view);
        if (!node.free || generation == node.intrinsicGeneration)
            continue;
        if (node.view->intrinsicContentSize(0).has_value() != node.hasIntrinsicSize)
            return true;
        if (!node.hasIntrinsicSize)
            node.intrinsicGeneration = generation;
    }
    return false;
}

void LayoutPart::rebuild()
{
    m_needsRebuild = false;
    m_needsLayout = true;
    m_horizontal.reset();
    m_vertical.reset();
    m_nodes.clear();
    m_rootCopies.clear();
    m_rootSizeEquations[0].clear();
    m_rootSizeEquations[1].clear();
    m_nodeIndex.clear();
    m_managingViews.clear();
    m_equations.clear();
    m_constraints.clear();
    m_autoresizing.clear();
    m_intrinsic.clear();
    m_widthFollowsHeight = false;

    collectNodes();
    if (m_nodes.empty())
        return;
    addRootEquations();
    for (int node = 1; node < static_cast<int>(m_nodes.size()); ++node) {
        if (m_nodes[node].free)
            addFreeViewEquations(node);
        else
            addAutoresizingEquations(node);
    }
    for (int node = 0; node < static_cast<int>(m_nodes.size()); ++node)
        addConstraintEquations(node);
    installAll();
}

// The views that take part, in tree order (a superview before its
// subviews): those that do themselves, and their ancestors.
void LayoutPart::collectNodes()
{
    struct Entry {
        UIView* view;
        int parent;
        bool takesPart;
    };
    std::vector<Entry> entries;
    std::vector<std::pair<UIView*, int>> stack { { m_root, -1 } };
    while (!stack.empty()) {
        auto [view, parent] = stack.back();
        stack.pop_back();
        int index = static_cast<int>(entries.size());
        entries.push_back({ view, parent, takesPartItself(view) });
        if (auto* state = view->existingLayoutState(); state && state->updateConstraints)
            m_managingViews.emplace_back(view);
        auto& subviews = view->subviews();
        for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
            if (view != m_root || includes(it->get()))
                stack.push_back({ it->get(), index });
        }
    }
    // Entries come in pre-order, so a reverse walk reaches children before parents.
    for (size_t i = entries.size(); i-- > 1;) {
        if (entries[i].takesPart)
            entries[entries[i].parent].takesPart = true;
    }
    if (!entries[0].takesPart)
        return;
    std::vector<int> nodeOfEntry(entries.size(), -1);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].takesPart)
            continue;
        UIView* view = entries[i].view;
        bool free = !view->translatesAutoresizingMaskIntoConstraints();
        int parent = entries[i].parent < 0 ? -1 : nodeOfEntry[entries[i].parent];
        std::string name = describeView(view);
        nodeOfEntry[i] = static_cast<int>(m_nodes.size());
        m_nodeIndex.emplace(view, nodeOfEntry[i]);
        m_nodes.push_back({ view, parent, free, false, intrinsicGenerationOf(view), Variable(name + ".left"),
            Variable(name + ".width"), Variable(name + ".top"), Variable(name + ".height") });
    }
    const ViewLayoutState* rootState = stateOf(m_root);
    if (m_nodes[0].free || (rootState && !rootState->constraints.empty()))
        return;
    for (Node& node : m_nodes) {
        if (node.parent == 0) {
            node.rootCopy = static_cast<int>(m_rootCopies.size());
            Node copy = m_nodes[0];
            copy.rootCopy = node.rootCopy;
            m_rootCopies.push_back(copy);
        } else if (node.parent > 0) {
            node.rootCopy = m_nodes[node.parent].rootCopy;
        }
    }
}

// The root stays where it is; it keeps its size unless its own constraints size it.
void LayoutPart::addRootEquations()
{
    if (m_rootCopies.empty()) {
        addRootEquations(m_nodes[0]);
        return;
    }
    for (const Node& copy : m_rootCopies)
        addRootEquations(copy);
}

void LayoutPart::addRootEquations(const Node& root)
{
    addEquation(
        { LayoutAxis::Horizontal, root.left, Relation::Equal, Strength::required, 0, {}, {}, nullptr, 0, "root left" });
    addEquation(
        { LayoutAxis::Vertical, root.top, Relation::Equal, Strength::required, 0, {}, {}, nullptr, 0, "root top" });
    if (root.free) {
        addFreeViewEquations(0);
        return;
    }
    Size size = root.view->frame().size;
    m_rootSizeEquations[0].push_back(addEquation({ LayoutAxis::Horizontal, root.width, Relation::Equal,
        Strength::required, size.width, {}, {}, nullptr, 0, "root width" }));
    m_rootSizeEquations[1].push_back(addEquation({ LayoutAxis::Vertical, root.height, Relation::Equal,
        Strength::required, size.height, {}, {}, nullptr, 0, "root height" }));
}

void LayoutPart::addFreeViewEquations(int index)
{
    Node& node = m_nodes[index];
    addEquation({ LayoutAxis::Horizontal, node.width, Relation::Equal, leastSizeStrength, 0, {}, {}, nullptr, index,
        "least width" });
    addEquation({ LayoutAxis::Vertical, node.height, Relation::Equal, leastSizeStrength, 0, {}, {}, nullptr, index,
        "least height" });
    if (index != 0) {
        const Node& parent = parentOf(index);
        addEquation({ LayoutAxis::Horizontal, layout::Expression(node.left) - parent.left, Relation::Equal,
            leastPositionStrength, 0, {}, {}, nullptr, index, "least left" });
        addEquation({ LayoutAxis::Vertical, layout::Expression(node.top) - parent.top, Relation::Equal,
            leastPositionStrength, 0, {}, {}, nullptr, index, "least top" });
    }
    auto size = node.view->intrinsicContentSize(0);
    node.hasIntrinsicSize = size.has_value();
    node.intrinsicGeneration = intrinsicGenerationOf(node.view);
    if (!size)
        return;
    IntrinsicLink link { index, {}, node.intrinsicGeneration, 0, std::nullopt };
    double width = std::max(size->width, 0.0);
    link.width = width;
    link.equations[0] = addEquation({ LayoutAxis::Horizontal, node.width, Relation::LessOrEqual, huggingStrength, width,
        {}, {}, nullptr, index, "intrinsic width (hugging)" });
    link.equations[1] = addEquation({ LayoutAxis::Horizontal, node.width, Relation::GreaterOrEqual, compressionStrength,
        width, {}, {}, nullptr, index, "intrinsic width (compression resistance)" });
    link.equations[2] = addEquation({ LayoutAxis::Vertical, node.height, Relation::LessOrEqual, huggingStrength, 0, {},
        {}, nullptr, index, "intrinsic height (hugging)", true });
    link.equations[3] = addEquation({ LayoutAxis::Vertical, node.height, Relation::GreaterOrEqual, compressionStrength,
        0, {}, {}, nullptr, index, "intrinsic height (compression resistance)", true });
    m_intrinsic.push_back(link);
}

// left = parent.left + a × parent.width + b, width = c × parent.width + d,
// and the same vertically, from the frame and mask as they are now.
void LayoutPart::addAutoresizingEquations(int index)
{
    Node& node = m_nodes[index];
    const Node& parent = parentOf(index);
    uint64_t mask = node.view->autoresizingMask();
    Rect frame = node.view->frame();
    Size parentSize = parent.view->bounds().size;
    AxisForm h = horizontalForm(frame, mask, parentSize.width);
    AxisForm v = verticalForm(frame, mask, parentSize.height);
    AutoresizingLink link { index, {},
        { h.originCoefficient, h.lengthCoefficient, v.originCoefficient, v.lengthCoefficient } };
    link.equations[0]
        = addEquation({ LayoutAxis::Horizontal, node.left - parent.left - h.originCoefficient * parent.width,
            Relation::Equal, Strength::required, h.originConstant, {}, {}, nullptr, index, "autoresizing left" });
    link.equations[1] = addEquation({ LayoutAxis::Horizontal, node.width - h.lengthCoefficient * parent.width,
        Relation::Equal, Strength::required, h.lengthConstant, {}, {}, nullptr, index, "autoresizing width" });
    link.equations[2] = addEquation({ LayoutAxis::Vertical, node.top - parent.top - v.originCoefficient * parent.height,
        Relation::Equal, Strength::required, v.originConstant, {}, {}, nullptr, index, "autoresizing top" });
    link.equations[3] = addEquation({ LayoutAxis::Vertical, node.height - v.lengthCoefficient * parent.height,
        Relation::Equal, Strength::required, v.lengthConstant, {}, {}, nullptr, index, "autoresizing height" });
    m_autoresizing.push_back(link);
}

void LayoutPart::addConstraintEquations(int index)
{
    const ViewLayoutState* state = stateOf(m_nodes[index].view);
    if (!state)
        return;
    for (auto& constraint : state->constraints) {
        NSLayoutAnchor* first = constraint->firstAnchor();
        NSLayoutAnchor* second = constraint->secondAnchor();
        LayoutAxis axis = axisOf(first->attribute());
        Equation equation { axis, expressionOf(index, first->attribute(), index), relationOf(constraint->relation()),
            strengthForPriority(constraint->priority()), constraint->constant(), {}, {}, constraint.get(), index, "" };
        ConstraintLink link { constraint, 0 };
        link.context = index;
        if (second) {
            UIView* other = second->view();
            if (!other)
                continue;
            auto found = m_nodeIndex.find(other);
            if (found == m_nodeIndex.end()) {
                report(equation, "ties views that share no tree");
                continue;
            }
            if (axisOf(second->attribute()) == axis) {
                equation.terms -= constraint->multiplier() * expressionOf(found->second, second->attribute(), index);
            } else {
                link.crossNode = found->second;
                link.crossAttribute = second->attribute();
                equation.deferred = true;
                m_widthFollowsHeight = m_widthFollowsHeight || axis == LayoutAxis::Horizontal;
            }
        }
        link.equation = addEquation(std::move(equation));
        m_constraints.push_back(std::move(link));
    }
}

// Equations are installed together once the tree is collected; see installAll.
size_t LayoutPart::addEquation(Equation equation)
{
    m_equations.push_back(std::move(equation));
    return m_equations.size() - 1;
}

// The required equations go in first, so that each can make one of its own
// variables basic; preferences added before them would have taken those
// variables, leaving the solver to find a subject the slow way.
void LayoutPart::installAll()
{
    for (bool required : { true, false }) {
        for (auto& equation : m_equations) {
            if (!equation.deferred && (equation.strength >= Strength::required) == required)
                install(equation);
        }
    }
}

bool LayoutPart::install(Equation& equation)
{
    layout::Constraint constraint(equation.terms - equation.constant, equation.relation, equation.strength);
    try {
        solverFor(equation.axis).addConstraint(constraint);
    } catch (const layout::UnsatisfiableConstraint&) {
        report(equation, "contradicts the required constraints before it");
        return false;
    } catch (const layout::SolverError& error) {
        report(equation, error.what());
        return false;
    }
    equation.installed = constraint;
    return true;
}

void LayoutPart::updateAutoresizing(LayoutAxis axis)
{
    bool horizontal = axis == LayoutAxis::Horizontal;
    if (!m_nodes[0].free) {
        Size size = m_root->frame().size;
        for (size_t equation : m_rootSizeEquations[horizontal ? 0 : 1])
            setConstant(equation, horizontal ? size.width : size.height);
    }
    for (auto& link : m_autoresizing) {
        const Node& node = m_nodes[link.node];
        const Node& parent = parentOf(link.node);
        Rect frame = node.view->frame();
        uint64_t mask = node.view->autoresizingMask();
        Size parentSize = parent.view->bounds().size;
        AxisForm form
            = horizontal ? horizontalForm(frame, mask, parentSize.width) : verticalForm(frame, mask, parentSize.height);
        int first = horizontal ? 0 : 2;
        const Variable& origin = horizontal ? node.left : node.top;
        const Variable& length = horizontal ? node.width : node.height;
        const Variable& parentOrigin = horizontal ? parent.left : parent.top;
        const Variable& parentLength = horizontal ? parent.width : parent.height;
        if (form.originCoefficient != link.coefficients[first]) {
            link.coefficients[first] = form.originCoefficient;
            replaceTerms(link.equations[first], origin - parentOrigin - form.originCoefficient * parentLength,
                form.originConstant);
        } else {
            setConstant(link.equations[first], form.originConstant);
        }
        if (form.lengthCoefficient != link.coefficients[first + 1]) {
            link.coefficients[first + 1] = form.lengthCoefficient;
            replaceTerms(
                link.equations[first + 1], length - form.lengthCoefficient * parentLength, form.lengthConstant);
        } else {
            setConstant(link.equations[first + 1], form.lengthConstant);
        }
    }
}

bool LayoutPart::updateConstraintConstants(LayoutAxis axis)
{
    bool changed = false;
    for (auto& link : m_constraints) {
        Equation& equation = m_equations[link.equation];
        if (equation.axis != axis)
            continue;
        double value = link.constraint->constant();
        if (link.crossNode >= 0)
            value += link.constraint->multiplier() * solvedValue(link.crossNode, link.crossAttribute, link.context);
        if (value != equation.constant || equation.deferred) {
            changed = true;
            setConstant(link.equation, value);
        }
    }
    return changed;
}

void LayoutPart::updateIntrinsicSizes(LayoutAxis axis)
{
    for (auto& link : m_intrinsic) {
        Node& node = m_nodes[link.node];
        uint64_t generation = intrinsicGenerationOf(node.view);
        if (generation != link.generation) {
            link.generation = generation;
            node.intrinsicGeneration = generation;
            link.heightMeasuredAt.reset();
            if (auto size = node.view->intrinsicContentSize(0))
                link.width = std::max(size->width, 0.0);
        }
        if (axis == LayoutAxis::Horizontal) {
            setConstant(link.equations[0], link.width);
            setConstant(link.equations[1], link.width);
            continue;
        }
        double width = std::max(node.width.value(), 0.0);
        if (link.heightMeasuredAt && isClose(*link.heightMeasuredAt, width))
            continue;
        link.heightMeasuredAt = width;
        double height = std::max(node.view->intrinsicContentSize(width).value_or(Size {}).height, 0.0);
        setConstant(link.equations[2], height);
        setConstant(link.equations[3], height);
    }
}

void LayoutPart::setConstant(size_t index, double value)
{
    Equation& equation = m_equations[index];
    if (equation.deferred) {
        equation.deferred = false;
        equation.constant = value;
        install(equation);
        return;
    }
    if (equation.constant == value)
        return;
    equation.constant = value;
    if (!equation.installed)
        return;
    layout::Solver& solver = solverFor(equation.axis);
    try {
        if (!equation.constantVariable) {
            // The first change: the constant becomes an edit variable, so that
            // every later change is a suggestion the solver takes incrementally.
            Variable constant(describe(equation) + " constant");
            layout::Constraint edited(equation.terms - constant, equation.relation, equation.strength);
            solver.removeConstraint(*equation.installed);
            equation.installed.reset();
            solver.addConstraint(edited);
            equation.installed = edited;
            solver.addEditVariable(constant, editStrength);
            equation.constantVariable = constant;
        }
        solver.suggestValue(*equation.constantVariable, value);
    } catch (const layout::SolverError& error) {
        report(equation, error.what());
    }
}

void LayoutPart::replaceTerms(size_t index, Expression terms, double value)
{
    Equation& equation = m_equations[index];
    layout::Solver& solver = solverFor(equation.axis);
    if (equation.constantVariable) {
        solver.removeEditVariable(*equation.constantVariable);
        equation.constantVariable.reset();
    }
    if (equation.installed) {
        solver.removeConstraint(*equation.installed);
        equation.installed.reset();
    }
    equation.terms = std::move(terms);
    equation.constant = value;
    install(equation);
}

const LayoutPart::Node& LayoutPart::nodeFor(int index, int context) const
{
    int copy = m_nodes[context].rootCopy;
    return index == 0 && copy >= 0 ? m_rootCopies[copy] : m_nodes[index];
}

layout::Expression LayoutPart::expressionOf(int index, LayoutAttribute attribute, int context) const
{
    const Node& node = nodeFor(index, context);
    switch (attribute) {
    case LayoutAttribute::Leading:
    case LayoutAttribute::Left:
        return node.left;
    case LayoutAttribute::Trailing:
    case LayoutAttribute::Right:
        return node.left + node.width;
    case LayoutAttribute::CenterX:
        return node.left + 0.5 * Expression(node.width);
    case LayoutAttribute::Width:
        return node.width;
    case LayoutAttribute::Top:
        return node.top;
    case LayoutAttribute::Bottom:
        return node.top + node.height;
    case LayoutAttribute::CenterY:
        return node.top + 0.5 * Expression(node.height);
    case LayoutAttribute::Height:
        return node.height;
    }
    return {};
}

double LayoutPart::solvedValue(int index, LayoutAttribute attribute, int context) const
{
    const Node& node = nodeFor(index, context);
    return attribute == LayoutAttribute::Width ? node.width.value() : node.height.value();
}

void LayoutPart::writeFrames()
{
    for (size_t index = 0; index < m_nodes.size(); ++index) {
        const Node& node = m_nodes[index];
        if (index == 0 && !node.free)
            continue;
        Rect frame;
        if (index == 0) {
            frame = makeRect(
                node.view->frame().origin.x, node.view->frame().origin.y, node.width.value(), node.height.value());
        } else {
            const Node& parent = parentOf(static_cast<int>(index));
            Point parentOrigin = parent.view->bounds().origin;
            frame = makeRect(node.left.value() - parent.left.value() + parentOrigin.x,
                node.top.value() - parent.top.value() + parentOrigin.y, node.width.value(), node.height.value());
        }
        if (isFinite(frame) && !isClose(frame, node.view->frame()))
            node.view->setFrame(frame);
    }
}

std::string LayoutPart::describe(const Equation& equation) const
{
    if (equation.source)
        return equation.source->describe();
    UIView* view = equation.node >= 0 ? m_nodes[equation.node].view : nullptr;
    return describeView(view) + " " + equation.role;
}

void LayoutPart::report(const Equation& equation, const std::string& reason) const
{
    runtime::console("uikit: the constraint " + describe(equation) + " " + reason + "; it is left out of the layout");
}

} // namespace uikit
