#include "PDFThumbnailView.h"

#include "PDFThumbnailAccessible.h"
#include "PDFTileRenderer.h"
#include "PDFView.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

PDFThumbnailView::PDFThumbnailView(QWidget *parent)
    : QAbstractScrollArea(parent), m_renderer(new PDFTileRenderer(ThreadPriority::Urgency::Aside, this))
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The Edit commands act on the selected pages while the list has the keyboard.
    setFocusPolicy(Qt::StrongFocus);
    connect(m_renderer, &PDFTileRenderer::tileReady, viewport(), qOverload<>(&QWidget::update));
    static const bool readable = (QAccessible::installFactory(&PDFThumbnailAccessible::factory), true);
    Q_UNUSED(readable)
    // A screen reader hears of a new selection as of a focus move in a list.
    connect(this, &PDFThumbnailView::selectionChanged, this, [this] {
        if (!QAccessible::isActive() || !m_view)
            return;
        QAccessibleEvent selection(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&selection);
        if (hasFocus()) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(m_view->currentPageIndex());
            QAccessible::updateAccessibility(&focus);
        }
    });
}

PDFThumbnailView::~PDFThumbnailView() = default;

void PDFThumbnailView::setPDFView(PDFView *view)
{
    if (m_view)
        disconnect(m_view, nullptr, this, nullptr);
    m_view = view;
    m_selected.clear();
    if (view) {
        connect(view, &PDFView::documentChanged, this, &PDFThumbnailView::relayout);
        connect(view, &PDFView::pageSizesChanged, this, &PDFThumbnailView::relayout);
        connect(view, &PDFView::pageChanged, this, &PDFThumbnailView::followCurrentPage);
    }
    relayout();
}

void PDFThumbnailView::setThumbnailWidth(int width)
{
    m_width = std::max(16, width);
    relayout();
}

void PDFThumbnailView::setBackgroundColor(const QColor &color)
{
    m_background = color;
    viewport()->update();
}

void PDFThumbnailView::relayout()
{
    m_renderer->reset();
    m_rects.clear();
    const QVector<QSizeF> sizes = m_view ? m_view->pageSizes() : QVector<QSizeF>();
    int y = kSpacing;
    const int x = std::max(kSpacing, (viewport()->width() - m_width) / 2);
    for (const QSizeF &size : sizes) {
        const int height = std::max(1, int(std::lround(m_width * size.height() / std::max(1.0, size.width()))));
        m_rects.append(QRect(x, y, m_width, height));
        y += height + kLabelHeight + kSpacing;
    }
    m_height = y;
    verticalScrollBar()->setRange(0, std::max(0, m_height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(40);
    // Pages that left the document (or another document) leave the selection.
    const PDFDocument document = m_view ? m_view->document() : PDFDocument();
    const int before = int(m_selected.size());
    m_selected.erase(std::remove_if(m_selected.begin(), m_selected.end(),
                                    [&](const PDFPage &page) {
                                        return !(page.document() == document) || page.index() < 0;
                                    }),
                     m_selected.end());
    if (int(m_selected.size()) != before)
        emit selectionChanged();
    followCurrentPage();
}

void PDFThumbnailView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

double PDFThumbnailView::scaleOf(int index) const
{
    const QSizeF size = m_view->pageSizes().value(index);
    return size.width() > 0 ? m_width / size.width() : 1.0;
}

QRect PDFThumbnailView::thumbnailRect(int index) const
{
    if (index < 0 || index >= m_rects.size())
        return {};
    return m_rects[index].translated(0, -verticalScrollBar()->value());
}

int PDFThumbnailView::indexAt(QPoint point) const
{
    for (int i = 0; i < m_rects.size(); ++i) {
        if (thumbnailRect(i).adjusted(0, 0, 0, kLabelHeight).contains(point))
            return i;
    }
    return -1;
}

// Selection ---------------------------------------------------------------------------------------

QVector<PDFPage> PDFThumbnailView::selectedPages() const
{
    QVector<std::pair<int, PDFPage>> indexed;
    for (const PDFPage &page : m_selected) {
        const int index = page.index();
        if (index >= 0)
            indexed.append({index, page});
    }
    std::sort(indexed.begin(), indexed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QVector<PDFPage> pages;
    for (const auto &[index, page] : indexed)
        pages.append(page);
    return pages;
}

bool PDFThumbnailView::isSelected(int index) const
{
    if (!m_view || index < 0)
        return false;
    const PDFPage page = m_view->document().page(index);
    return m_selected.contains(page);
}

void PDFThumbnailView::setSelectedPages(const QVector<PDFPage> &pages)
{
    if (!m_view)
        return;
    const PDFDocument document = m_view->document();
    m_selected.clear();
    for (const PDFPage &page : pages)
        if (page.document() == document && page.index() >= 0 && !m_selected.contains(page))
            m_selected.append(page);
    if (!m_selected.isEmpty()) {
        m_anchor = m_selected.first();
        if (!(m_view->currentPage() == m_selected.first()))
            m_view->goToPage(m_selected.first());
        scrollToIndex(m_selected.first().index());
    }
    emit selectionChanged();
    viewport()->update();
}

void PDFThumbnailView::selectAll()
{
    if (!m_view)
        return;
    const PDFDocument document = m_view->document();
    const PDFPage current = m_view->currentPage();
    m_selected.clear();
    if (!current.isNull())
        m_selected.append(current);
    for (int i = 0; i < m_rects.size(); ++i) {
        const PDFPage page = document.page(i);
        if (!(page == current))
            m_selected.append(page);
    }
    emit selectionChanged();
    viewport()->update();
}

void PDFThumbnailView::selectOnly(int index)
{
    const PDFPage page = m_view->document().page(index);
    m_selected = {page};
    m_anchor = page;
    m_view->goToPage(page);
    emit selectionChanged();
    viewport()->update();
}

void PDFThumbnailView::clickSelect(int index, Qt::KeyboardModifiers modifiers)
{
    const PDFDocument document = m_view->document();
    const PDFPage page = document.page(index);
    if (modifiers & Qt::ShiftModifier) {
        const int anchor = m_anchor.isNull() || m_anchor.index() < 0 ? index : m_anchor.index();
        m_selected.clear();
        for (int i = std::min(anchor, index); i <= std::max(anchor, index); ++i)
            m_selected.append(document.page(i));
        m_view->goToPage(page);
    } else if (modifiers & Qt::ControlModifier) {
        if (m_selected.contains(page) && m_selected.size() > 1) {
            m_selected.removeAll(page);
            // The view's page stays among the selected ones: it is what single-page commands see.
            if (m_view->currentPage() == page)
                m_view->goToPage(selectedPages().constFirst());
        } else if (!m_selected.contains(page)) {
            m_selected.append(page);
            m_view->goToPage(page);
        }
        m_anchor = page;
    } else {
        return selectOnly(index);
    }
    emit selectionChanged();
    viewport()->update();
}

void PDFThumbnailView::followCurrentPage()
{
    const PDFPage current = m_view ? m_view->currentPage() : PDFPage();
    // The selection follows the view's page unless that page is part of it already.
    if (!current.isNull() && !m_selected.contains(current)) {
        m_selected = {current};
        m_anchor = current;
        emit selectionChanged();
    }
    scrollToIndex(m_view ? m_view->currentPageIndex() : -1);
    viewport()->update();
}

void PDFThumbnailView::scrollToIndex(int index)
{
    const QRect rect = thumbnailRect(index);
    if (rect.isNull())
        return;
    QScrollBar *bar = verticalScrollBar();
    if (rect.top() < 0)
        bar->setValue(bar->value() + rect.top() - kSpacing);
    else if (rect.bottom() + kLabelHeight > viewport()->height())
        bar->setValue(bar->value() + rect.bottom() + kLabelHeight + kSpacing - viewport()->height());
}

// Painting -----------------------------------------------------------------------------------------

void PDFThumbnailView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), m_background);
    const QColor label = m_background.lightness() < 128 ? QColor(0xe6, 0xe6, 0xe6) : palette().color(QPalette::Text);
    if (!m_view)
        return;
    const PDFDocument document = m_view->document();
    m_renderer->beginFrame();
    for (int i = 0; i < m_rects.size(); ++i) {
        const QRect rect = thumbnailRect(i);
        if (rect.bottom() + kLabelHeight < event->rect().top() || rect.top() > event->rect().bottom())
            continue;
        const bool selected = isSelected(i);
        if (selected)
            painter.fillRect(rect.adjusted(-5, -5, 5, 5 + kLabelHeight), palette().color(QPalette::Highlight));
        m_renderer->paintPage(painter, document.page(i), i, rect, event->rect(), scaleOf(i),
                              viewport()->devicePixelRatioF());
        // An edge, so a white page stands out from a white panel.
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect.adjusted(-1, -1, 0, 0));
        painter.setPen(selected ? palette().color(QPalette::HighlightedText) : label);
        painter.drawText(QRect(rect.left(), rect.bottom() + 1, rect.width(), kLabelHeight),
                         Qt::AlignCenter, QString::number(i + 1));
    }
    m_renderer->endFrame();
    paintDropMarker(painter);
}

void PDFThumbnailView::paintDropMarker(QPainter &painter) const
{
    if (m_dropGap < 0 || m_rects.isEmpty())
        return;
    // A bar in the middle of the space between two thumbnails (above the first, below the last).
    const int y = m_dropGap < m_rects.size() ? thumbnailRect(m_dropGap).top() - kSpacing / 2
                                             : thumbnailRect(m_rects.size() - 1).bottom() + kLabelHeight + kSpacing / 2;
    const QRect first = thumbnailRect(0);
    painter.fillRect(QRect(first.left() - 6, y - 2, first.width() + 12, 4), palette().color(QPalette::Highlight));
}

// Pointer ------------------------------------------------------------------------------------------

int PDFThumbnailView::gapAt(int y) const
{
    for (int i = 0; i < m_rects.size(); ++i) {
        if (y < thumbnailRect(i).center().y())
            return i;
    }
    return int(m_rects.size());
}

void PDFThumbnailView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int index = indexAt(pos);
    if (!m_view || index < 0)
        return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton) {
        // The menu acts on the selection, so it opens only on a selected thumbnail.
        if (isSelected(index))
            emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressIndex = index;
    m_pressPos = pos;
    // A plain press on a selected page may start dragging the whole selection; it becomes a
    // click on that page alone only when released without moving.
    m_pressDeferred = isSelected(index) && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (!m_pressDeferred)
        clickSelect(index, event->modifiers());
}

void PDFThumbnailView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_pressIndex < 0 || !m_view)
        return;
    const QPoint pos = event->position().toPoint();
    if (m_dropGap < 0 && (pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    // Near the top or bottom edge the list scrolls, so a page can be carried far.
    QScrollBar *bar = verticalScrollBar();
    if (pos.y() < kSpacing * 2)
        bar->setValue(bar->value() - bar->singleStep());
    else if (pos.y() > viewport()->height() - kSpacing * 2)
        bar->setValue(bar->value() + bar->singleStep());
    m_dropGap = gapAt(pos.y());
    viewport()->update();
}

void PDFThumbnailView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_pressIndex < 0 || !m_view)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    const int gap = m_dropGap;
    const int pressed = m_pressIndex;
    const bool deferred = m_pressDeferred;
    m_dropGap = -1;
    m_pressIndex = -1;
    m_pressDeferred = false;
    viewport()->update();
    if (gap >= 0) {
        const QVector<PDFPage> pages = selectedPages();
        if (!pages.isEmpty())
            emit pagesDropped(pages, gap);
    } else if (deferred && pressed < m_rects.size()) {
        selectOnly(pressed);
    }
}

void PDFThumbnailView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A quick second click is a click like the first.
    mousePressEvent(event);
}
