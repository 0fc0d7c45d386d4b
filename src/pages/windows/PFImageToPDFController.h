#pragma once

#include "PFFileListWindow.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

// The images-to-PDF window: images collected in a list and ordered by dragging, written as one
// PDF with a page per image, in a standard or custom page size with a margin.
class PFImageToPDFController : public PFFileListWindow {
    Q_OBJECT
public:
    static constexpr const char *parametersKey = "CombineImageToPDFPara";

    explicit PFImageToPDFController(QWidget *parent = nullptr);

    // Makes an image's entry with a small picture of it; no check of the file is made here.
    static Preparation prepareFile(const QString &path);

protected:
    void pfStartButtonClick() override;

private:
    void loadParameters();
    void pfCusBtnClick();
    void pfLetterClick();

    QRadioButton *m_letterButton;
    QRadioButton *m_cusButton;
    QComboBox *m_letterPopUpButton;
    QLineEdit *m_widthLB;
    QLineEdit *m_heightLB;
    QComboBox *m_comboBox;
};
