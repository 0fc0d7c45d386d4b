#include "PDFDisplayListCache.h"

#include "platform/pdf/PDFDisplayList.h"

#include <algorithm>
#include <iterator>

std::shared_ptr<PDFDisplayList> PDFDisplayListCache::get(const PDFPage &page, int index,
                                                         quint32 generation)
{
    {
        QMutexLocker locker(&m_mutex);
        if (const auto it = find(index); it != m_entries.end() && it->generation == generation) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return it->list;
        }
    }
    // Recorded outside our lock: the document's own lock serialises recordings anyway, and
    // workers drawing pages already recorded must not wait for this one.
    auto list = page.displayList();
    if (list)
        insert(index, generation, list);
    return list;
}

void PDFDisplayListCache::insert(int index, quint32 generation, std::shared_ptr<PDFDisplayList> list)
{
    QMutexLocker locker(&m_mutex);
    if (const auto it = find(index); it != m_entries.end()) {
        if (it->generation > generation)
            return; // a newer look of the page is already here
        m_bytes -= it->list->bytes();
        m_entries.erase(it);
    }
    m_bytes += list->bytes();
    m_entries.push_front({index, generation, std::move(list)});
    while (m_bytes > m_capacity && m_entries.size() > 1)
        evictOne();
}

void PDFDisplayListCache::remove(int index)
{
    QMutexLocker locker(&m_mutex);
    if (const auto it = find(index); it != m_entries.end()) {
        m_bytes -= it->list->bytes();
        m_entries.erase(it);
    }
}

void PDFDisplayListCache::setShownPages(int first, int last)
{
    QMutexLocker locker(&m_mutex);
    m_firstShown = std::min(first, last);
    m_lastShown = std::max(first, last);
}

qint64 PDFDisplayListCache::bytes() const
{
    QMutexLocker locker(&m_mutex);
    return m_bytes;
}

int PDFDisplayListCache::count() const
{
    QMutexLocker locker(&m_mutex);
    return int(m_entries.size());
}

bool PDFDisplayListCache::contains(int index) const
{
    QMutexLocker locker(&m_mutex);
    return std::any_of(m_entries.begin(), m_entries.end(), [index](const Entry &e) { return e.index == index; });
}

std::list<PDFDisplayListCache::Entry>::iterator PDFDisplayListCache::find(int index)
{
    return std::find_if(m_entries.begin(), m_entries.end(), [index](const Entry &e) { return e.index == index; });
}

int PDFDisplayListCache::distanceFromShown(int index) const
{
    return index < m_firstShown ? m_firstShown - index : index > m_lastShown ? index - m_lastShown : 0;
}

void PDFDisplayListCache::evictOne()
{
    // From the least recently used on; the newest recording is never the victim.
    auto victim = std::prev(m_entries.end());
    int farthest = distanceFromShown(victim->index);
    for (auto it = victim; it != std::next(m_entries.begin());) {
        --it;
        if (const int distance = distanceFromShown(it->index); distance > farthest) {
            farthest = distance;
            victim = it;
        }
    }
    m_bytes -= victim->list->bytes();
    m_entries.erase(victim);
}
