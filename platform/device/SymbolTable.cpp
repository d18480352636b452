#include "platform/device/SymbolTable.h"

#include "platform/device/Process.h"

namespace device {

SymbolTable& SymbolTable::of(Process& process)
{
    return process.service<SymbolTable>();
}

void SymbolTable::remove(std::string_view name)
{
    if (auto it = m_symbols.find(name); it != m_symbols.end())
        m_symbols.erase(it);
}

SymbolTable::Handle SymbolTable::open(Process& process, std::string_view path, int)
{
    if (!path.empty())
        return Handle();
    return Handle(&of(process));
}

} // namespace device
