#include "platform/uikit/layout/SolverError.h"

#include <utility>

namespace layout {

namespace {

std::string quoted(const Constraint& constraint) { return "`" + constraint.toString() + "`"; }

std::string quoted(const Variable& variable) { return "`" + variable.displayName() + "`"; }

} // namespace

DuplicateConstraint::DuplicateConstraint(Constraint constraint)
    : SolverError("duplicate constraint: " + quoted(constraint) + " is already in the solver")
    , m_constraint(std::move(constraint))
{
}

UnknownConstraint::UnknownConstraint(Constraint constraint)
    : SolverError("unknown constraint: " + quoted(constraint) + " is not in the solver")
    , m_constraint(std::move(constraint))
{
}

UnsatisfiableConstraint::UnsatisfiableConstraint(Constraint constraint)
    : SolverError("unsatisfiable constraint: " + quoted(constraint)
        + " cannot hold together with the required constraints already in the solver")
    , m_constraint(std::move(constraint))
{
}

DuplicateEditVariable::DuplicateEditVariable(Variable variable)
    : SolverError("duplicate edit variable: " + quoted(variable) + " is already an edit variable")
    , m_variable(std::move(variable))
{
}

UnknownEditVariable::UnknownEditVariable(Variable variable)
    : SolverError("unknown edit variable: " + quoted(variable) + " is not an edit variable")
    , m_variable(std::move(variable))
{
}

BadRequiredStrength::BadRequiredStrength(Variable variable)
    : SolverError("bad strength: the edit variable " + quoted(variable)
        + " cannot be required; give it a strength below required")
    , m_variable(std::move(variable))
{
}

} // namespace layout
