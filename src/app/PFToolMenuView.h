#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

// The tool bar of the bar slot: export images (0), password (1), watermark (2).
class PFToolMenuView : public QWidget {
    Q_OBJECT
public:
    explicit PFToolMenuView(QWidget *parent = nullptr);
    QToolButton *button(int index) const;

    std::function<void(int)> pfToolClick;
};
