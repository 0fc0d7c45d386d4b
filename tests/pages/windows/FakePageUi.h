#pragma once

#include "pages/windows/PFPagePrompts.h"
#include "pages/windows/PFStatusDisplay.h"

#include <QStringList>

// Prompts answered by the test, with every reveal recorded.
class FakePrompts : public PFPagePrompts {
public:
    FakePrompts() { PFPagePrompts::setCurrent(this); }
    ~FakePrompts() override { PFPagePrompts::setCurrent(nullptr); }

    QString folder;
    QStringList files;
    std::optional<SaveChoice> save;
    std::optional<QColor> color;
    QStringList revealed;

    QString chooseFolder(QWidget *, const QString &) override { return folder; }
    QStringList chooseFiles(QWidget *, const QStringList &) override { return files; }
    std::optional<SaveChoice> saveFile(QWidget *, const QString &, const QList<std::pair<QString, QString>> &) override
    {
        return save;
    }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return color; }
    void reveal(const QString &path) override { revealed << path; }
};

// Records what a window shows.
class RecordingDisplay : public PFStatusDisplay {
public:
    QStringList messages;
    bool progress = false;
    int progressShown = 0;

    void showMessage(const QString &message) override { messages << message; }
    void showProgress() override
    {
        progress = true;
        ++progressShown;
    }
    void hide() override { progress = false; }
};
