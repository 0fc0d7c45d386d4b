#pragma once

#include <QStyledItemDelegate>

// Draws the rows of the highlights-and-notes list: page headers, and annotation rows with the
// kind's icon, the text (marked as the annotation marks it), the author and the date.
class PFMainHighlightCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setDark(bool dark) { m_dark = dark; }
    bool isDark() const { return m_dark; }
    // The icon of a kind number in the light or dark appearance.
    static QString iconName(int kind, bool dark);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    bool m_dark = false;
};
