#include "platform/uikit/layout/Constraint.h"

#include <sstream>

namespace layout {

Constraint::Constraint(const Expression& expression, Relation relation, double strength)
    : m_data(std::make_shared<const Data>(Data { expression.reduced(), relation, Strength::clip(strength) }))
{
}

Constraint Constraint::withStrength(double strength) const
{
    return Constraint(m_data->expression, m_data->relation, strength);
}

std::string Constraint::toString() const
{
    const Expression& expression = m_data->expression;
    std::ostringstream out;
    out << Expression(expression.terms()).toString();
    switch (m_data->relation) {
    case Relation::LessOrEqual:
        out << " <= ";
        break;
    case Relation::Equal:
        out << " == ";
        break;
    case Relation::GreaterOrEqual:
        out << " >= ";
        break;
    }
    out << Expression(-expression.constant()).toString() << " (" << Strength::describe(m_data->strength) << ")";
    return out.str();
}

Constraint operator==(const Expression& a, const Expression& b)
{
    return Constraint(a - b, Relation::Equal);
}

Constraint operator<=(const Expression& a, const Expression& b)
{
    return Constraint(a - b, Relation::LessOrEqual);
}

Constraint operator>=(const Expression& a, const Expression& b)
{
    return Constraint(a - b, Relation::GreaterOrEqual);
}

} // namespace layout
