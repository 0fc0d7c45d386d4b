#include "PFCombineDragView.h"

#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QVBoxLayout>

PFCombineDragView::PFCombineDragView(const QString &hint, QWidget *parent) : QFrame(parent), m_hint(new QLabel(hint))
{
    setAcceptDrops(true);
    setFrameShape(QFrame::StyledPanel);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_hint);
}

void PFCombineDragView::setHintVisible(bool visible) { m_hint->setVisible(visible); }

void PFCombineDragView::setContent(QWidget *content) { layout()->addWidget(content); }

void PFCombineDragView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void PFCombineDragView::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit pfDragFileURL(paths);
}

void PFCombineDragView::mouseReleaseEvent(QMouseEvent *event)
{
    QFrame::mouseReleaseEvent(event);
    emit clicked();
}
