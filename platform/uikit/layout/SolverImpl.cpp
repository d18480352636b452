#include "platform/uikit/layout/SolverImpl.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <sstream>
#include <tuple>

#include "platform/uikit/layout/SolverError.h"
#include "platform/uikit/layout/Strength.h"

namespace layout {

namespace {

    constexpr double infinity = std::numeric_limits<double>::infinity();

    bool isInfeasible(const Row& row)
    {
        return row.constant() < -tolerance;
    }

} // namespace

SolverImpl::SolverImpl(Symbol::Id& nextId)
    : m_nextId(&nextId)
{
}

SolverImpl::~SolverImpl() = default;

void SolverImpl::addConstraint(const Constraint& constraint)
{
    m_changed = true;
    if (m_constraints.contains(constraint))
        throw DuplicateConstraint(constraint);
    if (!constraint.expression().isFinite() || std::isnan(constraint.strength()))
        throw NonFiniteValue::inConstraint(constraint);

    // Variables the constraint introduces join the solver only once it is accepted.
    NewVariables newVariables;
    Tag tag;
    std::unique_ptr<Row> row = createRow(constraint, tag, newVariables);
    Symbol subject = chooseSubject(*row, tag);
    if (!subject.isValid() && row->hasOnlyDummies()) {
        // The row is a combination of required equalities already held, so it
        // holds exactly when its constant is zero.
        if (!isNearZero(row->constant()))
            throw UnsatisfiableConstraint(constraint);
        subject = tag.marker;
    }
    if (subject.isValid()) {
        row->solveFor(subject);
        substitute(subject, *row);
        m_rows.emplace(subject, std::move(row));
    } else if (!addWithArtificialVariable(*row)) {
        throw UnsatisfiableConstraint(constraint);
    }
    m_constraints.emplace(constraint, tag);
    for (auto& [variable, symbol] : newVariables)
        m_variables.emplace(std::move(variable), symbol);
    optimize(m_objective);
}

void SolverImpl::removeConstraint(const Constraint& constraint)
{
    m_changed = true;
    auto found = m_constraints.find(constraint);
    if (found == m_constraints.end())
        throw UnknownConstraint(constraint);
    Tag tag = found->second;
    m_constraints.erase(found);
    removeConstraintEffects(constraint, tag);

    // Only rows derived from the constraint's equation mention its marker.
    // With the marker basic, that equation sits in the marker's row alone,
    // and dropping the row drops the constraint. A marker that appears nowhere
    // belongs to a constraint that was redundant when added and left no trace.
    if (auto row = m_rows.find(tag.marker); row != m_rows.end()) {
        m_rows.erase(row);
    } else if (auto leaving = markerLeavingRow(tag.marker); leaving != m_rows.end()) {
        Symbol leavingSymbol = leaving->first;
        std::unique_ptr<Row> markerRow = std::move(leaving->second);
        m_rows.erase(leaving);
        markerRow->solveFor(leavingSymbol, tag.marker);
        substitute(tag.marker, *markerRow);
    }
    optimize(m_objective);
}

bool SolverImpl::hasConstraint(const Constraint& constraint) const
{
    return m_constraints.contains(constraint);
}

void SolverImpl::addEditVariable(const Variable& variable, double strength)
{
    m_changed = true;
    if (m_edits.contains(variable))
        throw DuplicateEditVariable(variable);
    if (std::isnan(strength))
        throw NonFiniteValue::inEditStrength(variable);
    strength = Strength::clip(strength);
    if (strength >= Strength::required)
        throw BadRequiredStrength(variable);
    double value = variable.value();
    Constraint constraint(Expression(variable) - value, Relation::Equal, strength);
    addConstraint(constraint);
    m_edits.emplace(variable, EditInfo { m_constraints.at(constraint), constraint, value });
}

void SolverImpl::removeEditVariable(const Variable& variable)
{
    m_changed = true;
    auto edit = m_edits.find(variable);
    if (edit == m_edits.end())
        throw UnknownEditVariable(variable);
    removeConstraint(edit->second.constraint);
    m_edits.erase(edit);
}

bool SolverImpl::hasEditVariable(const Variable& variable) const
{
    return m_edits.contains(variable);
}

void SolverImpl::suggestValue(const Variable& variable, double value)
{
    m_changed = true;
    auto edit = m_edits.find(variable);
    if (edit == m_edits.end())
        throw UnknownEditVariable(variable);
    if (!std::isfinite(value))
        throw NonFiniteValue::inSuggestedValue(variable, value);
    double delta = value - edit->second.constant;
    edit->second.constant = value;
    moveEditConstant(edit->second, delta);
    dualOptimize();
}

void SolverImpl::updateVariables()
{
    m_changed = false;
    for (const auto& [variable, symbol] : m_variables) {
        auto row = m_rows.find(symbol);
        // Adding zero turns a negative zero into zero.
        variable.setValue((row == m_rows.end() ? 0.0 : row->second->constant()) + 0.0);
    }
}

void SolverImpl::reset()
{
    m_changed = true;
    m_constraints.clear();
    m_rows.clear();
    m_variables.clear();
    m_edits.clear();
    m_infeasible.clear();
    m_objective = Row();
    m_artificial.reset();
}

void SolverImpl::absorb(SolverImpl&& other)
{
    m_changed = true;
    for (auto& [symbol, row] : other.m_rows)
        m_rows.emplace(symbol, std::move(row));
    m_objective.insert(other.m_objective);
    m_constraints.merge(other.m_constraints);
    m_variables.merge(other.m_variables);
    m_edits.merge(other.m_edits);
    m_infeasible.insert(m_infeasible.end(), other.m_infeasible.begin(), other.m_infeasible.end());
    other.reset();
}

std::vector<Variable> SolverImpl::variables() const
{
    std::vector<Variable> variables;
    variables.reserve(m_variables.size());
    for (const auto& entry : m_variables)
        variables.push_back(entry.first);
    return variables;
}

std::vector<Constraint> SolverImpl::constraints() const
{
    std::vector<Constraint> constraints;
    constraints.reserve(m_constraints.size());
    for (const auto& entry : m_constraints)
        constraints.push_back(entry.first);
    return constraints;
}

Symbol SolverImpl::newSymbol(Symbol::Type type)
{
    return Symbol(type, (*m_nextId)++);
}

Symbol SolverImpl::symbolFor(const Variable& variable, NewVariables& newVariables)
{
    // A constraint's expression is reduced, so a variable new to the solver
    // appears in it once.
    if (auto known = m_variables.find(variable); known != m_variables.end())
        return known->second;
    Symbol symbol = newSymbol(Symbol::Type::External);
    newVariables.emplace_back(variable, symbol);
    return symbol;
}

// Builds the row `0 = expression ± slack ± errors` in today's parametric
// symbols, with a non-negative constant. Only a non-required constraint
// touches the objective, with its error symbols at its strength.
std::unique_ptr<Row> SolverImpl::createRow(const Constraint& constraint, Tag& tag, NewVariables& newVariables)
{
    const Expression& expression = constraint.expression();
    auto row = std::make_unique<Row>(expression.constant());
    for (const Term& term : expression.terms()) {
        Symbol symbol = symbolFor(term.variable, newVariables);
        if (auto basic = m_rows.find(symbol); basic != m_rows.end())
            row->insert(*basic->second, term.coefficient);
        else
            row->insert(symbol, term.coefficient);
    }

    double strength = constraint.strength();
    bool required = constraint.isRequired();
    switch (constraint.relation()) {
    case Relation::LessOrEqual:
    case Relation::GreaterOrEqual: {
        // `e <= 0` becomes `e + slack = 0`, `e >= 0` becomes `e - slack = 0`;
        // an error symbol lets a non-required one give way.
        double sign = constraint.relation() == Relation::LessOrEqual ? 1.0 : -1.0;
        tag.marker = newSymbol(Symbol::Type::Slack);
        row->insert(tag.marker, sign);
        if (!required) {
            tag.other = newSymbol(Symbol::Type::Error);
            row->insert(tag.other, -sign);
            m_objective.insert(tag.other, strength);
        }
        break;
    }
    case Relation::Equal:
        if (required) {
            tag.marker = newSymbol(Symbol::Type::Dummy);
            row->insert(tag.marker);
        } else {
            // `e = plus - minus`, both errors weighed at the strength.
            tag.marker = newSymbol(Symbol::Type::Error);
            tag.other = newSymbol(Symbol::Type::Error);
            row->insert(tag.marker, -1.0);
            row->insert(tag.other, 1.0);
            m_objective.insert(tag.marker, strength);
            m_objective.insert(tag.other, strength);
        }
        break;
    }
    if (row->constant() < 0)
        row->reverseSign();
    return row;
}

// The symbol a new row is solved for: an external symbol if it has one,
// which keeps restricted rows free of them; otherwise the constraint's own
// slack or error symbol when its coefficient is negative, so that the solved
// row is feasible. Answers an invalid symbol when neither will do.
Symbol SolverImpl::chooseSubject(const Row& row, const Tag& tag)
{
    for (const Row::Cell& cell : row.cells()) {
        if (cell.symbol.isExternal())
            return cell.symbol;
    }
    if (tag.marker.isPivotable() && row.coefficientFor(tag.marker) < 0)
        return tag.marker;
    if (tag.other.isPivotable() && row.coefficientFor(tag.other) < 0)
        return tag.other;
    return {};
}

// Adds a row that has no subject by minimising an artificial symbol that
// stands for it: the row can hold exactly when the minimum is zero. The
// pivots on the way move the solution, so on failure the tableau is put back
// as it was.
bool SolverImpl::addWithArtificialVariable(const Row& row)
{
    RowMap savedRows = copyRows();
    Row savedObjective = m_objective;
    std::vector<Symbol> savedInfeasible = m_infeasible;
    auto restore = [&] {
        m_artificial.reset();
        m_rows = std::move(savedRows);
        m_objective = std::move(savedObjective);
        m_infeasible = std::move(savedInfeasible);
        return false;
    };

    Symbol artificial = newSymbol(Symbol::Type::Slack);
    m_rows.emplace(artificial, std::make_unique<Row>(row));
    m_artificial = std::make_unique<Row>(row);
    optimize(*m_artificial);
    if (!isNearZero(m_artificial->constant()))
        return restore();
    m_artificial.reset();

    // The artificial symbol is zero now. If it is still basic, a slack or
    // error symbol of its row takes its place: the row starts with one, and
    // each pivot that keeps the artificial symbol basic leaves the leaving
    // symbol in its row, so only rounding could take them all away. A row
    // with no symbols left was redundant.
    if (auto basic = m_rows.find(artificial); basic != m_rows.end() && basic->second->hasCells()) {
        const auto& cells = basic->second->cells();
        auto pivotable
            = std::find_if(cells.begin(), cells.end(), [](const Row::Cell& cell) { return cell.symbol.isPivotable(); });
        if (pivotable == cells.end())
            return restore();
        pivot(basic, pivotable->symbol);
    }
    m_rows.erase(artificial);
    for (auto& [symbol, tableauRow] : m_rows)
        tableauRow->remove(artificial);
    m_objective.remove(artificial);
    return true;
}

// The primal simplex: while some symbol would lower the objective, bring it
// into the basis in place of the row that limits it first.
void SolverImpl::optimize(const Row& objective)
{
    for (;;) {
        Symbol entering = enteringSymbol(objective);
        if (!entering.isValid())
            return;
        auto leaving = leavingRow(entering);
        // The objective weighs non-negative symbols at non-negative weights,
        // so it is bounded below and some row always limits the entering symbol.
        assert(leaving != m_rows.end());
        if (leaving == m_rows.end())
            return;
        pivot(leaving, entering);
    }
}

// The dual simplex: the objective stays optimal while each infeasible row, the
// lowest first, leaves the basis for the symbol that keeps it optimal.
void SolverImpl::dualOptimize()
{
    for (Symbol leaving = nextInfeasibleSymbol(); leaving.isValid(); leaving = nextInfeasibleSymbol()) {
        auto row = m_rows.find(leaving);
        Symbol entering = dualEnteringSymbol(*row->second);
        // Only non-required constants change between optimisations, and the
        // required constraints were satisfiable, so a way back always exists.
        assert(entering.isValid());
        if (!entering.isValid()) {
            m_infeasible.clear();
            return;
        }
        pivot(row, entering);
    }
}

void SolverImpl::pivot(RowMap::iterator leaving, Symbol entering)
{
    Symbol leavingSymbol = leaving->first;
    std::unique_ptr<Row> row = std::move(leaving->second);
    m_rows.erase(leaving);
    row->solveFor(leavingSymbol, entering);
    substitute(entering, *row);
    m_rows.emplace(entering, std::move(row));
}

void SolverImpl::substitute(Symbol symbol, const Row& row)
{
    for (auto& [basic, basicRow] : m_rows) {
        if (basicRow->substitute(symbol, row) && basic.isRestricted() && isInfeasible(*basicRow))
            m_infeasible.push_back(basic);
    }
    m_objective.substitute(symbol, row);
    if (m_artificial)
        m_artificial->substitute(symbol, row);
}

// Bland's rule: the lowest symbol whose growth lowers the objective.
Symbol SolverImpl::enteringSymbol(const Row& objective)
{
    for (const Row::Cell& cell : objective.cells()) {
        if (cell.coefficient < 0 && cell.symbol.isPivotable())
            return cell.symbol;
    }
    return {};
}

// The least ratio of objective coefficient to row coefficient, among the
// symbols whose growth lifts the row; ties go to the lowest symbol.
Symbol SolverImpl::dualEnteringSymbol(const Row& row) const
{
    auto ratioFor = [this](const Row::Cell& cell) {
        if (cell.coefficient <= 0 || !cell.symbol.isPivotable())
            return infinity;
        return m_objective.coefficientFor(cell.symbol) / cell.coefficient;
    };
    double least = infinity;
    for (const Row::Cell& cell : row.cells())
        least = std::min(least, ratioFor(cell));
    if (least == infinity)
        return {};
    for (const Row::Cell& cell : row.cells()) {
        if (ratioFor(cell) <= least + tolerance)
            return cell.symbol;
    }
    return {};
}

// The lowest basic symbol whose row is infeasible; stale entries (rows
// repaired since, or symbols no longer basic) are dropped on the way.
Symbol SolverImpl::nextInfeasibleSymbol()
{
    std::erase_if(m_infeasible, [this](Symbol symbol) {
        auto row = m_rows.find(symbol);
        return row == m_rows.end() || !isInfeasible(*row->second);
    });
    if (m_infeasible.empty())
        return {};
    return *std::min_element(m_infeasible.begin(), m_infeasible.end());
}

// The minimum ratio test over restricted rows: the row whose basic symbol
// first drops to zero as `entering` grows; ties go to the lowest symbol.
SolverImpl::RowMap::iterator SolverImpl::leavingRow(Symbol entering)
{
    auto ratioFor = [entering](const RowMap::value_type& entry) {
        double coefficient = entry.second->coefficientFor(entering);
        if (!entry.first.isRestricted() || coefficient >= 0)
            return infinity;
        return -entry.second->constant() / coefficient;
    };
    double least = infinity;
    for (const auto& entry : m_rows)
        least = std::min(least, ratioFor(entry));
    auto leaving = m_rows.end();
    if (least == infinity)
        return leaving;
    for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
        if (ratioFor(*it) <= least + tolerance && (leaving == m_rows.end() || it->first < leaving->first))
            leaving = it;
    }
    return leaving;
}

// The row to pivot a marker in with, before the row is dropped: a restricted
// row that stays feasible (negative coefficient, least ratio) if there is
// one, else the restricted row the marker upsets least, else an external row.
SolverImpl::RowMap::iterator SolverImpl::markerLeavingRow(Symbol marker)
{
    struct Candidate {
        RowMap::iterator row;
        double ratio { infinity };
        void consider(RowMap::iterator other, double otherRatio, RowMap::iterator end)
        {
            if (row == end || otherRatio < ratio || (otherRatio == ratio && other->first < row->first)) {
                row = other;
                ratio = otherRatio;
            }
        }
    };
    auto end = m_rows.end();
    Candidate feasible { end }, restricted { end }, external { end };
    for (auto it = m_rows.begin(); it != end; ++it) {
        double coefficient = it->second->coefficientFor(marker);
        if (coefficient == 0)
            continue;
        double constant = it->second->constant();
        if (it->first.isExternal())
            external.consider(it, 0, end);
        else if (coefficient < 0)
            feasible.consider(it, -constant / coefficient, end);
        else
            restricted.consider(it, constant / coefficient, end);
    }
    if (feasible.row != end)
        return feasible.row;
    return restricted.row != end ? restricted.row : external.row;
}

void SolverImpl::removeConstraintEffects(const Constraint& constraint, const Tag& tag)
{
    if (tag.marker.type() == Symbol::Type::Error)
        removeErrorFromObjective(tag.marker, constraint.strength());
    if (tag.other.type() == Symbol::Type::Error)
        removeErrorFromObjective(tag.other, constraint.strength());
}

void SolverImpl::removeErrorFromObjective(Symbol error, double strength)
{
    if (auto row = m_rows.find(error); row != m_rows.end())
        m_objective.insert(*row->second, -strength);
    else
        m_objective.insert(error, -strength);
}

// The edit constraint reads `variable - value = plus - minus`. Raising the
// value by delta is replacing `plus` by `plus + delta` in every row, so each
// row moves by delta times its coefficient of `plus`. When `plus` or `minus`
// is basic, its row is the only one that mentions either.
void SolverImpl::moveEditConstant(const EditInfo& edit, double delta)
{
    Symbol plus = edit.tag.marker;
    Symbol minus = edit.tag.other;
    if (auto row = m_rows.find(plus); row != m_rows.end()) {
        row->second->add(-delta);
        if (isInfeasible(*row->second))
            m_infeasible.push_back(plus);
        return;
    }
    if (auto row = m_rows.find(minus); row != m_rows.end()) {
        row->second->add(delta);
        if (isInfeasible(*row->second))
            m_infeasible.push_back(minus);
        return;
    }
    for (auto& [symbol, row] : m_rows) {
        double coefficient = row->coefficientFor(plus);
        if (coefficient == 0)
            continue;
        row->add(delta * coefficient);
        if (symbol.isRestricted() && isInfeasible(*row))
            m_infeasible.push_back(symbol);
    }
}

SolverImpl::RowMap SolverImpl::copyRows() const
{
    RowMap copy;
    copy.reserve(m_rows.size());
    for (const auto& [symbol, row] : m_rows)
        copy.emplace(symbol, std::make_unique<Row>(*row));
    return copy;
}

std::string SolverImpl::symbolName(Symbol symbol)
{
    std::ostringstream out;
    switch (symbol.type()) {
    case Symbol::Type::Invalid:
        return "invalid";
    case Symbol::Type::External:
        out << 'v';
        break;
    case Symbol::Type::Slack:
        out << 's';
        break;
    case Symbol::Type::Error:
        out << 'e';
        break;
    case Symbol::Type::Dummy:
        out << 'd';
        break;
    }
    out << symbol.id();
    return out.str();
}

std::string SolverImpl::describe(const Row& row)
{
    std::ostringstream out;
    out << row.constant();
    for (const Row::Cell& cell : row.cells())
        out << (cell.coefficient < 0 ? " - " : " + ") << std::fabs(cell.coefficient) << " * "
            << symbolName(cell.symbol);
    return out.str();
}

std::string SolverImpl::dump(const std::vector<const SolverImpl*>& groups)
{
    Row objective;
    std::vector<std::pair<Symbol, const Row*>> rows;
    std::vector<Symbol> infeasible;
    std::vector<std::tuple<Symbol, Variable, double>> variables;
    std::vector<const EditInfo*> edits;
    std::vector<std::pair<Tag, Constraint>> constraints;
    for (const SolverImpl* group : groups) {
        objective.insert(group->m_objective);
        for (const auto& [symbol, row] : group->m_rows)
            rows.emplace_back(symbol, row.get());
        infeasible.insert(infeasible.end(), group->m_infeasible.begin(), group->m_infeasible.end());
        for (const auto& [variable, symbol] : group->m_variables) {
            auto row = group->m_rows.find(symbol);
            variables.emplace_back(symbol, variable, row == group->m_rows.end() ? 0.0 : row->second->constant());
        }
        for (const auto& entry : group->m_edits)
            edits.push_back(&entry.second);
        for (const auto& [constraint, tag] : group->m_constraints)
            constraints.emplace_back(tag, constraint);
    }

    std::ostringstream out;
    out << "Objective\n  " << describe(objective) << "\nTableau\n";
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [basic, row] : rows)
        out << "  " << symbolName(basic) << " = " << describe(*row) << '\n';

    out << "Infeasible\n";
    std::sort(infeasible.begin(), infeasible.end());
    infeasible.erase(std::unique(infeasible.begin(), infeasible.end()), infeasible.end());
    for (Symbol symbol : infeasible)
        out << "  " << symbolName(symbol) << '\n';

    out << "Variables\n";
    std::sort(variables.begin(), variables.end(),
        [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
    for (const auto& [symbol, variable, value] : variables)
        out << "  " << symbolName(symbol) << ' ' << variable.displayName() << " = " << value << '\n';

    out << "Edit variables\n";
    std::sort(edits.begin(), edits.end(), [](auto* a, auto* b) { return a->tag.marker < b->tag.marker; });
    for (const EditInfo* edit : edits)
        out << "  " << edit->constraint.toString() << ", suggested " << edit->constant << '\n';

    out << "Constraints\n";
    std::sort(constraints.begin(), constraints.end(),
        [](const auto& a, const auto& b) { return a.first.marker < b.first.marker; });
    for (const auto& [tag, constraint] : constraints) {
        out << "  " << constraint.toString() << "  [" << symbolName(tag.marker);
        if (tag.other.isValid())
            out << ' ' << symbolName(tag.other);
        out << "]\n";
    }
    return out.str();
}

} // namespace layout
