#pragma once

#include "stamps/PFPicture.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

// The Image tab: a signature taken from a picture file, shown as a preview until Done.
class PFSignImageViewController : public QWidget {
    Q_OBJECT
public:
    explicit PFSignImageViewController(QWidget *parent = nullptr);

    // Done with a picture: (picture, false); Close, or Done without one: (null, true).
    std::function<void(const PFPicture &, bool)> pfDoneEndEdit;
    // A picture file could not be read; the message says why.
    std::function<void(const QString &)> pfShowMessage;

    const PFPicture &picture() const { return m_picture; }
    QLabel *pfImageView() const { return m_preview; }
    QPushButton *chooseButton() const { return m_choose; }
    QPushButton *clearButton() const { return m_clear; }
    QPushButton *doneButton() const { return m_done; }
    QPushButton *closeButton() const { return m_close; }

    void pfSelectClick();
    void pfClearClick();

private:
    void showPreview();

    PFPicture m_picture;
    QLabel *m_preview;
    QPushButton *m_choose;
    QPushButton *m_clear;
    QPushButton *m_done;
    QPushButton *m_close;
};
