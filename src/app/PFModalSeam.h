#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

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

    static PFModalSeam &current();
    // Replaces the seam (tests); null restores the default. Not owned.
    static void install(PFModalSeam *seam);
};
