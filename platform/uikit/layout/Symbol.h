#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace layout {

// A column of the simplex tableau. External symbols stand for the caller's
// variables and may take any value; slack and error symbols are restricted to
// be non-negative; a dummy symbol marks a required equality and is held at
// zero, so no pivot ever brings it into the basis. Symbols are ordered by
// their identifier, which the pivoting rules use to break ties.
class Symbol {
public:
    enum class Type : uint8_t { Invalid, External, Slack, Error, Dummy };
    using Id = uint64_t;

    Symbol() = default;
    Symbol(Type type, Id id)
        : m_id(id)
        , m_type(type)
    {
    }

    Type type() const { return m_type; }
    Id id() const { return m_id; }
    bool isValid() const { return m_type != Type::Invalid; }
    bool isExternal() const { return m_type == Type::External; }
    bool isDummy() const { return m_type == Type::Dummy; }
    bool isRestricted() const { return m_type != Type::External; }
    bool isPivotable() const { return m_type == Type::Slack || m_type == Type::Error; }

    friend bool operator==(Symbol a, Symbol b) { return a.m_id == b.m_id; }
    friend bool operator<(Symbol a, Symbol b) { return a.m_id < b.m_id; }

    struct Hash {
        size_t operator()(Symbol symbol) const { return std::hash<Id>()(symbol.id()); }
    };

private:
    Id m_id { 0 };
    Type m_type { Type::Invalid };
};

} // namespace layout
