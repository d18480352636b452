#pragma once

#include <cmath>
#include <vector>

#include "platform/uikit/layout/Symbol.h"

namespace layout {

// Coefficients and constants closer to zero than this are zero: the tableau's
// arithmetic leaves such residues where exact arithmetic would cancel.
constexpr double tolerance = 1.0e-8;

inline bool isNearZero(double value)
{
    return std::fabs(value) < tolerance;
}

// One equation of the tableau. While a constraint's row is being built it
// reads `0 = constant + Σ coefficient × symbol`; once it is in the tableau
// under a basic symbol it reads `basic = constant + Σ coefficient × symbol`.
// Cells are sorted by symbol, so the lowest symbol comes first, and a cell
// whose coefficient becomes near zero is dropped.
class Row {
public:
    struct Cell {
        Symbol symbol;
        double coefficient;
    };

    explicit Row(double constant = 0)
        : m_constant(constant)
    {
    }

    double constant() const { return m_constant; }
    const std::vector<Cell>& cells() const { return m_cells; }
    bool hasCells() const { return !m_cells.empty(); }
    bool hasOnlyDummies() const;

    // The coefficient of `symbol`, zero when the row does not mention it.
    double coefficientFor(Symbol) const;

    // Adds `value` to the constant and answers the new constant.
    double add(double value);

    // Adds `coefficient × symbol`, or `coefficient ×` every cell and the
    // constant of `other`.
    void insert(Symbol, double coefficient = 1.0);
    void insert(const Row& other, double coefficient = 1.0);

    void remove(Symbol);
    void reverseSign();

    // Turns `0 = ... + a × symbol + ...` into `symbol = ...`. The row must
    // mention `symbol`.
    void solveFor(Symbol);

    // Turns `basic = ... + a × entering + ...` into `entering = ...`, where
    // `basic` moves to the right-hand side.
    void solveFor(Symbol basic, Symbol entering);

    // Replaces `symbol` by the right-hand side of its row, if this row
    // mentions it; answers whether it did.
    bool substitute(Symbol, const Row& row);

private:
    size_t insertFrom(size_t start, Symbol, double coefficient);

    double m_constant;
    std::vector<Cell> m_cells;
};

} // namespace layout
