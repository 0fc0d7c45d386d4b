#pragma once

#include "platform/pdf/PDFPage.h"

#include <QMutex>
#include <list>
#include <memory>

class PDFDisplayList;

// Recorded pages shared by the render workers, within a byte capacity. Once over it, the
// recording of the page farthest from the pages on screen goes first (the least recently used
// of equally far ones). Safe on any thread.
class PDFDisplayListCache {
public:
    static constexpr qint64 kDefaultCapacity = 16ll << 20;

    explicit PDFDisplayListCache(qint64 capacityBytes = kDefaultCapacity) : m_capacity(capacityBytes) {}

    // The page's recording for that generation, recorded on the calling thread when missing.
    std::shared_ptr<PDFDisplayList> get(const PDFPage &page, int index, quint32 generation);
    // Keeps a recording made elsewhere, as `get` keeps its own.
    void insert(int index, quint32 generation, std::shared_ptr<PDFDisplayList> list);
    void remove(int index);
    // The pages on screen, first to last; eviction measures its distance from them.
    void setShownPages(int first, int last);

    qint64 bytes() const;
    int count() const;
    bool contains(int index) const;

private:
    struct Entry {
        int index;
        quint32 generation;
        std::shared_ptr<PDFDisplayList> list;
    };
    std::list<Entry>::iterator find(int index);
    int distanceFromShown(int index) const;
    void evictOne();

    mutable QMutex m_mutex; // guards everything below
    std::list<Entry> m_entries; // most recently used first
    qint64 m_capacity;
    qint64 m_bytes = 0;
    int m_firstShown = 0;
    int m_lastShown = 0;
};
