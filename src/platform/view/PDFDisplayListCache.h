#pragma once

#include "platform/pdf/PDFPage.h"

#include <QCache>
#include <QMutex>
#include <memory>

class PDFDisplayList;

// Recorded pages shared by the render workers, a bounded number of them. Safe on any thread.
class PDFDisplayListCache {
public:
    static constexpr int kCapacity = 48;

    // The page's recording for that generation, recorded on the calling thread when missing.
    std::shared_ptr<PDFDisplayList> get(const PDFPage &page, int index, quint32 generation);
    void remove(int index);

private:
    struct Entry {
        quint32 generation;
        std::shared_ptr<PDFDisplayList> list;
    };
    QMutex m_mutex;
    QCache<int, Entry> m_lists{kCapacity};
};
