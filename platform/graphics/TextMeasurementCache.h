#pragma once

#include <list>
#include <memory>
#include <unordered_map>

#include "platform/graphics/TextLayout.h"

namespace graphics {

// Remembers the Pango layouts and metrics of the text layouts measured last,
// so measuring or drawing an unchanged text again is a hash look-up. It is a
// pure memo: an entry depends only on its TextLayout, which is a value, so an
// entry can never go stale. The least recently used entries make room for new
// ones. Each thread has its own (Pango layouts belong to one thread).
class TextMeasurementCache {
public:
    static constexpr size_t defaultCapacity = 512;

    struct Entry {
        TextMetrics metrics;
        std::shared_ptr<PangoLayout> layout;
    };

    explicit TextMeasurementCache(size_t capacity = defaultCapacity);
    static TextMeasurementCache& current();

    const Entry& entryFor(const TextLayout&);

    size_t size() const { return m_entries.size(); }
    size_t capacity() const { return m_capacity; }
    uint64_t hitCount() const { return m_hits; }
    uint64_t missCount() const { return m_misses; }
    void clear();

private:
    using Item = std::pair<TextLayout, Entry>;
    struct KeyHash {
        size_t operator()(const TextLayout* layout) const { return layout->hash(); }
    };
    struct KeyEqual {
        bool operator()(const TextLayout* a, const TextLayout* b) const { return *a == *b; }
    };

    size_t m_capacity;
    std::list<Item> m_entries;
    std::unordered_map<const TextLayout*, std::list<Item>::iterator, KeyHash, KeyEqual> m_index;
    uint64_t m_hits { 0 };
    uint64_t m_misses { 0 };
};

} // namespace graphics
