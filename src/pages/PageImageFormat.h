#pragma once

#include <QString>

// The image formats pages are exported in, by the index of the format lists (0 is PDF, which
// is the split, not an image format).
class PageImageFormat {
public:
    enum Kind { Png = 1, Jpeg = 2, Jpeg2000 = 3, Tiff = 4 };

    // Any index other than 2, 3 and 4 is PNG.
    static Kind fromIndex(int index);
    // The index of "png", "jpeg", "jp2" or "tiff" as the command line names them; -1 otherwise.
    static int indexFromName(const QString &name);
    // "Page_%d.png" and so on.
    static QString pageFileName(Kind kind, int pageNumber);
};
