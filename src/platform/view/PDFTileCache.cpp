#include "PDFTileCache.h"

#include <algorithm>
#include <iterator>

QImage PDFTileCache::find(const PDFTileKey &key)
{
    const auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        return {};
    m_entries.splice(m_entries.begin(), m_entries, it.value());
    return it.value()->second;
}

void PDFTileCache::insert(const PDFTileKey &key, const QImage &image)
{
    if (const auto it = m_index.constFind(key); it != m_index.constEnd()) {
        m_bytes -= it.value()->second.sizeInBytes();
        m_entries.erase(it.value());
        m_index.remove(key);
    }
    m_entries.emplace_front(key, image);
    m_index.insert(key, m_entries.begin());
    m_bytes += image.sizeInBytes();
    while (m_bytes > m_capacity && m_entries.size() > 1)
        evictOne();
}

void PDFTileCache::setCapacity(qint64 bytes)
{
    m_capacity = bytes;
    while (m_bytes > m_capacity && m_entries.size() > 1)
        evictOne();
}

void PDFTileCache::setShownPages(int first, int last)
{
    m_firstShown = std::min(first, last);
    m_lastShown = std::max(first, last);
}

int PDFTileCache::distanceFromShown(int page) const
{
    return page < m_firstShown ? m_firstShown - page : page > m_lastShown ? page - m_lastShown : 0;
}

void PDFTileCache::evictOne()
{
    // From the least recently used on, so that among equally far tiles the oldest goes; the
    // newest tile (the one just inserted) is never the victim.
    auto victim = std::prev(m_entries.end());
    int farthest = distanceFromShown(victim->first.page);
    for (auto it = victim; it != std::next(m_entries.begin());) {
        --it;
        if (const int distance = distanceFromShown(it->first.page); distance > farthest) {
            farthest = distance;
            victim = it;
        }
    }
    m_bytes -= victim->second.sizeInBytes();
    m_index.remove(victim->first);
    m_entries.erase(victim);
}

QVector<std::pair<PDFTileKey, QImage>> PDFTileCache::tilesOfPage(int page) const
{
    QVector<Entry> tiles;
    for (const Entry &entry : m_entries) {
        if (entry.first.page == page)
            tiles.append(entry);
    }
    return tiles;
}

void PDFTileCache::clear()
{
    m_entries.clear();
    m_index.clear();
    m_bytes = 0;
}
