#pragma once

#include <QStyledItemDelegate>

class PFPageSearchTableCellView;

// Draws each row of the search list with one shared cell view, filled for the row being drawn,
// so a search with thousands of matches makes no widget per row.
class PFPageSearchCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PFPageSearchCellDelegate(QObject *parent = nullptr);
    ~PFPageSearchCellDelegate() override;

    // The cell as it was last filled for a row; for inspecting what a row shows.
    PFPageSearchTableCellView *cellForIndex(const QModelIndex &index) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    PFPageSearchTableCellView *m_cell;
};
