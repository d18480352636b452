#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace runtime {

// An interned method name. Two selectors with the same name are the same
// pointer, so comparing and hashing them never touches the characters.
// Selectors are shared by every process of a device, as method names are
// shared by every class.
class Selector {
public:
    Selector() = default;

    // Interns `name`; safe to call from any thread.
    static Selector named(std::string_view name);

    const std::string& name() const;
    bool isNull() const { return m_name == nullptr; }
    const void* identity() const { return m_name; }

    friend bool operator==(Selector a, Selector b) { return a.m_name == b.m_name; }

private:
    explicit Selector(const std::string* name)
        : m_name(name)
    {
    }
    const std::string* m_name { nullptr };
};

} // namespace runtime

template <> struct std::hash<runtime::Selector> {
    size_t operator()(runtime::Selector s) const noexcept { return std::hash<const void*> {}(s.identity()); }
};

// A selector interned once per call site: `SEL("viewDidLoad")`.
#define SEL(literal)                                                                                                   \
    ([]() -> ::runtime::Selector {                                                                                     \
        static const ::runtime::Selector interned = ::runtime::Selector::named(literal);                               \
        return interned;                                                                                               \
    }())
