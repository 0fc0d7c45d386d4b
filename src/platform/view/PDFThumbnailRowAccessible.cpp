#include "PDFThumbnailRowAccessible.h"

#include "PDFThumbnailAccessible.h"
#include "PDFThumbnailView.h"
#include "PDFView.h"
#include "platform/store/Localization.h"

PDFThumbnailRowAccessible::PDFThumbnailRowAccessible(PDFThumbnailAccessible *list, PDFThumbnailView *view, int index)
    : m_list(list), m_view(view), m_index(index)
{
}

bool PDFThumbnailRowAccessible::isValid() const
{
    return m_view && m_view->pdfView() && m_index < m_view->pdfView()->document().pageCount();
}

QWindow *PDFThumbnailRowAccessible::window() const { return m_list->window(); }

QAccessibleInterface *PDFThumbnailRowAccessible::parent() const { return m_list; }

QString PDFThumbnailRowAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return {};
    const QString number = QString::number(m_index + 1);
    QString name = pfLocalized("第 %1 页").arg(number);
    const QString label = m_view->pdfView()->document().page(m_index).label();
    if (!label.isEmpty() && label != number)
        name += QStringLiteral(" (%1)").arg(label);
    return name;
}

QRect PDFThumbnailRowAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect thumbnail = m_view->thumbnailRect(m_index).adjusted(0, 0, 0, PDFThumbnailView::kLabelHeight);
    return QRect(m_view->viewport()->mapToGlobal(thumbnail.topLeft()), thumbnail.size());
}

QAccessible::State PDFThumbnailRowAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    const PDFPage page = m_view->pdfView()->document().page(m_index);
    state.selected = m_view->selectedPages().contains(page);
    state.focused = m_view->hasFocus() && m_view->pdfView()->currentPage() == page;
    const QRect shown = m_view->thumbnailRect(m_index);
    state.offscreen = !m_view->viewport()->rect().intersects(shown);
    state.invisible = !m_view->isVisible();
    return state;
}

void *PDFThumbnailRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList PDFThumbnailRowAccessible::actionNames() const { return {pressAction()}; }

void PDFThumbnailRowAccessible::doAction(const QString &actionName)
{
    if (isValid() && actionName == pressAction())
        m_view->setSelectedPages({m_view->pdfView()->document().page(m_index)});
}
