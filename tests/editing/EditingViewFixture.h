#pragma once

#include "editing/PFBasePDFView.h"
#include "editing/PFUndoManager.h"
#include "platform/pdf/PDFDocument.h"

#include <QtTest>
#include <memory>

// A shown editing view on a document, with mouse helpers that take page-space points.
namespace EditingViewFixture {

inline std::unique_ptr<PFBasePDFView> makeView(const QByteArray &pdf, double scale = 1.0, QSize size = {700, 900})
{
    auto view = std::make_unique<PFBasePDFView>();
    view->resize(size);
    view->setDocument(PDFDocument::openData(pdf));
    view->setScaleFactor(scale);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    return view;
}

inline QPoint toViewport(const PFBasePDFView &view, const PDFPage &page, QPointF p)
{
    return view.convertPointFromPage(p, page).toPoint();
}

// The page point that a press at the pixel nearest to p really lands on.
inline QPointF landing(const PFBasePDFView &view, const PDFPage &page, QPointF p)
{
    return view.convertPointToPage(QPointF(toViewport(view, page, p)), page);
}

inline void press(PFBasePDFView &view, const PDFPage &page, QPointF p)
{
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, toViewport(view, page, p));
}

inline void move(PFBasePDFView &view, const PDFPage &page, QPointF p)
{
    QTest::mouseMove(view.viewport(), toViewport(view, page, p));
}

inline void release(PFBasePDFView &view, const PDFPage &page, QPointF p)
{
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, toViewport(view, page, p));
}

inline void drag(PFBasePDFView &view, const PDFPage &page, QPointF from, QPointF to, int steps = 4)
{
    press(view, page, from);
    for (int i = 1; i <= steps; ++i)
        move(view, page, from + (to - from) * i / steps);
    release(view, page, to);
}

inline PDFAnnotation addAnnotation(PDFDocument document, const QString &type, const QRectF &bounds)
{
    PDFAnnotation annotation = PDFAnnotation::create(document, type, bounds);
    document.page(0).addAnnotation(annotation);
    return annotation;
}

} // namespace EditingViewFixture
