#pragma once

#include <QColor>
#include <QImage>
#include <QPolygonF>
#include <QVector>
#include <QWidget>

class QPainter;

// The drawing surface of the Draw tab: each press starts a stroke in the current colour and
// width, each drag step extends it. Strokes have round caps and joins.
class PFSignDrawView : public QWidget {
    Q_OBJECT
public:
    struct Stroke {
        QPolygonF points;
        QColor color;
        double width = 2.0;
    };

    explicit PFSignDrawView(QWidget *parent = nullptr);

    const QVector<Stroke> &lineArray() const { return m_strokes; }
    QColor pfDrawColor() const { return m_color; }
    double thickness() const { return m_thickness; }
    // Both apply to the last stroke too (and only to it), so the stroke just drawn can be
    // adjusted; earlier strokes keep theirs.
    void pfRefreshColor(const QColor &color);
    void pfRefreshWidth(double width);
    // Removes all strokes.
    void pfResetView();
    // The strokes on a transparent image of the surface's size.
    QImage pfGetimageData() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void drawStrokes(QPainter &painter) const;

    QVector<Stroke> m_strokes;
    QColor m_color{Qt::black};
    double m_thickness = 2.0;
};
