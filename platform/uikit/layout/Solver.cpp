#include "platform/uikit/layout/Solver.h"

#include "platform/uikit/layout/SolverImpl.h"

namespace layout {

Solver::Solver()
    : m_impl(std::make_unique<SolverImpl>())
{
}

Solver::~Solver() = default;

void Solver::addConstraint(const Constraint& constraint)
{
    m_impl->addConstraint(constraint);
}

void Solver::removeConstraint(const Constraint& constraint)
{
    m_impl->removeConstraint(constraint);
}

bool Solver::hasConstraint(const Constraint& constraint) const
{
    return m_impl->hasConstraint(constraint);
}

void Solver::addEditVariable(const Variable& variable, double strength)
{
    m_impl->addEditVariable(variable, strength);
}

void Solver::removeEditVariable(const Variable& variable)
{
    m_impl->removeEditVariable(variable);
}

bool Solver::hasEditVariable(const Variable& variable) const
{
    return m_impl->hasEditVariable(variable);
}

void Solver::suggestValue(const Variable& variable, double value)
{
    m_impl->suggestValue(variable, value);
}

void Solver::updateVariables()
{
    m_impl->updateVariables();
}

void Solver::reset()
{
    m_impl->reset();
}

std::string Solver::dump() const
{
    return m_impl->dump();
}

} // namespace layout
