#include "platform/uikit/layout/Solver.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/uikit/layout/SolverError.h"
#include "platform/uikit/layout/SolverImpl.h"
#include "platform/uikit/layout/Strength.h"

namespace layout {

// Each variable belongs to one group, and each constraint to the group of
// its variables. Groups are merged, the smaller into the larger, when a
// constraint names variables of several.
class Solver::Groups {
public:
    SolverImpl* groupOf(const Variable& variable) const
    {
        auto found = m_groupOfVariable.find(variable);
        return found == m_groupOfVariable.end() ? nullptr : found->second;
    }

    SolverImpl* groupOf(const Constraint& constraint) const
    {
        auto found = m_groupOfConstraint.find(constraint);
        return found == m_groupOfConstraint.end() ? nullptr : found->second;
    }

    // The group the constraint goes into, made by merging the groups of its
    // variables, or a new one when none of them is known.
    SolverImpl& groupFor(const Expression& expression)
    {
        SolverImpl* target = nullptr;
        for (const Term& term : expression.terms()) {
            SolverImpl* group = groupOf(term.variable);
            if (!group || group == target)
                continue;
            target = target ? &merge(*target, *group) : group;
        }
        return target ? *target : newGroup();
    }

    void adopt(SolverImpl& group, const Constraint& constraint)
    {
        m_groupOfConstraint.emplace(constraint, &group);
        for (const Term& term : constraint.expression().terms())
            m_groupOfVariable.emplace(term.variable, &group);
    }

    void forget(const Constraint& constraint) { m_groupOfConstraint.erase(constraint); }

    const std::vector<std::unique_ptr<SolverImpl>>& groups() const { return m_groups; }

    void reset()
    {
        m_groups.clear();
        m_groupOfVariable.clear();
        m_groupOfConstraint.clear();
    }

private:
    SolverImpl& newGroup()
    {
        m_groups.push_back(std::make_unique<SolverImpl>(m_nextId));
        return *m_groups.back();
    }

    SolverImpl& merge(SolverImpl& a, SolverImpl& b)
    {
        SolverImpl& larger = a.constraintCount() >= b.constraintCount() ? a : b;
        SolverImpl& smaller = &larger == &a ? b : a;
        for (const Variable& variable : smaller.variables())
            m_groupOfVariable[variable] = &larger;
        for (const Constraint& constraint : smaller.constraints())
            m_groupOfConstraint[constraint] = &larger;
        larger.absorb(std::move(smaller));
        std::erase_if(m_groups, [&](const auto& group) { return group.get() == &smaller; });
        return larger;
    }

    std::vector<std::unique_ptr<SolverImpl>> m_groups;
    std::unordered_map<Variable, SolverImpl*, Variable::Hash, Variable::Same> m_groupOfVariable;
    std::unordered_map<Constraint, SolverImpl*, Constraint::Hash, Constraint::Same> m_groupOfConstraint;
    // Shared by every group, so symbols are numbered as in one tableau.
    Symbol::Id m_nextId { 1 };
};

Solver::Solver()
    : m_groups(std::make_unique<Groups>())
{
}

Solver::~Solver() = default;

void Solver::addConstraint(const Constraint& constraint)
{
    // Refusals that need no tableau come first, so that they merge nothing.
    if (m_groups->groupOf(constraint))
        throw DuplicateConstraint(constraint);
    if (!constraint.expression().isFinite() || std::isnan(constraint.strength()))
        throw NonFiniteValue::inConstraint(constraint);
    SolverImpl& group = m_groups->groupFor(constraint.expression());
    group.addConstraint(constraint);
    m_groups->adopt(group, constraint);
}

void Solver::removeConstraint(const Constraint& constraint)
{
    SolverImpl* group = m_groups->groupOf(constraint);
    if (!group)
        throw UnknownConstraint(constraint);
    group->removeConstraint(constraint);
    m_groups->forget(constraint);
}

bool Solver::hasConstraint(const Constraint& constraint) const
{
    return m_groups->groupOf(constraint) != nullptr;
}

void Solver::addEditVariable(const Variable& variable, double strength)
{
    SolverImpl* group = m_groups->groupOf(variable);
    if (group && group->hasEditVariable(variable))
        throw DuplicateEditVariable(variable);
    if (std::isnan(strength))
        throw NonFiniteValue::inEditStrength(variable);
    if (Strength::clip(strength) >= Strength::required)
        throw BadRequiredStrength(variable);
    SolverImpl& target = group ? *group : m_groups->groupFor(Expression(variable));
    target.addEditVariable(variable, strength);
    m_groups->adopt(target, target.editConstraint(variable));
}

void Solver::removeEditVariable(const Variable& variable)
{
    SolverImpl* group = m_groups->groupOf(variable);
    if (!group || !group->hasEditVariable(variable))
        throw UnknownEditVariable(variable);
    m_groups->forget(group->editConstraint(variable));
    group->removeEditVariable(variable);
}

bool Solver::hasEditVariable(const Variable& variable) const
{
    SolverImpl* group = m_groups->groupOf(variable);
    return group && group->hasEditVariable(variable);
}

void Solver::suggestValue(const Variable& variable, double value)
{
    SolverImpl* group = m_groups->groupOf(variable);
    if (!group)
        throw UnknownEditVariable(variable);
    group->suggestValue(variable, value);
}

void Solver::updateVariables()
{
    for (const auto& group : m_groups->groups())
        group->updateVariables();
}

void Solver::updateChangedVariables()
{
    for (const auto& group : m_groups->groups()) {
        if (group->changed())
            group->updateVariables();
    }
}

void Solver::reset()
{
    m_groups->reset();
}

std::string Solver::dump() const
{
    std::vector<const SolverImpl*> groups;
    for (const auto& group : m_groups->groups())
        groups.push_back(group.get());
    return SolverImpl::dump(groups);
}

size_t Solver::groupCount() const
{
    return m_groups->groups().size();
}

} // namespace layout
