#include "PFPopover.h"

#include <QScreen>
#include <algorithm>

PFPopover::PFPopover(QSize size, QWidget *parent) : QWidget(parent, Qt::Popup)
{
    setFixedSize(size);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void PFPopover::pfShowRelativeTo(QWidget *owner, const QRect &anchor)
{
    QPoint at = owner->mapToGlobal(QPoint(anchor.center().x() - width() / 2, anchor.bottom() + 4));
    // Keep it on the owner's screen.
    if (QScreen *screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
    show();
}
