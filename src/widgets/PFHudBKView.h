#pragma once

#include <QWidget>

// The dark rounded box behind a progress spinner.
class PFHudBKView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSide = 110;
    explicit PFHudBKView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
