#include "PDFTileCache.h"

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
    while (m_bytes > m_capacity && m_entries.size() > 1) {
        const Entry &last = m_entries.back();
        m_bytes -= last.second.sizeInBytes();
        m_index.remove(last.first);
        m_entries.pop_back();
    }
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
