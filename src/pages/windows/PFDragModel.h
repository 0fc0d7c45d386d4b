#pragma once

#include <QImage>
#include <QString>
#include <QUrl>

// One entry of the combine and images-to-PDF lists.
struct PFDragModel {
    QString filePath;
    QString pdfName; // the file name without extension
    QImage pdfImage; // a small picture of the file's first page, or of the image itself
    QUrl fileURL;
};
