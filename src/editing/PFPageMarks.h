#pragma once

#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QVariantMap>

class PDFPage;
class QPainter;
class QTransform;
class PFBasePDFView;

// The view's side of the per-document bookmarks: which pages carry one, kept in the
// preference store under the document's path followed by "PageMark" as a map from the 0-based
// page index to the bookmark's title.
class PFPageMarks : public QObject {
    Q_OBJECT
public:
    static constexpr int kTitleLength = 20;

    explicit PFPageMarks(PFBasePDFView *view);

    // The store key of the view's document; empty for a document without a file.
    QString storeKey() const;
    const QVariantMap &marksDic() const { return m_marks; }
    // Reloads the bookmarks from the store (when something is stored there).
    void pfShowPagemarks();
    // Stores the bookmarks and reports the changed page key.
    void pfSaveMarks(const QString &pageKey);
    // Adds a bookmark for the page under a viewport point, titled with the page's first
    // characters. False when there is no page there or it already has one.
    bool pfAddPagemark(QPointF viewPoint);
    bool pfAddPagemark(const PDFPage &page);

    // The red ribbon in the top right corner of the bookmarked page `pageIndex`, whose crop box
    // is `cropBox`; `toView` maps page space.
    void pfDrawPagemark(QPainter &painter, int pageIndex, const QRectF &cropBox, const QTransform &toView) const;
    // The ribbon's outline in page space, for a page whose box has its top right at `topRight`.
    static QPolygonF ribbon(QPointF topRight);

signals:
    void pfRefreshPagemarkClick(const QString &pageKey);

private:
    PFBasePDFView *m_view;
    QVariantMap m_marks;
};
