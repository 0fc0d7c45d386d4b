#pragma once

#include <QWidget>

// A popover: a pop-up window of a fixed size shown below the button it belongs to, closed by
// a click outside it.
class PFPopover : public QWidget {
    Q_OBJECT
public:
    PFPopover(QSize size, QWidget *parent = nullptr);

    // Shows it below `anchor`, a rectangle in `owner`'s coordinates (a palette button's frame).
    void pfShowRelativeTo(QWidget *owner, const QRect &anchor);
};
