#pragma once

#include "platform/pdf/PDFAnnotation.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <optional>

// One row of the highlights-and-notes list: a page header or an annotation.
struct PFHighlightModel {
    static constexpr int kHeaderType = -1;

    int highlightType = kHeaderType; // the kind number, or -1 for a page header
    QString headerStr;               // header rows: "页面 n"
    std::optional<QString> contents; // the annotation's contents, or the text it marks
    QRectF positionFrame;            // bounds in page space
    qint64 page = 0;                 // 0-based page index
    double rowHeight = 30;
    QColor highlightColor;
    QString userName;
    QString dateStr;
    PDFAnnotation annotationTemp;
    QColor fontColor;

    bool isHeader() const { return highlightType == kHeaderType; }
};
