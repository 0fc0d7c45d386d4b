#include "PFDragListView.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int pathRole = Qt::UserRole + 1;

// Draws the cell's delete mark over the standard picture-and-name cell.
class DeleteMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QRect mark(option.rect.right() - 20, option.rect.top() + 4, 16, 16);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(QColor(0, 0, 0, 140));
        painter->setPen(Qt::NoPen);
        painter->drawEllipse(mark);
        painter->setPen(QPen(Qt::white, 1.5));
        painter->drawLine(mark.adjusted(5, 5, -5, -5).topLeft(), mark.adjusted(5, 5, -5, -5).bottomRight());
        painter->drawLine(mark.adjusted(5, 5, -5, -5).topRight(), mark.adjusted(5, 5, -5, -5).bottomLeft());
        painter->restore();
    }
};

} // namespace

PFDragListView::PFDragListView(QWidget *parent) : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static); // reordering is ours (dropEvent), not free placement
    setGridSize(QSize(140, 140));
    setIconSize(QSize(110, 100));
    setSpacing(4);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // After setMovement, which turns both off for a static list.
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setItemDelegate(new DeleteMarkDelegate(this));
}

void PFDragListView::appendEntry(const PFDragModel &entry)
{
    auto *item = new QListWidgetItem(QIcon(QPixmap::fromImage(entry.pdfImage)), entry.pdfName);
    item->setData(pathRole, entry.filePath);
    item->setToolTip(entry.filePath);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    addItem(item);
    scrollToItem(item);
}

QStringList PFDragListView::filePaths() const
{
    QStringList paths;
    for (int row = 0; row < count(); ++row)
        paths << item(row)->data(pathRole).toString();
    return paths;
}

bool PFDragListView::moveEntry(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count())
        return false;
    QListWidgetItem *moved = takeItem(from);
    insertItem(to, moved);
    setCurrentItem(moved);
    return true;
}

QRect PFDragListView::deleteMarkRect(int row) const
{
    const QRect cell = visualItemRect(item(row));
    return QRect(cell.right() - 20, cell.top() + 4, 16, 16);
}

QStringList PFDragListView::mimeTypes() const { return {QString::fromLatin1(rowsMimeType), QStringLiteral("text/plain")}; }

// An internal drag names its rows; it also carries the file path as text for other programs.
QMimeData *PFDragListView::mimeData(const QList<QListWidgetItem *> &items) const
{
    auto *data = new QMimeData;
    QStringList rows, paths;
    for (QListWidgetItem *entry : items) {
        rows << QString::number(row(entry));
        paths << entry->data(pathRole).toString();
    }
    data->setData(QString::fromLatin1(rowsMimeType), rows.join(u',').toLatin1());
    data->setText(paths.join(u'\n'));
    return data;
}

void PFDragListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(rowsMimeType)))
        event->acceptProposedAction();
    else
        event->ignore(); // files dropped from outside go to the window's drop area
}

void PFDragListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!event->mimeData()->hasFormat(QString::fromLatin1(rowsMimeType))) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

int PFDragListView::dropRow(const QPoint &position) const
{
    const QModelIndex index = indexAt(position);
    return index.isValid() ? index.row() : count();
}

void PFDragListView::dropEvent(QDropEvent *event)
{
    const QByteArray rows = event->mimeData()->data(QString::fromLatin1(rowsMimeType));
    bool ok = false;
    const int from = rows.split(',').value(0).toInt(&ok);
    if (!ok || !moveEntry(from, dropRow(event->position().toPoint()))) {
        event->ignore();
        return;
    }
    // The move is done here; the drag's source must not remove anything afterwards.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PFDragListView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()
        && deleteMarkRect(index.row()).contains(event->position().toPoint())) {
        emit deleteRequested(index.row());
        return;
    }
    QListWidget::mousePressEvent(event);
}

void PFDragListView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && currentRow() >= 0
        && currentItem()->isSelected()) {
        emit deleteRequested(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}
