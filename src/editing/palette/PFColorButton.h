#pragma once

#include <QToolButton>

// A colour swatch of the colour popover; a colour with alpha 0 (or none) shows the
// empty-colour image.
class PFColorButton : public QToolButton {
    Q_OBJECT
public:
    explicit PFColorButton(const QColor &color, QWidget *parent = nullptr);

    QColor pfInputColor() const { return m_color; }
    void setPfInputColor(const QColor &color);
    bool showsEmptyColor() const { return !m_color.isValid() || m_color.alpha() == 0; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};
