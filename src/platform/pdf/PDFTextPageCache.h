#pragma once

#include <QtGlobal>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>

struct PDFTextPage;

// Page texts by page object within a byte capacity, least recently used dropped first. A text
// handed out stays valid while its holder keeps it, whether or not the cache still does.
class PDFTextPageCache {
public:
    static constexpr qint64 kDefaultCapacity = 24ll << 20;

    explicit PDFTextPageCache(qint64 capacityBytes = kDefaultCapacity) : m_capacity(capacityBytes) {}

    // nullptr when absent; a hit counts as a use.
    std::shared_ptr<const PDFTextPage> find(int object);
    void insert(int object, std::shared_ptr<const PDFTextPage> text);
    void clear();
    qint64 bytes() const { return m_bytes; }
    int count() const { return int(m_index.size()); }

    static qint64 bytesOf(const PDFTextPage &text);

private:
    using Entry = std::pair<int, std::shared_ptr<const PDFTextPage>>;
    void remove(std::list<Entry>::iterator it);

    std::list<Entry> m_entries; // most recently used first
    std::unordered_map<int, std::list<Entry>::iterator> m_index;
    qint64 m_capacity;
    qint64 m_bytes = 0;
};
