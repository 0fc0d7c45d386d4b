#pragma once

#include <QWidget>

// One cell of the stamp picker: the stamp `cellIndex` of the catalogue drawn at the picker's
// fixed sizes on a grey ground. A click reports the index.
class PFStampCellView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kCellSize{143, 37};

    explicit PFStampCellView(int cellIndex, QWidget *parent = nullptr);
    int cellIndex() const { return m_cellIndex; }

signals:
    void clicked(int cellIndex);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_cellIndex;
};
