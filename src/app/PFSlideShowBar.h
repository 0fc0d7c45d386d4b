#pragma once

#include <QTimer>
#include <QWidget>

class QToolButton;

// The slide show's own controls: previous, next and exit, at the bottom of the page area. They
// appear when the pointer moves over the watched view and step aside after a few still seconds,
// so the slide stays clean while nobody touches the mouse.
class PFSlideShowBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHideMilliseconds = 2500;

    // `watched` is the widget whose pointer moves reveal the bar (the view's viewport).
    PFSlideShowBar(QWidget *watched, QWidget *parent);

    // Active only during a slide show; an inactive bar never shows.
    void setActive(bool active);
    bool isActive() const { return m_active; }
    // Shows the bar at the bottom centre of its parent and restarts the hide timer.
    void reveal();

    QToolButton *previousButton() const { return m_previous; }
    QToolButton *nextButton() const { return m_next; }
    QToolButton *exitButton() const { return m_exit; }

signals:
    void previousClicked();
    void nextClicked();
    void exitClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QToolButton *addButton(const char *key, const QString &glyph);
    void place();

    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_exit;
    QTimer m_hide;
    bool m_active = false;
};
