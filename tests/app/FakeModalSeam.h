#pragma once

#include "app/PFModalSeam.h"

#include <QDialog>
#include <QWidget>
#include <deque>
#include <functional>

// Answers the modal questions from queues and records what was asked.
class FakeModalSeam : public PFModalSeam {
public:
    FakeModalSeam() { PFModalSeam::install(this); }
    ~FakeModalSeam() override { PFModalSeam::install(nullptr); }

    QString savePDFPath(QWidget *, const QString &folder, const QString &proposedName, QWidget *accessory) override
    {
        proposedNames.push_back(proposedName);
        savedFolder = folder;
        if (onSavePanel)
            onSavePanel(accessory);
        return pop(savePaths);
    }
    QString openPDFPath(QWidget *) override { return pop(openPaths); }
    QString openImagePath(QWidget *) override
    {
        ++imagePanels;
        return pop(imagePaths);
    }
    std::optional<QString> password(QWidget *, const QString &, bool retry) override
    {
        passwordRetries.push_back(retry);
        if (passwords.empty())
            return std::nullopt;
        return pop(passwords);
    }
    std::optional<QString> textEntry(QWidget *, const QString &label, const QString &preset, const QStringList &) override
    {
        textLabels.push_back(label);
        textPresets.push_back(preset);
        if (texts.empty())
            return std::nullopt;
        return pop(texts);
    }
    int alert(QWidget *, const QString &message, const QString &informative, const QStringList &buttons) override
    {
        alerts.push_back(message);
        informatives.push_back(informative);
        alertButtons = buttons;
        return alertAnswer;
    }

    // A sheet is answered by `onSheet`, which works its widgets as a user would; without it
    // the sheet is rejected unseen.
    int runSheet(QDialog &sheet) override
    {
        sheets.push_back(sheet.objectName());
        return onSheet ? onSheet(sheet) : 0;
    }
    bool printSetup(QWidget *, QPrinter &printer, int pageCount, PFPrintChoices &choices) override
    {
        printPageCounts.push_back(pageCount);
        if (!onPrintSetup)
            return false; // the user cancels
        return onPrintSetup(printer, choices);
    }

    std::deque<QString> savePaths, openPaths, passwords, texts, imagePaths;
    int imagePanels = 0;
    std::vector<int> printPageCounts;
    // Sets the printer up as the user would in the dialog; false cancels.
    std::function<bool(QPrinter &, PFPrintChoices &)> onPrintSetup;
    std::vector<QString> proposedNames, textLabels, textPresets, alerts, informatives;
    std::vector<bool> passwordRetries;
    QStringList alertButtons;
    QString savedFolder;
    int alertAnswer = 1;
    std::function<void(QWidget *)> onSavePanel;
    std::function<int(QDialog &)> onSheet;
    std::vector<QString> sheets;

private:
    static QString pop(std::deque<QString> &queue)
    {
        if (queue.empty())
            return {};
        QString value = queue.front();
        queue.pop_front();
        return value;
    }
};
