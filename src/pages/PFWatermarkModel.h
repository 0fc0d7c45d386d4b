#pragma once

#include <QColor>
#include <QString>

// The watermark parameters. The colour's alpha is the watermark's opacity; the angle turns the
// text counter-clockwise about the page centre.
struct PFWatermarkModel {
    QString fontName = QStringLiteral("Helvetica");
    QColor fontColor = Qt::black;
    QString inputText;
    double fontSize = 48;
    double degree = 45;
    // numType 1: every page; 2: pages startNum to endNum (1-based, inclusive).
    int numType = 1;
    int startNum = 1;
    int endNum = 1;

    bool carriesWatermark(int pageNumber) const
    {
        return numType != 2 || (pageNumber >= startNum && pageNumber <= endNum);
    }
};
