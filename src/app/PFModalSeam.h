#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

// What the print dialog asks beyond the printer's own settings.
struct PFPrintChoices {
    bool fitToPage = true;  // else each page at its actual size
    QString pageRangeText;  // pages such as "1,3-6,10"; empty for the dialog's own range
};

// Every question that blocks on the user (file panels, password and page prompts, alerts)
// goes through the current seam, so tests can answer without a person.
class PFModalSeam {
public:
    virtual ~PFModalSeam() = default;

    // A save panel for a PDF, proposing `proposedName` in `folder`; `accessory` (may be null) is
    // shown in the panel. The chosen path with its ".pdf" extension, or empty on cancel.
    virtual QString savePDFPath(QWidget *parent, const QString &folder, const QString &proposedName,
                                QWidget *accessory);
    // An open panel for PDF files; empty on cancel.
    virtual QString openPDFPath(QWidget *parent);
    // An open panel for one picture (PNG, JPEG, BMP, JPEG 2000, TIFF); empty on cancel.
    virtual QString openImagePath(QWidget *parent);
    // The password of a locked file; nothing on cancel. `retry` after a wrong one.
    virtual std::optional<QString> password(QWidget *parent, const QString &fileName, bool retry);
    // A line of text under a label, preset; nothing on cancel.
    virtual std::optional<QString> textEntry(QWidget *parent, const QString &label, const QString &preset,
                                             const QStringList &buttons);
    // An alert with buttons, the first being the default. The index of the chosen button, or -1.
    virtual int alert(QWidget *parent, const QString &message, const QString &informative,
                      const QStringList &buttons);

    // Runs a sheet of the program's own (a QDialog) window-modally; its result code.
    virtual int runSheet(QDialog &sheet);
    // The system print dialog for `printer` (printer, pages among 1..pageCount, the current page,
    // copies, collation, paper), with a tab of the program's own for `choices`: scaling pages
    // to fit the paper or not, and a page-range text. False on cancel.
    virtual bool printSetup(QWidget *parent, QPrinter &printer, int pageCount, PFPrintChoices &choices);

    static PFModalSeam &current();
    // Replaces the seam (tests); null restores the default. Not owned.
    static void install(PFModalSeam *seam);
};
