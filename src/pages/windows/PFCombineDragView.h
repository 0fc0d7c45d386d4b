#pragma once

#include <QFrame>

class QLabel;

// The drop area of the combine and images-to-PDF windows: it accepts dragged files as a copy
// and hands their paths on; a click asks for files with the open panel instead.
class PFCombineDragView : public QFrame {
    Q_OBJECT
public:
    explicit PFCombineDragView(const QString &hint, QWidget *parent = nullptr);
    void setHintVisible(bool visible);
    // Puts `content` (the list) inside the area, below the hint.
    void setContent(QWidget *content);

signals:
    void pfDragFileURL(const QStringList &paths);
    void clicked();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_hint;
};
