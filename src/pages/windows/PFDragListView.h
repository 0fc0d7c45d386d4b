#pragma once

#include "PFDragModel.h"

#include <QListWidget>

// The list of the combine and images-to-PDF windows: 140 × 140 cells with a picture, the name
// and a delete mark, reordered by dragging inside the list. The entries' order is the order in
// which the files are combined.
class PFDragListView : public QListWidget {
    Q_OBJECT
public:
    static constexpr const char *rowsMimeType = "application/x-quirna-list-rows";

    explicit PFDragListView(QWidget *parent = nullptr);

    void appendEntry(const PFDragModel &entry);
    QStringList filePaths() const;
    // Moves the entry at `from` to position `to`, taking it out first (so 0 → 2 of A, B, C gives
    // B, C, A). Refused when `to` is not a position of an entry.
    bool moveEntry(int from, int to);
    // The rectangle of the delete mark of the entry at `row`, in viewport coordinates.
    QRect deleteMarkRect(int row) const;

signals:
    void deleteRequested(int row);

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // Delete and Backspace remove the selected entry.
    void keyPressEvent(QKeyEvent *event) override;

private:
    int dropRow(const QPoint &position) const;
};
