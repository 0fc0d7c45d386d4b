#include "PDFThumbnailAccessible.h"

#include "PDFThumbnailRowAccessible.h"
#include "PDFThumbnailView.h"
#include "PDFView.h"

PDFThumbnailAccessible::PDFThumbnailAccessible(PDFThumbnailView *view) : QAccessibleWidget(view, QAccessible::List) {}

PDFThumbnailAccessible::~PDFThumbnailAccessible()
{
    for (QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *PDFThumbnailAccessible::factory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<PDFThumbnailView *>(object))
        return new PDFThumbnailAccessible(view);
    return nullptr;
}

PDFThumbnailView *PDFThumbnailAccessible::view() const { return static_cast<PDFThumbnailView *>(widget()); }

int PDFThumbnailAccessible::childCount() const
{
    const PDFView *pdf = view()->pdfView();
    return pdf ? pdf->document().pageCount() : 0;
}

QAccessibleInterface *PDFThumbnailAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto found = m_rows.constFind(index); found != m_rows.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto *row = new PDFThumbnailRowAccessible(const_cast<PDFThumbnailAccessible *>(this), view(), index);
    m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int PDFThumbnailAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < childCount() ? it.key() : -1;
    return -1;
}

QAccessibleInterface *PDFThumbnailAccessible::childAt(int x, int y) const
{
    const QPoint local = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const int index = view()->indexAt(local);
    return index >= 0 ? child(index) : QAccessibleWidget::childAt(x, y);
}

QAccessibleInterface *PDFThumbnailAccessible::focusChild() const
{
    // The current page is where the keyboard is while the list has focus.
    const PDFView *pdf = view()->pdfView();
    if (!view()->hasFocus() || !pdf)
        return nullptr;
    return child(pdf->currentPageIndex());
}
