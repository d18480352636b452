#pragma once

#include <stdexcept>
#include <string>

#include "platform/uikit/layout/Constraint.h"
#include "platform/uikit/layout/Variable.h"

namespace layout {

// The solver refuses a request by throwing one of the types below, one per
// kind of refusal, all derived from SolverError; what() says what was refused
// and why. A refused request leaves the solver exactly as it was.
class SolverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// addConstraint with a constraint the solver already holds.
class DuplicateConstraint : public SolverError {
public:
    explicit DuplicateConstraint(Constraint);
    const Constraint& constraint() const { return m_constraint; }

private:
    Constraint m_constraint;
};

// removeConstraint with a constraint the solver does not hold.
class UnknownConstraint : public SolverError {
public:
    explicit UnknownConstraint(Constraint);
    const Constraint& constraint() const { return m_constraint; }

private:
    Constraint m_constraint;
};

// addConstraint with a required constraint that cannot hold together with
// the required constraints already in the solver.
class UnsatisfiableConstraint : public SolverError {
public:
    explicit UnsatisfiableConstraint(Constraint);
    const Constraint& constraint() const { return m_constraint; }

private:
    Constraint m_constraint;
};

// addEditVariable with a variable that is already an edit variable.
class DuplicateEditVariable : public SolverError {
public:
    explicit DuplicateEditVariable(Variable);
    const Variable& variable() const { return m_variable; }

private:
    Variable m_variable;
};

// removeEditVariable or suggestValue with a variable that is not an edit variable.
class UnknownEditVariable : public SolverError {
public:
    explicit UnknownEditVariable(Variable);
    const Variable& variable() const { return m_variable; }

private:
    Variable m_variable;
};

// addEditVariable at the required strength: a suggested value is a wish
// that the required constraints must be able to overrule.
class BadRequiredStrength : public SolverError {
public:
    explicit BadRequiredStrength(Variable);
    const Variable& variable() const { return m_variable; }

private:
    Variable m_variable;
};

// A constraint, strength or suggested value that is not a finite number
// (NaN or infinite), which would poison every value the solver computes.
class NonFiniteValue : public SolverError {
public:
    static NonFiniteValue inConstraint(const Constraint&);
    static NonFiniteValue inEditStrength(const Variable&);
    static NonFiniteValue inSuggestedValue(const Variable&, double value);

private:
    using SolverError::SolverError;
};

} // namespace layout
