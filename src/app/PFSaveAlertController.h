#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

// The close prompt: the message, a line saying what not saving means, and the buttons
// "do not save" (1), "cancel" (2) and "save" (3). A button only reports its code through
// pfDoneEdit; whoever shows the sheet decides when it goes away (a failed save keeps it).
class PFSaveAlertController : public QDialog {
    Q_OBJECT
public:
    enum Answer { DontSave = 1, Cancel = 2, Save = 3 };

    explicit PFSaveAlertController(QWidget *parent = nullptr);

    void setMessage(const QString &message);
    QString message() const;
    QPushButton *button(Answer answer) const;
    // Takes the sheet away (buttons alone never do).
    void dismiss() { QDialog::done(Rejected); }

    std::function<void(int)> pfDoneEdit;

protected:
    void reject() override; // Escape answers "cancel" instead of closing the sheet behind our back

private:
    void answer(int code);

    QLabel *m_message;
    QPushButton *m_buttons[3];
};
