#pragma once

#include "PDFPage.h"

#include <QPointF>

// A place in a document: a page and a point on it in page space.
class PDFDestination {
public:
    PDFDestination() = default;
    PDFDestination(const PDFPage &page, QPointF point) : m_page(page), m_point(point) {}

    bool isNull() const { return m_page.isNull(); }
    PDFPage page() const { return m_page; }
    QPointF point() const { return m_point; }
    bool operator==(const PDFDestination &) const = default;

    // For the engine layer: the handle of a page object.
    static PDFPage pageFor(const std::shared_ptr<PDFDocumentData> &data, int pageObject)
    {
        return PDFPage(data, pageObject);
    }

private:
    PDFPage m_page;
    QPointF m_point;
};
