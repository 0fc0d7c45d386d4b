#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Every modal question the page tools ask (file panels, the colour panel) and the reveal in the
// desktop file browser, behind one replaceable seam: tests install their own answers, so the
// behaviour behind a panel runs without a person.
class PFPagePrompts {
public:
    struct SaveChoice {
        QString path;
        int formatIndex = 0; // position in the offered format list
        bool replaces = false; // the file existed and the user agreed to replace it
    };

    virtual ~PFPagePrompts() = default;

    // One folder; empty when cancelled.
    virtual QString chooseFolder(QWidget *parent, const QString &start) = 0;
    // Files and folders to add, offering files with the given extensions; empty when cancelled.
    virtual QStringList chooseFiles(QWidget *parent, const QStringList &extensions) = 0;
    // A file to save, named `name` with the extension of the chosen format. `formats` are pairs
    // of a title and an extension ("PNG", "png"). Nothing when cancelled.
    virtual std::optional<SaveChoice> saveFile(QWidget *parent, const QString &name,
                                               const QList<std::pair<QString, QString>> &formats) = 0;
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) = 0;
    // Shows the file selected in the desktop file browser.
    virtual void reveal(const QString &path) = 0;

    // The prompts in use: the system's panels unless a test installed others.
    static PFPagePrompts &current();
    // Installs `prompts` (not owned); nullptr goes back to the system's panels.
    static void setCurrent(PFPagePrompts *prompts);
};
