#include "PDFDocumentHold.h"

#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"

PDFDocumentHold PDFDocumentHold::tryHold(const PDFDocument &document)
{
    const std::shared_ptr<PDFDocumentData> &data = document.d;
    return PDFDocumentHold(data && data->mutex.try_lock() ? data : nullptr);
}

PDFDocumentHold::~PDFDocumentHold()
{
    if (m_data)
        m_data->mutex.unlock();
}
