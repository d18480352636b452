#include "platform/uikit/layout/Strength.h"

#include <sstream>

namespace layout {

std::string Strength::describe(double strength)
{
    if (strength == required)
        return "required";
    if (strength == strong)
        return "strong";
    if (strength == medium)
        return "medium";
    if (strength == weak)
        return "weak";
    std::ostringstream out;
    out << "strength " << strength;
    return out.str();
}

} // namespace layout
