#pragma once

#include <QTreeWidget>

// The bookmark list: title and page number per row. A right-click on a row is reported with
// the row; elsewhere it does nothing.
class PFPagemarkTableView : public QTreeWidget {
    Q_OBJECT
public:
    explicit PFPagemarkTableView(QWidget *parent = nullptr);

signals:
    void pfPagemarkTableSelect(int row, QPoint viewportPoint);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
