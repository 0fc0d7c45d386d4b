#pragma once

#include <QTimer>
#include <QWidget>

// A white spinning progress indicator, drawn as fading spokes.
class PFHudSpinner : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSide = 90;
    static constexpr int kSpokes = 12;
    explicit PFHudSpinner(QWidget *parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};
