#pragma once

#include "PFPagePrompts.h"

// The page tools' questions asked with the toolkit's own panels.
class PFSystemPagePrompts : public PFPagePrompts {
public:
    QString chooseFolder(QWidget *parent, const QString &start) override;
    QStringList chooseFiles(QWidget *parent, const QStringList &extensions) override;
    std::optional<SaveChoice> saveFile(QWidget *parent, const QString &name,
                                       const QList<std::pair<QString, QString>> &formats) override;
    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) override;
    void reveal(const QString &path) override;
};
