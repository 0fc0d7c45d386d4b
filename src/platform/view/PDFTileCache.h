#pragma once

#include "PDFTileKey.h"

#include <QHash>
#include <QImage>
#include <QVector>
#include <list>
#include <utility>

// Rendered tiles within a byte capacity. Once over it, the tiles of the page farthest from the
// pages on screen go first, the least recently used of them first.
class PDFTileCache {
public:
    explicit PDFTileCache(qint64 capacityBytes) : m_capacity(capacityBytes) {}

    // Null when absent; a hit counts as a use.
    QImage find(const PDFTileKey &key);
    void insert(const PDFTileKey &key, const QImage &image);
    // The pages on screen, first to last; eviction measures its distance from them.
    void setShownPages(int first, int last);
    // Every tile of a page, whatever its scale or generation (the stand-ins while fresh ones render).
    QVector<std::pair<PDFTileKey, QImage>> tilesOfPage(int page) const;
    void clear();
    qint64 bytes() const { return m_bytes; }
    qint64 capacity() const { return m_capacity; }
    void setCapacity(qint64 bytes);
    int count() const { return int(m_index.size()); }

private:
    using Entry = std::pair<PDFTileKey, QImage>;
    int distanceFromShown(int page) const;
    void evictOne();

    std::list<Entry> m_entries; // most recently used first
    QHash<PDFTileKey, std::list<Entry>::iterator> m_index;
    qint64 m_capacity;
    qint64 m_bytes = 0;
    int m_firstShown = 0;
    int m_lastShown = 0;
};
