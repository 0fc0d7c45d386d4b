#pragma once

#include "PFFileListWindow.h"

// The combine window: PDF files collected in a list, ordered by dragging, written as one PDF
// with an outline item per source file.
class PFCombineViewController : public PFFileListWindow {
    Q_OBJECT
public:
    explicit PFCombineViewController(QWidget *parent = nullptr);

    // Checks one file and makes its entry with a picture of its first page.
    static Preparation prepareFile(const QString &path);

protected:
    void pfStartButtonClick() override;
};
