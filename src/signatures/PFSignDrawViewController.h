#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

class PFSignColorWell;
class PFSignDrawView;
class QPushButton;
class QSlider;
class UserDefaults;

// The Draw tab: a signature drawn with the pointer, in a chosen pen width (kept under
// "signDrawWidth") and colour.
class PFSignDrawViewController : public QWidget {
    Q_OBJECT
public:
    explicit PFSignDrawViewController(UserDefaults &defaults, QWidget *parent = nullptr);

    // Done: (the drawing, false); Close: (null image, true).
    std::function<void(const QImage &, bool)> pfDoneEndEdit;

    PFSignDrawView *drawView() const { return m_drawView; }
    QSlider *widthSlider() const { return m_slider; }
    PFSignColorWell *colorWell() const { return m_colorWell; }
    QPushButton *doneButton() const { return m_done; }
    QPushButton *closeButton() const { return m_close; }
    QPushButton *clearButton() const { return m_clear; }

private:
    void pfSliderChange(int value);

    UserDefaults &m_defaults;
    PFSignDrawView *m_drawView;
    QSlider *m_slider;
    PFSignColorWell *m_colorWell;
    QPushButton *m_done;
    QPushButton *m_close;
    QPushButton *m_clear;
};
