#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QLineEdit;

// The password dialog: a document password, a permissions password and two restrictions.
// Save hands them to `pfDoneEdit` and the dialog stays open; with both passwords empty it just
// closes.
class PFPasswordEditController : public QWidget {
    Q_OBJECT
public:
    // (document password, permissions password, copying withheld, printing withheld)
    using Completion = std::function<void(const QString &, const QString &, bool, bool)>;

    explicit PFPasswordEditController(QWidget *parent = nullptr);

    Completion pfDoneEdit;
    void pfSaveClick();

private:
    QLineEdit *m_docTextField;
    QLineEdit *m_printextField;
    QCheckBox *m_copyBox;
    QCheckBox *m_printBox;
};
