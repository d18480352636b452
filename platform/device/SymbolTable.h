#pragma once

#include <map>
#include <string>
#include <string_view>
#include <typeindex>

#include "platform/device/Forward.h"

namespace device {

// The symbols a process's program exports by name (the platform's dynamic
// loader, `dlopen` and `dlsym`): a framework names the address of one of its
// variables, and other code of the same process finds it by that name. Each
// symbol remembers the C++ type of what it points at, so a look-up with
// another type finds nothing instead of reading the wrong thing.
//
// A per-process service; nothing outlives its process.
class SymbolTable {
public:
    explicit SymbolTable(Process&) { }

    static SymbolTable& of(Process&);

    // Exports `address` under `name`, replacing an earlier symbol of that name.
    template <typename T> void define(std::string name, T* address)
    {
        m_symbols.insert_or_assign(std::move(name), Symbol { address, std::type_index(typeid(T)) });
    }
    void remove(std::string_view name);

    // The address exported under `name` when it points at a T; nil otherwise.
    template <typename T> T* lookUp(std::string_view name) const
    {
        auto it = m_symbols.find(name);
        if (it == m_symbols.end() || it->second.type != std::type_index(typeid(T)))
            return nullptr;
        return static_cast<T*>(it->second.address);
    }

    // A handle on a program's symbols, as `dlopen` gives one.
    class Handle {
    public:
        Handle() = default;
        explicit operator bool() const { return m_table != nullptr; }
        template <typename T> T* symbol(std::string_view name) const
        {
            return m_table ? m_table->lookUp<T>(name) : nullptr;
        }
        // `dlclose`: the handle finds nothing afterwards.
        void close() { m_table = nullptr; }

    private:
        friend class SymbolTable;
        explicit Handle(const SymbolTable* table)
            : m_table(table)
        {
        }
        const SymbolTable* m_table { nullptr };
    };

    // `dlopen`: an empty path opens the running program's own symbols; the
    // mode is accepted for the platform's signature. Any other path names a
    // library this table does not hold, and gives an empty handle.
    static Handle open(Process&, std::string_view path, int mode);

private:
    struct Symbol {
        void* address;
        std::type_index type;
    };
    std::map<std::string, Symbol, std::less<>> m_symbols;
};

} // namespace device
