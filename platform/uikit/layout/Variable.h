#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace layout {

// A handle on one unknown of a layout. Copies share the unknown: two
// variables are the same only when one is a copy of the other, whatever their
// names. The name serves messages and dumps. The value is the one the last
// Solver::updateVariables wrote, zero before that.
//
// Variables deliberately have no `==`: between variables (and expressions)
// it builds a Constraint. Compare them with isSame().
class Variable {
public:
    explicit Variable(std::string name = {});

    const std::string& name() const { return m_data->name; }
    double value() const { return m_data->value; }

    bool isSame(const Variable& other) const { return m_data == other.m_data; }

    // The name, or a placeholder for a variable that has none.
    std::string displayName() const;

    struct Hash {
        size_t operator()(const Variable& variable) const { return std::hash<const void*>()(variable.m_data.get()); }
    };
    struct Same {
        bool operator()(const Variable& a, const Variable& b) const { return a.isSame(b); }
    };

private:
    friend class SolverImpl;

    // Values are written by the solver only. The handle stays const: the
    // value belongs to the shared unknown, not to the handle.
    void setValue(double value) const { m_data->value = value; }

    struct Data {
        std::string name;
        double value { 0 };
    };
    std::shared_ptr<Data> m_data;
};

} // namespace layout
