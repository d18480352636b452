#include "platform/foundation/DirectoryEnumerator.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Selector;

bool DirectoryEnumerator::open(const std::filesystem::path& hostFolder)
{
    auto listing = FileManager::list(hostFolder);
    if (listing.error)
        return false;
    m_root = hostFolder;
    m_levels.clear();
    m_pendingDescent.reset();
    m_levels.push_back({ {}, std::move(listing.entries), 0 });
    return true;
}

void DirectoryEnumerator::descend()
{
    if (!m_pendingDescent)
        return;
    std::string relative = std::move(*m_pendingDescent);
    m_pendingDescent.reset();
    auto listing = FileManager::list(m_root / relative);
    if (!listing.error && !listing.entries.empty())
        m_levels.push_back({ relative + "/", std::move(listing.entries), 0 });
}

std::optional<std::string> DirectoryEnumerator::next()
{
    descend();
    while (!m_levels.empty()) {
        Level& level = m_levels.back();
        if (level.index == level.entries.size()) {
            m_levels.pop_back();
            continue;
        }
        const auto& entry = level.entries[level.index++];
        std::string relative = level.prefix + entry.name;
        if (entry.isDirectory)
            m_pendingDescent = relative;
        return relative;
    }
    return std::nullopt;
}

void DirectoryEnumerator::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSDirectoryEnumerator"))
        return;
    ClassBuilder::define<DirectoryEnumerator>(runtime, "NSDirectoryEnumerator", "NSObject")
        .method("nextObject", Imp::of([](DirectoryEnumerator* self, Selector) -> Value {
            auto next = self->next();
            return next ? Value(std::move(*next)) : Value();
        }))
        .method("allObjects", Imp::of([](DirectoryEnumerator* self, Selector) {
            Value all = Value::array();
            while (auto next = self->next())
                all.append(Value(std::move(*next)));
            return all;
        }))
        .method("skipDescendants", Imp::of(&DirectoryEnumerator::skipDescendants));
}

} // namespace foundation
