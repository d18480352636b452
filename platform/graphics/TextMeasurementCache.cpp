#include "platform/graphics/TextMeasurementCache.h"

#include <algorithm>

namespace graphics {

TextMeasurementCache::TextMeasurementCache(size_t capacity)
    : m_capacity(std::max<size_t>(capacity, 1))
{
}

TextMeasurementCache& TextMeasurementCache::current()
{
    thread_local TextMeasurementCache cache;
    return cache;
}

const TextMeasurementCache::Entry& TextMeasurementCache::entryFor(const TextLayout& layout)
{
    if (auto found = m_index.find(&layout); found != m_index.end()) {
        ++m_hits;
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        return found->second->second;
    }
    ++m_misses;
    Entry entry;
    entry.layout = layout.createPangoLayout(entry.metrics);
    m_entries.emplace_front(layout, std::move(entry));
    m_index.emplace(&m_entries.front().first, m_entries.begin());
    if (m_entries.size() > m_capacity) {
        m_index.erase(&m_entries.back().first);
        m_entries.pop_back();
    }
    return m_entries.front().second;
}

void TextMeasurementCache::clear()
{
    m_index.clear();
    m_entries.clear();
}

} // namespace graphics
