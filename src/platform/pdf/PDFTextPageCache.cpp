#include "PDFTextPageCache.h"

#include "PDFDocumentPrivate.h"

qint64 PDFTextPageCache::bytesOf(const PDFTextPage &text)
{
    return qint64(sizeof(PDFTextPage)) + qint64(text.chars.capacity()) * qint64(sizeof(PDFTextPage::Char));
}

std::shared_ptr<const PDFTextPage> PDFTextPageCache::find(int object)
{
    const auto it = m_index.find(object);
    if (it == m_index.end())
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, it->second);
    return it->second->second;
}

void PDFTextPageCache::insert(int object, std::shared_ptr<const PDFTextPage> text)
{
    if (const auto it = m_index.find(object); it != m_index.end())
        remove(it->second);
    if (!text)
        return;
    m_bytes += bytesOf(*text);
    m_entries.emplace_front(object, std::move(text));
    m_index.emplace(object, m_entries.begin());
    // The newest text stays even when it alone is over the capacity: its reader wants it next.
    while (m_bytes > m_capacity && m_entries.size() > 1)
        remove(std::prev(m_entries.end()));
}

void PDFTextPageCache::clear()
{
    m_entries.clear();
    m_index.clear();
    m_bytes = 0;
}

void PDFTextPageCache::remove(std::list<Entry>::iterator it)
{
    m_bytes -= bytesOf(*it->second);
    m_index.erase(it->first);
    m_entries.erase(it);
}
