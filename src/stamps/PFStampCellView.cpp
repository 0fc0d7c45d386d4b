#include "PFStampCellView.h"

#include "PFStampDrawing.h"

#include "editing/PFPainterSurface.h"
#include "platform/store/Localization.h"
#include "settings/PFManager.h"

#include <QMouseEvent>
#include <QPainter>

PFStampCellView::PFStampCellView(int cellIndex, QWidget *parent) : QWidget(parent), m_cellIndex(cellIndex)
{
    setObjectName(QStringLiteral("PFStampCollectionItem"));
    setFixedSize(kCellSize);
    setCursor(Qt::PointingHandCursor);
}

void PFStampCellView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(230, 230, 230));
    // The drawing is y-up, like page space.
    painter.translate(0, height());
    painter.scale(1, -1);
    PFPainterSurface surface(painter);
    const bool chinese = Localization::tableSuffix(QLocale()) == QLatin1String("zh_CN");
    // A dated cell shows the time of each drawing.
    PFStampDrawing::drawCell(surface, m_cellIndex, QRectF(QPointF(), QSizeF(size())), PFManager::pfDateStamp(),
                             chinese);
}

void PFStampCellView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(m_cellIndex);
}
