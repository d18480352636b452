#include "platform/uikit/layout/Expression.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "platform/uikit/layout/Row.h"

namespace layout {

Expression Expression::reduced() const
{
    std::vector<Term> terms;
    terms.reserve(m_terms.size());
    for (const Term& term : m_terms) {
        auto same = std::find_if(
            terms.begin(), terms.end(), [&](const Term& other) { return other.variable.isSame(term.variable); });
        if (same == terms.end())
            terms.push_back(term);
        else
            same->coefficient += term.coefficient;
    }
    std::erase_if(terms, [](const Term& term) { return isNearZero(term.coefficient); });
    return Expression(std::move(terms), m_constant);
}

bool Expression::isFinite() const
{
    return std::isfinite(m_constant) && std::all_of(m_terms.begin(), m_terms.end(), [](const Term& term) {
        return std::isfinite(term.coefficient);
    });
}

std::string Expression::toString() const
{
    std::ostringstream out;
    bool first = true;
    auto writeSign = [&](double value) {
        if (first)
            out << (value < 0 ? "-" : "");
        else
            out << (value < 0 ? " - " : " + ");
        first = false;
    };
    for (const Term& term : m_terms) {
        writeSign(term.coefficient);
        double magnitude = std::fabs(term.coefficient);
        if (magnitude != 1.0)
            out << magnitude << " * ";
        out << term.variable.displayName();
    }
    if (first || m_constant != 0) {
        writeSign(m_constant);
        out << std::fabs(m_constant);
    }
    return out.str();
}

Expression& Expression::operator+=(const Expression& other)
{
    m_terms.insert(m_terms.end(), other.m_terms.begin(), other.m_terms.end());
    m_constant += other.m_constant;
    return *this;
}

Expression& Expression::operator-=(const Expression& other)
{
    return *this += -other;
}

Expression& Expression::operator*=(double factor)
{
    for (Term& term : m_terms)
        term.coefficient *= factor;
    m_constant *= factor;
    return *this;
}

Expression& Expression::operator/=(double divisor)
{
    return *this *= 1.0 / divisor;
}

Expression operator+(Expression a, const Expression& b)
{
    return a += b;
}

Expression operator-(Expression a, const Expression& b)
{
    return a -= b;
}

Expression operator-(Expression a)
{
    return a *= -1.0;
}

Expression operator*(Expression a, double factor)
{
    return a *= factor;
}

Expression operator*(double factor, Expression a)
{
    return a *= factor;
}

Expression operator/(Expression a, double divisor)
{
    return a /= divisor;
}

} // namespace layout
