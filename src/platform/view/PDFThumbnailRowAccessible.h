#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class PDFThumbnailAccessible;
class PDFThumbnailView;

// One page's row of the thumbnail list: named "Page N" (with the page's own label when it
// differs), saying whether it is selected; pressing it selects that page alone, as a click
// does.
class PDFThumbnailRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PDFThumbnailRowAccessible(PDFThumbnailAccessible *list, PDFThumbnailView *view, int index);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    int index() const { return m_index; }

private:
    PDFThumbnailAccessible *m_list;
    QPointer<PDFThumbnailView> m_view;
    int m_index;
};
