#pragma once

#include <QPointF>

// One press-drag-release gesture, in page space; made anew on every press.
struct PFLineInfo {
    QPointF startPoint;     // where the press happened
    QPointF lineStartPoint; // the ends of a "Line" annotation being edited, as they were
    QPointF lineEndPoint;   // at the press
};
