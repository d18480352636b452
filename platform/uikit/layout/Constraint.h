#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/uikit/layout/Expression.h"
#include "platform/uikit/layout/Strength.h"

namespace layout {

enum class Relation { LessOrEqual, Equal, GreaterOrEqual };

// A handle on the relation `expression <relation> 0` at a strength. Copies are
// the same constraint; two constraints built alike are distinct, and the
// solver tells them apart by identity. The expression is kept reduced and the
// strength clipped to [0, required].
class Constraint {
public:
    Constraint(const Expression& expression, Relation relation, double strength = Strength::required);

    const Expression& expression() const { return m_data->expression; }
    Relation relation() const { return m_data->relation; }
    double strength() const { return m_data->strength; }
    bool isRequired() const { return m_data->strength >= Strength::required; }

    // A new, distinct constraint with the same relation at another strength.
    Constraint withStrength(double strength) const;

    bool isSame(const Constraint& other) const { return m_data == other.m_data; }

    // Reads "left + width - right == 0 (required)", with the constant on the right.
    std::string toString() const;

    struct Hash {
        size_t operator()(const Constraint& constraint) const
        {
            return std::hash<const void*>()(constraint.m_data.get());
        }
    };
    struct Same {
        bool operator()(const Constraint& a, const Constraint& b) const { return a.isSame(b); }
    };

private:
    struct Data {
        Expression expression;
        Relation relation;
        double strength;
    };
    std::shared_ptr<const Data> m_data;
};

// `a == b`, `a <= b` and `a >= b` build required constraints on `a - b`.
Constraint operator==(const Expression& a, const Expression& b);
Constraint operator<=(const Expression& a, const Expression& b);
Constraint operator>=(const Expression& a, const Expression& b);

} // namespace layout
