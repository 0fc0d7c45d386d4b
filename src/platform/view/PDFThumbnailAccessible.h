#pragma once

#include <QAccessibleWidget>
#include <QHash>

class PDFThumbnailView;

// The thumbnail list as a screen reader finds it: a list with one row per page. Rows are made
// on demand and kept (a reader holds them by id) until the list goes.
class PDFThumbnailAccessible : public QAccessibleWidget {
public:
    explicit PDFThumbnailAccessible(PDFThumbnailView *view);
    ~PDFThumbnailAccessible() override;

    // Installed once; answers for every PDFThumbnailView.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    PDFThumbnailView *view() const;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    mutable QHash<int, QAccessible::Id> m_rows;
};
