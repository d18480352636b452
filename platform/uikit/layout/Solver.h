#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/layout/Constraint.h"
#include "platform/uikit/layout/Forward.h"
#include "platform/uikit/layout/Variable.h"

namespace layout {

// An incremental linear-constraint solver after Cassowary (Badros, Borning
// and Stuckey). It keeps a solution that satisfies every required constraint
// and, among those, violates the non-required ones as little as their
// strengths ask; each change re-solves from the current solution rather than
// from scratch. Refusals throw a SolverError subtype (see SolverError.h) and
// leave the solver unchanged. Not thread-safe.
//
// Constraints that share no variable, directly or through other
// constraints, are independent systems: the solver keeps each such group in
// a tableau of its own, so a change costs what its group holds, not what the
// solver holds. A constraint that links groups merges them; removing it
// leaves the merged group as it is, which solves the same.
class Solver {
public:
    Solver();
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // Adds a constraint and re-solves. Refuses a constraint it already holds
    // (DuplicateConstraint), a required constraint that contradicts the
    // required ones it holds (UnsatisfiableConstraint), and a constraint
    // whose numbers or strength are not finite (NonFiniteValue).
    void addConstraint(const Constraint&);

    // Removes a constraint and re-solves, so the solution is again the one
    // the remaining constraints give. Refuses a constraint it does not hold
    // (UnknownConstraint). Edit variables are removed with removeEditVariable.
    void removeConstraint(const Constraint&);

    bool hasConstraint(const Constraint&) const;

    // Makes `variable` an edit variable: a value can then be suggested for it
    // at `strength`. Until the first suggestion it is held, at that strength,
    // at its current value (what the last updateVariables wrote). Refuses a
    // variable that already is one (DuplicateEditVariable), the required
    // strength (BadRequiredStrength) and a non-finite strength (NonFiniteValue).
    void addEditVariable(const Variable&, double strength);

    // Stops editing `variable` and drops its suggested value. Refuses a
    // variable that is not an edit variable (UnknownEditVariable).
    void removeEditVariable(const Variable&);

    bool hasEditVariable(const Variable&) const;

    // Asks for `value` at the edit variable's strength and re-solves
    // incrementally; this is the fast path for a value that changes every
    // frame. Refuses a variable that is not an edit variable
    // (UnknownEditVariable) and a non-finite value (NonFiniteValue).
    void suggestValue(const Variable&, double value);

    // Writes the current solution into every variable the solver knows.
    // Variables are not updated by any other call.
    void updateVariables();
    // Writes the solution into the variables of the groups that changed
    // since their variables were last written; a layout that re-solves one
    // group of many costs what that group holds.
    void updateChangedVariables();

    // Forgets every constraint, edit variable and variable. Variables keep
    // the values last written into them.
    void reset();

    // The tableau, the objective, the variables, the edit variables and the
    // constraints, for reading while debugging. The format may change.
    std::string dump() const;

    // The independent groups the constraints and edit variables form now.
    size_t groupCount() const;

private:
    class Groups;
    std::unique_ptr<Groups> m_groups;
};

} // namespace layout
