#include "PFPageMarks.h"

#include "PFBasePDFView.h"

#include "platform/pdf/PDFPage.h"
#include "platform/store/UserDefaults.h"

#include <QPainter>

PFPageMarks::PFPageMarks(PFBasePDFView *view) : QObject(view), m_view(view)
{
    // Another document's marks must never show on this one.
    connect(view, &PDFView::documentChanged, this, [this] {
        m_marks.clear();
        pfShowPagemarks();
    });
}

QString PFPageMarks::storeKey() const
{
    const QString path = m_view->document().isNull() ? QString() : m_view->document().path();
    return path.isEmpty() ? QString() : path + QStringLiteral("PageMark");
}

void PFPageMarks::pfShowPagemarks()
{
    const QString key = storeKey();
    if (key.isEmpty())
        return;
    const QVariant stored = UserDefaults::standard().value(key);
    if (stored.typeId() != QMetaType::QVariantMap)
        return;
    m_marks = stored.toMap();
    m_view->viewport()->update();
}

void PFPageMarks::pfSaveMarks(const QString &pageKey)
{
    const QString key = storeKey();
    if (key.isEmpty())
        return;
    UserDefaults::standard().setValue(key, m_marks);
    emit pfRefreshPagemarkClick(pageKey);
}

bool PFPageMarks::pfAddPagemark(QPointF viewPoint)
{
    return pfAddPagemark(m_view->pageForPoint(viewPoint, false));
}

bool PFPageMarks::pfAddPagemark(const PDFPage &page)
{
    if (page.isNull() || storeKey().isEmpty())
        return false;
    const QString pageKey = QString::number(page.index());
    if (m_marks.contains(pageKey))
        return false; // the first title stays
    m_marks.insert(pageKey, page.text(page.bounds()).left(kTitleLength));
    pfSaveMarks(pageKey);
    m_view->viewport()->update();
    return true;
}

QPolygonF PFPageMarks::ribbon(QPointF topRight)
{
    const double r = topRight.x(), t = topRight.y();
    // 18 wide and 30 high, 20 in from the right edge, notched 10 deep in the middle.
    return QPolygonF({{r - 20, t}, {r - 38, t}, {r - 38, t - 30}, {r - 29, t - 20}, {r - 20, t - 30}});
}

void PFPageMarks::pfDrawPagemark(QPainter &painter, int pageIndex, const QRectF &cropBox, const QTransform &toView) const
{
    if (!m_marks.contains(QString::number(pageIndex)))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::red);
    painter.drawPolygon(toView.map(ribbon(QPointF(cropBox.right(), cropBox.bottom()))));
    painter.restore();
}
