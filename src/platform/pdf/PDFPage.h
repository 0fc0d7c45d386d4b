#pragma once

#include "PDFTypes.h"

#include <QImage>
#include <QTransform>
#include <memory>

class PDFAnnotation;
class PDFDisplayList;
class PDFDocument;
class PDFSelection;
struct PDFDrawing;
struct PDFDocumentData;

// A page of a document. A handle: copies refer to the same page. It keeps its identity while
// pages are inserted or removed around it; its index is looked up, not stored.
class PDFPage {
public:
    PDFPage() = default;

    bool isNull() const { return !d; }
    PDFDocument document() const;
    // The page's position in its document, or -1 when it is not (or no longer) in the page tree.
    int index() const;

    int rotation() const; // 0, 90, 180 or 270
    void setRotation(int degrees);
    QRectF bounds(PDFDisplayBox box = PDFDisplayBox::CropBox) const;
    void setBounds(const QRectF &rect, PDFDisplayBox box);
    // Size of the crop box as displayed, that is after rotation, in points.
    QSizeF displaySize() const;
    // Maps page space to the displayed page at the given scale: rotated, y downwards, origin at
    // the top left of the crop box. Its inverse maps view points back to page space.
    QTransform pageToDisplay(double scale) const;
    QString label() const;

    // Text of the whole page, lines separated by '\n'.
    QString string() const;
    // Text of the characters whose centres lie inside the rectangle.
    QString text(const QRectF &rect) const;
    PDFSelection selectionForRect(const QRectF &rect) const;
    PDFSelection selectionFromPoint(QPointF from, QPointF to) const;

    QVector<PDFAnnotation> annotations() const;
    // Adds the annotation (a new one, or one removed before) to this page; the same object.
    bool addAnnotation(const PDFAnnotation &annotation);
    bool removeAnnotation(const PDFAnnotation &annotation);

    // Draws `drawing` over the page's own content, as part of it (not as an annotation), in the
    // space of the crop box with the origin at its lower left. False when it could not be added.
    bool appendContent(const PDFDrawing &drawing);
    // Draws a form made once by PDFDocument::addDrawing (so many pages share one object), as
    // appendContent does.
    bool appendForm(int form);

    // A frozen recording of the page, with its annotations, that renders on any thread.
    std::shared_ptr<PDFDisplayList> displayList() const;
    // Renders the whole displayed page at scale (1.0 = 72 dpi) on the calling thread.
    QImage render(double scale) const;

    bool operator==(const PDFPage &other) const { return d == other.d && m_object == other.m_object; }

private:
    friend class PDFDocument;
    friend class PDFAnnotation;
    friend class PDFSelection;
    friend class PDFOutline;
    friend struct PDFDocumentData;
    friend class PDFDestination;
    PDFPage(std::shared_ptr<PDFDocumentData> data, int object) : d(std::move(data)), m_object(object) {}

    std::shared_ptr<PDFDocumentData> d;
    int m_object = 0; // the object number of the page dictionary
};
