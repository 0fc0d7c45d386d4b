#pragma once

#include "PDFAction.h"
#include "PDFDrawing.h"
#include "PDFTypes.h"

#include <QDateTime>
#include <QImage>
#include <memory>
#include <optional>

class PDFDocument;
class PDFPage;
struct PDFDocumentData;

// An annotation: a handle to its dictionary, an indirect object of the document. Removing it
// from its page and adding it again keeps the same object and all its properties.
class PDFAnnotation {
public:
    PDFAnnotation() = default;
    // A new annotation of the given PDF subtype ("Square", "Ink", …), not yet on any page.
    static PDFAnnotation create(const PDFDocument &document, const QString &subtype,
                                const QRectF &bounds);

    bool isNull() const { return !d; }
    // The page it is on, or a null page when it is on none.
    PDFPage page() const;
    QString type() const;

    QRectF bounds() const;
    void setBounds(const QRectF &bounds);

    // Stroke colour (/C) and interior colour (/IC); nullopt when the entry is absent. Setting an
    // invalid or fully transparent colour removes the entry.
    std::optional<QColor> color() const;
    void setColor(const QColor &color);
    std::optional<QColor> interiorColor() const;
    void setInteriorColor(const QColor &color);
    double opacity() const;
    void setOpacity(double opacity);

    std::optional<PDFBorder> border() const;
    void setBorder(const std::optional<PDFBorder> &border);

    QString contents() const;
    void setContents(const QString &contents);
    // The author, which is also the text label (the /T entry).
    QString userName() const;
    void setUserName(const QString &name);
    QDateTime modificationDate() const;
    void setModificationDate(const QDateTime &date);

    // Free text: font, size and colour of its default appearance, and alignment.
    QString fontName() const;
    double fontSize() const;
    QColor fontColor() const;
    void setFont(const QString &name, double size);
    void setFontColor(const QColor &color);
    PDFTextAlignment alignment() const;
    void setAlignment(PDFTextAlignment alignment);

    // Markup: quadrilaterals, in the order given.
    QVector<PDFQuad> quadrilateralPoints() const;
    void setQuadrilateralPoints(const QVector<PDFQuad> &quads);

    // Line: its two ends in page space and its ending styles.
    QPointF startPoint() const;
    QPointF endPoint() const;
    void setLinePoints(QPointF start, QPointF end);
    PDFLineStyle startLineStyle() const;
    PDFLineStyle endLineStyle() const;
    void setLineStyles(PDFLineStyle start, PDFLineStyle end);

    // Ink: its strokes.
    QVector<QVector<QPointF>> inkPaths() const;
    void setInkPaths(const QVector<QVector<QPointF>> &paths);

    // Note: the icon name ("Comment", "Key", "Note", "Help", "NewParagraph", "Paragraph", "Insert").
    QString iconName() const;
    void setIconName(const QString &name);

    // Link: its action.
    PDFAction action() const;
    void setAction(const PDFAction &action);

    // An appearance of the program's own making, stretched onto the bounds and kept as the
    // normal appearance; the engine never replaces it with one of its own.
    bool setAppearance(const PDFDrawing &appearance);
    bool hasAppearance() const;

    // Private keys by which the program recognises its own annotations after reopening.
    QString privateValue(const QString &key) const;
    void setPrivateValue(const QString &key, const QString &value);

    // A copy with a dictionary of its own in `target` (which may be another document), on no page.
    PDFAnnotation copy(const PDFDocument &target) const;

    bool operator==(const PDFAnnotation &other) const { return d == other.d && m_object == other.m_object; }

private:
    friend class PDFPage;
    PDFAnnotation(std::shared_ptr<PDFDocumentData> data, int object) : d(std::move(data)), m_object(object) {}

    std::shared_ptr<PDFDocumentData> d;
    int m_object = 0;
};
