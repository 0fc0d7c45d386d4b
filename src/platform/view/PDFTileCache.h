#pragma once

#include "PDFTileKey.h"

#include <QHash>
#include <QImage>
#include <QVector>
#include <list>
#include <utility>

// Rendered tiles, least recently used dropped first once their bytes exceed the capacity.
class PDFTileCache {
public:
    explicit PDFTileCache(qint64 capacityBytes) : m_capacity(capacityBytes) {}

    // Null when absent; a hit counts as a use.
    QImage find(const PDFTileKey &key);
    void insert(const PDFTileKey &key, const QImage &image);
    // Every tile of a page, whatever its scale or generation (the stand-ins while fresh ones render).
    QVector<std::pair<PDFTileKey, QImage>> tilesOfPage(int page) const;
    void clear();
    qint64 bytes() const { return m_bytes; }
    qint64 capacity() const { return m_capacity; }
    int count() const { return int(m_index.size()); }

private:
    using Entry = std::pair<PDFTileKey, QImage>;
    std::list<Entry> m_entries; // most recently used first
    QHash<PDFTileKey, std::list<Entry>::iterator> m_index;
    qint64 m_capacity;
    qint64 m_bytes = 0;
};
