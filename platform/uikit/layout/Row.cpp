#include "platform/uikit/layout/Row.h"

#include <algorithm>
#include <cassert>

namespace layout {

namespace {

    bool symbolBefore(const Row::Cell& cell, Symbol symbol)
    {
        return cell.symbol < symbol;
    }

} // namespace

bool Row::hasOnlyDummies() const
{
    return std::all_of(m_cells.begin(), m_cells.end(), [](const Cell& cell) { return cell.symbol.isDummy(); });
}

double Row::coefficientFor(Symbol symbol) const
{
    auto it = std::lower_bound(m_cells.begin(), m_cells.end(), symbol, symbolBefore);
    return it != m_cells.end() && it->symbol == symbol ? it->coefficient : 0.0;
}

double Row::add(double value)
{
    m_constant += value;
    return m_constant;
}

void Row::insert(Symbol symbol, double coefficient)
{
    insertFrom(0, symbol, coefficient);
}

void Row::insert(const Row& other, double coefficient)
{
    m_constant += other.m_constant * coefficient;
    // Both rows are sorted, so each search can start where the last one ended.
    size_t start = 0;
    for (const Cell& cell : other.m_cells)
        start = insertFrom(start, cell.symbol, cell.coefficient * coefficient);
}

size_t Row::insertFrom(size_t start, Symbol symbol, double coefficient)
{
    auto it = std::lower_bound(m_cells.begin() + static_cast<ptrdiff_t>(start), m_cells.end(), symbol, symbolBefore);
    size_t index = static_cast<size_t>(it - m_cells.begin());
    if (it != m_cells.end() && it->symbol == symbol) {
        it->coefficient += coefficient;
        if (isNearZero(it->coefficient))
            m_cells.erase(it);
    } else if (!isNearZero(coefficient)) {
        m_cells.insert(it, Cell { symbol, coefficient });
    }
    return index;
}

void Row::remove(Symbol symbol)
{
    auto it = std::lower_bound(m_cells.begin(), m_cells.end(), symbol, symbolBefore);
    if (it != m_cells.end() && it->symbol == symbol)
        m_cells.erase(it);
}

void Row::reverseSign()
{
    m_constant = -m_constant;
    for (Cell& cell : m_cells)
        cell.coefficient = -cell.coefficient;
}

void Row::solveFor(Symbol symbol)
{
    auto it = std::lower_bound(m_cells.begin(), m_cells.end(), symbol, symbolBefore);
    assert(it != m_cells.end() && it->symbol == symbol);
    double scale = -1.0 / it->coefficient;
    m_cells.erase(it);
    m_constant *= scale;
    for (Cell& cell : m_cells)
        cell.coefficient *= scale;
}

void Row::solveFor(Symbol basic, Symbol entering)
{
    insert(basic, -1.0);
    solveFor(entering);
}

bool Row::substitute(Symbol symbol, const Row& row)
{
    auto it = std::lower_bound(m_cells.begin(), m_cells.end(), symbol, symbolBefore);
    if (it == m_cells.end() || !(it->symbol == symbol))
        return false;
    double coefficient = it->coefficient;
    m_cells.erase(it);
    insert(row, coefficient);
    return true;
}

} // namespace layout
