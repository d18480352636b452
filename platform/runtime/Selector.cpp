#include "platform/runtime/Selector.h"

#include <memory>
#include <mutex>
#include <unordered_set>

namespace runtime {

namespace {

    struct SelectorTable {
        std::mutex lock;
        // Node-based, so the address of each interned name stays put.
        std::unordered_set<std::string> names;
    };

    SelectorTable& table()
    {
        static SelectorTable* instance = new SelectorTable;
        return *instance;
    }

} // namespace

Selector Selector::named(std::string_view name)
{
    auto& t = table();
    std::lock_guard guard(t.lock);
    auto [it, inserted] = t.names.emplace(name);
    return Selector(&*it);
}

const std::string& Selector::name() const
{
    static const std::string empty;
    return m_name ? *m_name : empty;
}

} // namespace runtime
