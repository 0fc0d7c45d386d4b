#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;

// The popover that renames a bookmark. Return or closing it reports the title; Escape closes
// it without a change.
class PFPagemarkEditController : public QWidget {
    Q_OBJECT
public:
    explicit PFPagemarkEditController(const QString &title, QWidget *parent = nullptr);

    QLineEdit *textField() const { return m_field; }
    std::function<void(const QString &title)> pfDoneEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLineEdit *m_field;
    bool m_done = false;
};
