#pragma once

#include <string>
#include <vector>

#include "platform/uikit/layout/Variable.h"

namespace layout {

struct Term {
    Variable variable;
    double coefficient { 1 };
};

// A linear expression `Σ coefficient × variable + constant`. Numbers and
// variables convert to expressions, so `2 * x - y + 10` reads as written; a
// product or quotient of two expressions does not compile.
class Expression {
public:
    Expression(double constant = 0)
        : m_constant(constant)
    {
    }
    Expression(Variable variable)
        : m_terms { Term { std::move(variable), 1.0 } }
    {
    }
    Expression(std::vector<Term> terms, double constant = 0)
        : m_terms(std::move(terms))
        , m_constant(constant)
    {
    }

    const std::vector<Term>& terms() const { return m_terms; }
    double constant() const { return m_constant; }

    // The same expression with each variable's terms added into one, in the
    // order the variables first appear, and terms that cancel dropped.
    Expression reduced() const;

    // Whether every coefficient and the constant are finite numbers.
    bool isFinite() const;

    // Reads like the source: "2 * width + left - 10".
    std::string toString() const;

    Expression& operator+=(const Expression&);
    Expression& operator-=(const Expression&);
    Expression& operator*=(double);
    Expression& operator/=(double);

private:
    std::vector<Term> m_terms;
    double m_constant { 0 };
};

Expression operator+(Expression, const Expression&);
Expression operator-(Expression, const Expression&);
Expression operator-(Expression);
Expression operator*(Expression, double);
Expression operator*(double, Expression);
Expression operator/(Expression, double);

} // namespace layout
