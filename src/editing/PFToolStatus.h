#pragma once

// The editing tool, numbered as the palette orders its tool buttons. The palette's indices
// 15 to 17 (width, colour, font) open popovers and are never a tool.
enum PFToolStatus : int {
    PFToolStatusNone = 0,
    PFToolStatusHighlight = 1,
    PFToolStatusUnderline = 2,
    PFToolStatusStrikeOut = 3,
    PFToolStatusPen = 4,
    PFToolStatusCircle = 5,
    PFToolStatusRectangle = 6,
    PFToolStatusArrow = 7,
    PFToolStatusLine = 8,
    PFToolStatusLink = 9,
    PFToolStatusText = 10,
    PFToolStatusNote = 11,
    PFToolStatusImage = 12,
    PFToolStatusStamp = 13,
    PFToolStatusSign = 14,
};

// True for the values that can be a tool (0 to 14).
constexpr bool pfIsToolStatus(int value)
{
    return value >= PFToolStatusNone && value <= PFToolStatusSign;
}
