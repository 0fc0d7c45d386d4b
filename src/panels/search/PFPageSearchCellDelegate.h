#pragma once

#include <QCache>
#include <QImage>
#include <QStyledItemDelegate>

class PFPageSearchTableCellView;

// Draws each row of the search list with one shared cell view, filled for the row being drawn,
// so a search with thousands of matches makes no widget per row. A drawn cell is kept as an
// image (within kCacheBytes), since the list repaints every visible row whenever a match is
// appended, and laying out a cell's rich text is what costs.
class PFPageSearchCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr qsizetype kCacheBytes = 4 << 20;

    explicit PFPageSearchCellDelegate(QObject *parent = nullptr);
    ~PFPageSearchCellDelegate() override;

    // The cell as it was last filled for a row; for inspecting what a row shows.
    PFPageSearchTableCellView *cellForIndex(const QModelIndex &index) const;
    // Bytes of the drawn cells kept.
    qsizetype cachedBytes() const { return m_drawn.totalCost(); }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QImage drawnCell(const QModelIndex &index, QSize size, qreal pixelRatio) const;

    PFPageSearchTableCellView *m_cell;
    mutable QCache<QString, QImage> m_drawn; // by the cell's texts and size
};
