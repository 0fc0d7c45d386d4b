#include "PDFDisplayListCache.h"

#include "platform/pdf/PDFDisplayList.h"

std::shared_ptr<PDFDisplayList> PDFDisplayListCache::get(const PDFPage &page, int index,
                                                         quint32 generation)
{
    {
        QMutexLocker locker(&m_mutex);
        if (const Entry *entry = m_lists.object(index); entry && entry->generation == generation)
            return entry->list;
    }
    // Recorded outside our lock: the document's own lock serialises recordings anyway, and
    // workers drawing pages already recorded must not wait for this one.
    auto list = page.displayList();
    if (list) {
        QMutexLocker locker(&m_mutex);
        const Entry *entry = m_lists.object(index);
        if (!entry || entry->generation <= generation)
            m_lists.insert(index, new Entry{generation, list});
    }
    return list;
}

void PDFDisplayListCache::remove(int index)
{
    QMutexLocker locker(&m_mutex);
    m_lists.remove(index);
}
