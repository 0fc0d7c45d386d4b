#pragma once

#include <QString>

// One row of the bookmark list.
struct PFPagemarkModel {
    QString pfTitle;
    QString pfPageNum; // 1-based
    double rowHeight = 30;
};
