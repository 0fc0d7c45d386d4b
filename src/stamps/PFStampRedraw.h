#pragma once

class PDFAnnotation;

// Draws the program's own text-bearing stamps anew at their current bounds after a resize, so
// their labels are laid out again instead of being stretched: catalogue stamps and typed
// signatures, also those read back from a file. Pictures stretch by nature and are left as
// they are.
class PFStampRedraw {
public:
    // True when the annotation was one of them and was redrawn.
    static bool redrawAtBounds(const PDFAnnotation &annotation);
};
