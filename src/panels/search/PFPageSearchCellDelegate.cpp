#include "PFPageSearchCellDelegate.h"

#include "PFPageSearchListModel.h"
#include "PFPageSearchTableCellView.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

PFPageSearchCellDelegate::PFPageSearchCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent), m_cell(new PFPageSearchTableCellView), m_drawn(kCacheBytes)
{
    m_cell->setAttribute(Qt::WA_DontShowOnScreen);
}

PFPageSearchCellDelegate::~PFPageSearchCellDelegate() { delete m_cell; }

PFPageSearchTableCellView *PFPageSearchCellDelegate::cellForIndex(const QModelIndex &index) const
{
    m_cell->pfSetPreview(index.data(PFPageSearchListModel::PreviewRole).value<PDFSearchPreview>());
    return m_cell;
}

QImage PFPageSearchCellDelegate::drawnCell(const QModelIndex &index, QSize size, qreal pixelRatio) const
{
    const auto preview = index.data(PFPageSearchListModel::PreviewRole).value<PDFSearchPreview>();
    // The cell's colours come from the application's palette, which a change of theme replaces.
    const QString key = QStringLiteral("%1x%2@%3|%4|%5|%6|%7|%8")
                            .arg(m_cell->palette().cacheKey())
                            .arg(size.width())
                            .arg(size.height())
                            .arg(pixelRatio)
                            .arg(preview.pageIndex)
                            .arg(preview.pageLabel, preview.text, preview.following);
    if (const QImage *drawn = m_drawn.object(key))
        return *drawn;
    m_cell->pfSetPreview(preview);
    m_cell->resize(size);
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    m_cell->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    m_drawn.insert(key, new QImage(image), std::max<qsizetype>(image.sizeInBytes(), 1));
    return image;
}

void PFPageSearchCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, option.widget);
    painter->drawImage(option.rect.topLeft(), drawnCell(index, option.rect.size(), painter->device()->devicePixelRatioF()));
}

QSize PFPageSearchCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), PFPageSearchTableCellView::kHeight};
}
