#pragma once

#include "PFPopover.h"

#include <functional>

class QLineEdit;
class QSlider;

// The line-width popover: a slider and a field showing its whole-number value. Each move of
// the slider reports the width through pfDoneEdit.
class PFWidthViewController : public PFPopover {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 1;
    static constexpr int kMaximumWidth = 20;

    explicit PFWidthViewController(QWidget *parent = nullptr);

    std::function<void(int)> pfDoneEdit;

    // Presets the slider and the field with the view's current width.
    void pfSetLineWidth(double width);
    QSlider *slider() const { return m_slider; }
    QLineEdit *field() const { return m_field; }

private:
    QSlider *m_slider;
    QLineEdit *m_field;
};
