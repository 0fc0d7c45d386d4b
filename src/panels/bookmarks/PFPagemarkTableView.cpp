#include "platform/store/Localization.h"
#include "PFPagemarkTableView.h"

#include <QHeaderView>
#include <QMouseEvent>

PFPagemarkTableView::PFPagemarkTableView(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("pfTableView"));
    setAccessibleName(pfLocalized("Bookmarks"));
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setWordWrap(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::Fixed);
    header()->resizeSection(1, 44);
}

void PFPagemarkTableView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            emit pfPagemarkTableSelect(index.row(), event->position().toPoint());
        return;
    }
    QTreeWidget::mousePressEvent(event);
}
