#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/uikit/layout/Constraint.h"
#include "platform/uikit/layout/Row.h"
#include "platform/uikit/layout/Symbol.h"
#include "platform/uikit/layout/Variable.h"

namespace layout {

// The tableau of one group of Solver: constraints that share variables,
// directly or through each other. It keeps Solver's contracts for them.
//
// Invariants between calls: every row is feasible (a restricted basic symbol
// has a non-negative constant); the objective is expressed in parametric
// symbols only; rows of restricted symbols and the objective never mention an
// external symbol, so external symbols change only external rows.
//
// Pivots follow Bland's rule — the lowest eligible symbol enters, ties
// between leaving rows go to the lowest symbol — so degenerate pivots cannot
// cycle. suggestValue keeps the objective optimal and repairs feasibility
// with the dual simplex, which touches only the rows the change upsets.
class SolverImpl {
public:
    // Symbols are numbered from `nextId`, which every group of a solver
    // shares, so that the pivoting rules order them as one tableau would.
    explicit SolverImpl(Symbol::Id& nextId);
    ~SolverImpl();
    SolverImpl(const SolverImpl&) = delete;
    SolverImpl& operator=(const SolverImpl&) = delete;

    void addConstraint(const Constraint&);
    void removeConstraint(const Constraint&);
    bool hasConstraint(const Constraint&) const;
    void addEditVariable(const Variable&, double strength);
    void removeEditVariable(const Variable&);
    bool hasEditVariable(const Variable&) const;
    // The constraint that holds an edit variable at its suggested value.
    const Constraint& editConstraint(const Variable& variable) const { return m_edits.at(variable).constraint; }
    void suggestValue(const Variable&, double value);
    void updateVariables();
    // Whether anything changed since the last updateVariables.
    bool changed() const { return m_changed; }
    void reset();

    // Takes over every constraint, edit variable and variable of `other`,
    // which shares none of them with this group, and leaves it empty. The
    // union of two optimal tableaux without common symbols is optimal.
    void absorb(SolverImpl&& other);
    std::vector<Variable> variables() const;
    std::vector<Constraint> constraints() const;
    size_t constraintCount() const { return m_constraints.size(); }

    // The groups read as one tableau.
    static std::string dump(const std::vector<const SolverImpl*>& groups);

private:
    // The symbols a constraint brought into the tableau: `marker` identifies
    // its row; `other` is the second error symbol of a non-required
    // constraint, when it has one.
    struct Tag {
        Symbol marker;
        Symbol other;
    };
    struct EditInfo {
        Tag tag;
        Constraint constraint;
        double constant;
    };
    using RowMap = std::unordered_map<Symbol, std::unique_ptr<Row>, Symbol::Hash>;
    using VariableMap = std::unordered_map<Variable, Symbol, Variable::Hash, Variable::Same>;
    using NewVariables = std::vector<std::pair<Variable, Symbol>>;

    Symbol newSymbol(Symbol::Type);
    Symbol symbolFor(const Variable&, NewVariables&);
    std::unique_ptr<Row> createRow(const Constraint&, Tag&, NewVariables&);
    static Symbol chooseSubject(const Row&, const Tag&);
    bool addWithArtificialVariable(const Row&);

    void optimize(const Row& objective);
    void dualOptimize();
    void pivot(RowMap::iterator leaving, Symbol entering);
    void substitute(Symbol, const Row&);
    static Symbol enteringSymbol(const Row& objective);
    Symbol dualEnteringSymbol(const Row&) const;
    Symbol nextInfeasibleSymbol();
    RowMap::iterator leavingRow(Symbol entering);
    RowMap::iterator markerLeavingRow(Symbol marker);

    void removeConstraintEffects(const Constraint&, const Tag&);
    void removeErrorFromObjective(Symbol error, double strength);
    void moveEditConstant(const EditInfo&, double delta);

    RowMap copyRows() const;
    static std::string symbolName(Symbol);
    static std::string describe(const Row&);

    std::unordered_map<Constraint, Tag, Constraint::Hash, Constraint::Same> m_constraints;
    RowMap m_rows;
    VariableMap m_variables;
    std::unordered_map<Variable, EditInfo, Variable::Hash, Variable::Same> m_edits;
    std::vector<Symbol> m_infeasible;
    Row m_objective;
    std::unique_ptr<Row> m_artificial;
    Symbol::Id* m_nextId;
    bool m_changed { true };
};

} // namespace layout
