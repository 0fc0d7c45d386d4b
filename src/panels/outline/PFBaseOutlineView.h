#pragma once

#include <QTreeView>

// The tree of the Contents tab. Right-clicks are reported to the controller, which builds the
// editing menu for the row under the pointer; the background follows the appearance.
class PFBaseOutlineView : public QTreeView {
    Q_OBJECT
public:
    explicit PFBaseOutlineView(QWidget *parent = nullptr);

    void setDark(bool dark);
    bool isDark() const { return m_dark; }

signals:
    // A right-click at a point in the view's viewport coordinates.
    void pfOutlineViewClickPosition(QPoint point);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_dark = false;
};
