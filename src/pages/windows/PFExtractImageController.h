#pragma once

#include "PFOutputFolder.h"

#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The extract dialog: all pages or a page-range text, a format and a remembered output folder.
// Start hands the choice to `pfDoneEdit`; the dialog stays open.
class PFExtractImageController : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *folderKey = "ExtractImageStorePath";
    // (page-range text, or nothing for all pages, or the outline level as text; 0 all pages,
    // 1 selected pages, 2 split by outline; output folder; format index: 0 PDF, 1 PNG, 2 JPEG,
    // 3 JPEG 2000, 4 TIFF; always 0 when splitting by outline)
    using Completion = std::function<void(const std::optional<QString> &, int, const QString &, int)>;

    explicit PFExtractImageController(QWidget *parent = nullptr);

    Completion pfDoneEdit;
    QString pfStorePath() const { return m_storePath; }

    void pfChooseClick();
    void pfStartClick();
    // Offers the split by outline items, for a document that has an outline.
    void setOutlineAvailable(bool available);

private:
    enum Selection { AllPages, SelectedPages, ByOutline };
    void select(Selection selection);

    PFOutputFolder m_folder;
    QString m_storePath;
    QRadioButton *m_radioAll;
    QRadioButton *m_radioSelect;
    QRadioButton *m_radioOutline;
    QSpinBox *m_outlineLevel;
    QLineEdit *m_pageSelectLB;
    QComboBox *m_popUpButton;
    QLabel *m_saveLB;
};
