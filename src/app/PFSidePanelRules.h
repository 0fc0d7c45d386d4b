#pragma once

// Width rules of the side panel, which sits right of the PDF view in a split view: the divider
// position is measured from the left edge of the view.
namespace PFSidePanelRules {

constexpr double kOpenWidth = 230;
constexpr double kMaxWidth = 400;

// The leftmost position the divider may take: the panel is never wider than 400.
constexpr double minimumPosition(double viewWidth) { return viewWidth - kMaxWidth; }

// The rightmost position: the panel keeps its open width unless it was already made wider than
// that when it was opened, in which case it may be dragged all the way closed.
constexpr double maximumPosition(double viewWidth, double divPosition)
{
    return divPosition >= viewWidth - kOpenWidth ? viewWidth - kOpenWidth : viewWidth;
}

// Where the divider ends up for a proposed position.
constexpr double constrain(double proposed, double viewWidth, double divPosition, bool closed)
{
    if (closed)
        return viewWidth;
    const double low = minimumPosition(viewWidth);
    const double high = maximumPosition(viewWidth, divPosition);
    return proposed < low ? low : (proposed > high ? high : proposed);
}

} // namespace PFSidePanelRules
