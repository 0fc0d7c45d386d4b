#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// One page of the link tab: a hint, a text field and the Cancel and OK buttons. OK reports the
// field as the kind of link the page makes, or as a cancel when the text cannot make one;
// Cancel always reports a cancel (empty text, type 0).
class PFLinkFieldController : public QWidget {
    Q_OBJECT
public:
    // Link kinds as the tab reports them.
    enum Type { Cancel = 0, Page = 1, Email = 2, Website = 3 };

    QLineEdit *pfTextField() const { return m_field; }
    QLabel *hintLabel() const { return m_hint; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *okButton() const { return m_ok; }

    std::function<void(const QString &value, int type)> pfDoneEndEdit;

protected:
    PFLinkFieldController(const QString &hint, QWidget *parent);
    // What OK reports for the text in the field.
    virtual std::pair<QString, int> report(const QString &text) const = 0;
    // The row holding the hint and the field, for pages that add to it.
    QHBoxLayout *fieldRow() const { return m_row; }

private:
    void finish(const QString &value, int type);

    QLabel *m_hint;
    QLineEdit *m_field;
    QPushButton *m_cancel;
    QPushButton *m_ok;
    QHBoxLayout *m_row;
};
