#pragma once

#include <QDialog>

class QLabel;

// The program's own About box: its name, version and licence, and those of the PDF engine and
// the toolkit it is built on.
class PFAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit PFAboutDialog(QWidget *parent = nullptr);

    QLabel *versionLabel() const { return m_version; }
    QLabel *licenceLabel() const { return m_licence; }

private:
    QLabel *m_version;
    QLabel *m_licence;
};
