#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

class QToolButton;

// The colour well of the signature tabs: a row of ink colours, black first and chosen at start.
class PFSignColorWell : public QWidget {
    Q_OBJECT
public:
    explicit PFSignColorWell(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    const QList<QToolButton *> &swatches() const { return m_swatches; }

signals:
    void colorChanged(const QColor &color);

private:
    void choose(int index);

    QList<QColor> m_colors;
    QList<QToolButton *> m_swatches;
    QColor m_color;
};
