#include "platform/uikit/layout/SolverError.h"

#include <initializer_list>
#include <sstream>
#include <string_view>
#include <utility>

namespace layout {

namespace {

    // Appending to one string keeps GCC 12 from a false -Wrestrict warning that
    // `"literal" + std::string` sets off at -O3.
    std::string message(std::initializer_list<std::string_view> parts)
    {
        std::string text;
        for (std::string_view part : parts)
            text += part;
        return text;
    }

    std::string quoted(const Constraint& constraint)
    {
        return message({ "`", constraint.toString(), "`" });
    }

    std::string quoted(const Variable& variable)
    {
        return message({ "`", variable.displayName(), "`" });
    }

} // namespace

DuplicateConstraint::DuplicateConstraint(Constraint constraint)
    : SolverError(message({ "duplicate constraint: ", quoted(constraint), " is already in the solver" }))
    , m_constraint(std::move(constraint))
{
}

UnknownConstraint::UnknownConstraint(Constraint constraint)
    : SolverError(message({ "unknown constraint: ", quoted(constraint), " is not in the solver" }))
    , m_constraint(std::move(constraint))
{
}

UnsatisfiableConstraint::UnsatisfiableConstraint(Constraint constraint)
    : SolverError(message({ "unsatisfiable constraint: ", quoted(constraint),
        " cannot hold together with the required constraints already in the solver" }))
    , m_constraint(std::move(constraint))
{
}

DuplicateEditVariable::DuplicateEditVariable(Variable variable)
    : SolverError(message({ "duplicate edit variable: ", quoted(variable), " is already an edit variable" }))
    , m_variable(std::move(variable))
{
}

UnknownEditVariable::UnknownEditVariable(Variable variable)
    : SolverError(message({ "unknown edit variable: ", quoted(variable), " is not an edit variable" }))
    , m_variable(std::move(variable))
{
}

BadRequiredStrength::BadRequiredStrength(Variable variable)
    : SolverError(message({ "bad strength: the edit variable ", quoted(variable),
        " cannot be required; give it a strength below required" }))
    , m_variable(std::move(variable))
{
}

NonFiniteValue NonFiniteValue::inConstraint(const Constraint& constraint)
{
    return NonFiniteValue(message({ "non-finite value: the constraint ", quoted(constraint),
        " has a coefficient, constant or strength that is not a finite number" }));
}

NonFiniteValue NonFiniteValue::inEditStrength(const Variable& variable)
{
    return NonFiniteValue(message(
        { "non-finite value: the strength given to the edit variable ", quoted(variable), " is not a number" }));
}

NonFiniteValue NonFiniteValue::inSuggestedValue(const Variable& variable, double value)
{
    std::ostringstream number;
    number << value;
    return NonFiniteValue(message({ "non-finite value: the value ", number.str(), " suggested for ", quoted(variable),
        " is not a finite number" }));
}

} // namespace layout
