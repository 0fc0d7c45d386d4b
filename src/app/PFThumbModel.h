#pragma once

#include <QString>

// One recent document of the start view.
struct PFThumbModel {
    QString pfPDFURL;   // the document's path
    QString pfImageURL; // its cached first-page picture
    QString pfTitle;    // file name without extension
};
