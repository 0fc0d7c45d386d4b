#include "PFPageSearchCellDelegate.h"

#include "PFPageSearchListModel.h"
#include "PFPageSearchTableCellView.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

PFPageSearchCellDelegate::PFPageSearchCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent), m_cell(new PFPageSearchTableCellView)
{
    m_cell->setAttribute(Qt::WA_DontShowOnScreen);
}

PFPageSearchCellDelegate::~PFPageSearchCellDelegate() { delete m_cell; }

PFPageSearchTableCellView *PFPageSearchCellDelegate::cellForIndex(const QModelIndex &index) const
{
    m_cell->pfSetMatch(index.data(PFPageSearchListModel::MatchRole).value<PDFSelection>());
    return m_cell;
}

void PFPageSearchCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, option.widget);
    PFPageSearchTableCellView *cell = cellForIndex(index);
    cell->resize(option.rect.size());
    painter->save();
    painter->translate(option.rect.topLeft());
    cell->render(painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter->restore();
}

QSize PFPageSearchCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), PFPageSearchTableCellView::kHeight};
}
