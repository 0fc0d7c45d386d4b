#include "platform/store/Localization.h"
#include "PFBaseOutlineView.h"

#include <QHeaderView>
#include <QMouseEvent>

PFBaseOutlineView::PFBaseOutlineView(QWidget *parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("pfOutlineView"));
    setAccessibleName(pfLocalized("Table of Contents"));
    setHeaderHidden(true);
    setUniformRowHeights(true); // the rows of a long outline are then laid out without measuring each
    setEditTriggers(NoEditTriggers);
    setExpandsOnDoubleClick(false); // a double click renames
    setSelectionMode(SingleSelection);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(false);
    setDark(false);
}

void PFBaseOutlineView::setDark(bool dark)
{
    m_dark = dark;
    QPalette palette = this->palette();
    const QColor background = dark ? QColor(28, 32, 35) : QColor(Qt::white);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Text, dark ? QColor(Qt::white) : QColor(Qt::black));
    setPalette(palette);
}

void PFBaseOutlineView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        emit pfOutlineViewClickPosition(event->position().toPoint());
        return;
    }
    QTreeView::mousePressEvent(event);
}
