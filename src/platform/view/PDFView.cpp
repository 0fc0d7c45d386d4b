#include "PDFView.h"

#include "PDFTileRenderer.h"
#include "PDFURLOpener.h"
#include "PDFWithoutIndices.h"

#include "platform/pdf/PDFDocumentHold.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The zoom steps, the same values the zoom menu offers.
constexpr std::array<double, 14> kZoomSteps{0.1, 0.25, 0.5, 0.75, 1, 1.25, 1.5, 2, 4, 8, 16, 24, 32, 64};
constexpr int kLineStep = 40;
constexpr int kClickSlop = 4; // pointer travel (pixels) below which a press-release is a click
constexpr int kPageCheckSliceMs = 3; // GUI time one slice of a deferred page check may take
constexpr int kPageCheckDelayMs = 200;
constexpr int kPageCheckRetryMs = 5; // after finding the document busy
constexpr int kNearbyPages = 8; // how far from the current page indexOf looks before asking the document

// The page-space point shown at the top left of the displayed page.
QPointF topLeftOf(const PDFPage &page) { return page.pageToDisplay(1).inverted().map(QPointF()); }

} // namespace

PDFView::PDFView(QWidget *parent)
    : QAbstractScrollArea(parent), m_pageCheck(new QTimer(this)), m_renderer(new PDFTileRenderer(ThreadPriority::Urgency::Shown, this))
{
    m_pageCheck->setSingleShot(true);
    connect(m_pageCheck, &QTimer::timeout, this, &PDFView::checkPages);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(kLineStep);
    horizontalScrollBar()->setSingleStep(kLineStep);
    connect(m_renderer, &PDFTileRenderer::tileReady, viewport(), qOverload<>(&QWidget::update));
}

PDFView::~PDFView() = default;

void PDFView::setDocument(const PDFDocument &document)
{
    m_document = document;
    m_history.clear();
    m_selection = {};
    m_selectionRects.clear();
    m_current = -1;
    layoutDocumentView();
    if (!m_pages.isEmpty())
        jumpTo(PDFDestination(m_pages.first(), topLeftOf(m_pages.first())), false);
    emit selectionChanged();
}

void PDFView::layoutDocumentView()
{
    m_pages.clear();
    const int count = m_document.isNull() ? 0 : m_document.pageCount();
    QVector<QSizeF> sizes;
    m_pages.reserve(count);
    sizes.reserve(count);
    // Sizes of pages still to be checked would read every page of a large file before the first
    // paint: until their check they are taken to be the first page's.
    const PDFPageCheckProgress progress = m_document.checkPageTree(QDeadlineTimer(0));
    m_sizedPages = std::min(progress.checkedPages, count);
    m_checkedPages = progress.checkedPages;
    m_geometry.clear();
    m_geometry.reserve(count);
    for (int i = 0; i < count; ++i) {
        m_pages.append(m_document.page(i));
        if (i < std::max(m_sizedPages, 1)) {
            m_geometry.append(geometryOf(m_pages.last()));
            sizes.append(m_geometry.last()->displaySize());
        } else {
            m_geometry.append(std::nullopt);
            sizes.append(sizes.first());
        }
    }
    m_layout.setPageSizes(sizes);
    // The check waits a moment: at once, it would hold the document back from the renderer
    // drawing the first screen.
    m_pageCheck->stop();
    if (!progress.finished)
        m_pageCheck->start(kPageCheckDelayMs);
    pageListChanged();
}

void PDFView::pagesRemoved(const QVector<int> &indices)
{
    m_pages = withoutIndices(m_pages, indices);
    m_geometry = withoutIndices(m_geometry, indices);
    m_layout.removePages(indices);
    // The current page keeps its place among those left; when it went, the next one takes over.
    const int before = m_current;
    for (int index : indices)
        m_current -= index < before ? 1 : 0;
    pageListChanged();
}

void PDFView::pagesInserted(const QVector<int> &indices)
{
    // One merge of the old list with the new pages, each landing on its index.
    QVector<PDFPage> pages;
    QVector<std::optional<PageGeometry>> geometries;
    QVector<QSizeF> sizes;
    const int total = int(m_pages.size() + indices.size());
    pages.reserve(total);
    geometries.reserve(total);
    sizes.reserve(total);
    auto next = indices.cbegin();
    int old = 0;
    for (int i = 0; i < total; ++i) {
        if (next != indices.cend() && *next == i && !m_document.isNull()) {
            const PDFPage page = m_document.page(i);
            pages.append(page);
            geometries.append(geometryOf(page));
            sizes.append(geometries.last()->displaySize());
            ++next;
            if (m_current >= i)
                ++m_current;
        } else if (old < m_pages.size()) {
            pages.append(m_pages[old]);
            geometries.append(m_geometry.value(old));
            sizes.append(pageSizes()[old]);
            ++old;
        }
    }
    m_pages = pages;
    m_geometry = geometries;
    m_layout.setPageSizes(sizes);
    pageListChanged();
}

void PDFView::pagesMoved(const QVector<std::pair<int, int>> &moves)
{
    for (const auto &[from, to] : moves) {
        if (from < 0 || from >= m_pages.size() || to < 0 || to >= m_pages.size())
            continue;
        m_pages.move(from, to);
        if (m_geometry.size() == m_pages.size())
            m_geometry.move(from, to);
        m_layout.movePage(from, to);
        if (m_current == from)
            m_current = to;
        else if (from < m_current && m_current <= to)
            --m_current;
        else if (to <= m_current && m_current < from)
            ++m_current;
    }
    pageListChanged();
}

void PDFView::pagesResized(const QVector<int> &indices)
{
    for (int index : indices) {
        if (index >= 0 && index < m_pages.size() && index < m_geometry.size()) {
            m_geometry[index] = geometryOf(m_pages[index]);
            m_layout.setPageSize(index, m_geometry[index]->displaySize());
        }
    }
    pageListChanged();
}

void PDFView::pageListChanged()
{
    const int count = m_document.isNull() ? 0 : m_document.pageCount();
    // Told something that does not add up (a step that half failed): measure everything anew.
    if (count != m_pages.size() || (count && !(m_document.page(count - 1) == m_pages.last())))
        return layoutDocumentView();
    m_renderer->reset();
    const int current = std::clamp(m_current, count ? 0 : -1, count - 1);
    const double scale = m_scale;
    if (m_autoScales)
        m_scale = std::clamp(scaleFactorForSizeToFit(), kMinScale, kMaxScale);
    m_current = current;
    // Text selected on a page that left the document goes with it; on pages that stayed, the
    // highlight follows them to their new places.
    const QVector<PDFPage> selected = m_selection.pages();
    if (std::any_of(selected.cbegin(), selected.cend(), [this](const PDFPage &page) { return indexOf(page) < 0; }))
        clearSelection();
    else
        updateSelectionRects();
    relayout();
    emit documentChanged();
    emit pageChanged();
    if (m_scale != scale)
        emit scaleChanged();
}

void PDFView::checkPages()
{
    const QDeadlineTimer deadline(kPageCheckSliceMs);
    QVector<PageGeometry> read; // of the pages from m_sizedPages on
    PDFPageCheckProgress progress;
    {
        // A worker building a page holds the document for a while; the slice does not wait for
        // it but comes back a moment later. Nothing that could wait for a worker runs while held.
        const PDFDocumentHold hold = PDFDocumentHold::tryHold(m_document);
        if (!hold.isHeld())
            return m_pageCheck->start(kPageCheckRetryMs);
        // Sizes of the pages the last slice checked first, then more pages in the time left.
        const int sizable = std::min(m_checkedPages, int(m_pages.size()));
        for (int i = m_sizedPages; i < sizable && !deadline.hasExpired(); ++i)
            read.append(geometryOf(m_pages[i]));
        progress = m_document.checkPageTree(deadline);
    }
    if (progress.renumbered) {
        // The pages are not what the page tree's nodes said: show them as they really are.
        const PDFPage current = currentPage();
        layoutDocumentView();
        const PDFPage shown = current.index() >= 0 ? current : m_pages.value(0);
        if (!shown.isNull())
            jumpTo(PDFDestination(shown, topLeftOf(shown)), false);
        return;
    }
    m_checkedPages = progress.checkedPages;
    applyCheckedGeometry(read);
    if (!progress.finished || m_sizedPages < std::min(m_checkedPages, int(m_pages.size())))
        m_pageCheck->start(0);
}

void PDFView::applyCheckedGeometry(const QVector<PageGeometry> &read)
{
    bool changed = false;
    for (const PageGeometry &geometry : read) {
        if (m_sizedPages < m_geometry.size())
            m_geometry[m_sizedPages] = geometry;
        const QSizeF size = geometry.displaySize();
        if (size != pageSizes().value(m_sizedPages)) {
            m_layout.setPageSize(m_sizedPages, size);
            changed = true;
        }
        ++m_sizedPages;
    }
    if (!changed)
        return;
    if (m_autoScales) {
        m_scale = std::clamp(scaleFactorForSizeToFit(), kMinScale, kMaxScale);
        emit scaleChanged();
    }
    relayoutKeeping(QPointF(0, 0));
    emit pageSizesChanged();
}

void PDFView::setDisplayMode(PDFDisplayMode mode)
{
    if (mode == m_mode)
        return;
    const PDFDestination where = currentDestination();
    m_mode = mode;
    if (m_autoScales)
        m_scale = std::clamp(scaleFactorForSizeToFit(), kMinScale, kMaxScale);
    relayout();
    jumpTo(where, false);
}

// Scale ----------------------------------------------------------------------------------------

void PDFView::setScaleFactor(double scale)
{
    m_autoScales = false;
    applyScale(scale, QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
}

void PDFView::setAutoScales(bool autoScales)
{
    m_autoScales = autoScales;
    if (autoScales)
        applyScale(scaleFactorForSizeToFit(), QPointF(viewport()->width() / 2.0, 0));
}

double PDFView::scaleFactorForSizeToFit() const
{
    // Leave room for the vertical scroll bar, which a fitted continuous view usually needs.
    int width = viewport()->width();
    if (!verticalScrollBar()->isVisible() && isContinuous(m_mode))
        width -= style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double fitWidth = PDFViewLayout::fitWidthScale(pageSizes(), m_mode, width);
    if (isContinuous(m_mode) || m_current < 0)
        return fitWidth;
    // A page at a time is shown whole, as a reader (and a slide show) expects.
    const int perRow = isTwoUp(m_mode) ? 2 : 1;
    const int first = m_current / perRow * perRow;
    double tallest = 0;
    for (int i = first; i < std::min(int(pageSizes().size()), first + perRow); ++i)
        tallest = std::max(tallest, pageSizes()[i].height());
    const double room = viewport()->height() - 2 * PDFViewLayout::kMargin - 1;
    return tallest > 0 ? std::min(fitWidth, std::max(room, 1.0) / tallest) : fitWidth;
}

bool PDFView::canZoomIn() const { return m_scale < kMaxScale; }
bool PDFView::canZoomOut() const { return m_scale > kMinScale; }

void PDFView::zoomIn()
{
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), m_scale + 1e-9);
    if (next != kZoomSteps.end())
        setScaleFactor(*next);
}

void PDFView::zoomOut()
{
    auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), m_scale - 1e-9);
    if (below != kZoomSteps.begin())
        setScaleFactor(*std::prev(below));
}

void PDFView::applyScale(double scale, QPointF anchor)
{
    scale = std::clamp(std::isfinite(scale) ? scale : 1.0, kMinScale, kMaxScale);
    if (scale == m_scale)
        return;
    m_scale = scale;
    relayoutKeeping(anchor);
    emit scaleChanged();
}

// Layout and scrolling ------------------------------------------------------------------------

void PDFView::relayout()
{
    m_layout.update(m_mode, m_scale, viewport()->width(), m_current);
    const QSize size = m_layout.documentSize();
    m_scrolling = true;
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, size.height() - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    m_scrolling = false;
    viewport()->update();
}

void PDFView::relayoutKeeping(QPointF anchor)
{
    const PDFPage page = pageForPoint(anchor, true);
    const QPointF onPage = page.isNull() ? QPointF() : convertPointToPage(anchor, page);
    relayout();
    if (page.isNull())
        return;
    const QPointF now = convertPointFromPage(onPage, page);
    scrollTo((scrollOffset() + now - anchor).toPoint());
}

QPoint PDFView::scrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void PDFView::scrollTo(QPoint documentPoint)
{
    m_scrolling = true;
    horizontalScrollBar()->setValue(documentPoint.x());
    verticalScrollBar()->setValue(documentPoint.y());
    m_scrolling = false;
    viewport()->update();
}

void PDFView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (!m_scrolling)
        updateCurrentFromScroll();
    emit liveScroll();
}

void PDFView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_renderer->fitCacheTo(viewport()->size() * viewport()->devicePixelRatioF());
    if (m_autoScales) {
        m_scale = std::clamp(scaleFactorForSizeToFit(), kMinScale, kMaxScale);
        emit scaleChanged();
    }
    relayoutKeeping(QPointF(0, 0));
}

QRect PDFView::viewRect(int index) const
{
    const QRect rect = m_layout.pageRect(index);
    return rect.isNull() ? rect : rect.translated(-scrollOffset());
}

int PDFView::indexOf(const PDFPage &page) const
{
    if (page.isNull() || !(page.document() == m_document))
        return -1;
    // Pages asked about while painting are near the current one: found there without the
    // document's lock, which a renderer building a page may hold for a while.
    const int count = int(m_pages.size());
    for (int distance = 0; distance <= kNearbyPages; ++distance) {
        for (int index : {m_current - distance, m_current + distance}) {
            if (index >= 0 && index < count && m_pages[index] == page)
                return index;
        }
    }
    const int index = page.index();
    return index >= 0 && index < count ? index : -1;
}

// Current page and navigation -----------------------------------------------------------------

void PDFView::setCurrentIndex(int index)
{
    if (index == m_current)
        return;
    m_current = index;
    emit pageChanged();
}

void PDFView::updateCurrentFromScroll()
{
    if (!isContinuous(m_mode) || m_pages.isEmpty())
        return;
    // The page that holds the upper part of the viewport is the one being read.
    const QPoint probe(viewport()->width() / 2, viewport()->height() / 4);
    int index = m_layout.nearestPage(probe + scrollOffset());
    if (verticalScrollBar()->value() == verticalScrollBar()->maximum() && verticalScrollBar()->maximum() > 0) {
        const QVector<int> shown = m_layout.pagesIn(QRect(scrollOffset(), viewport()->size()));
        if (!shown.isEmpty())
            index = shown.last();
    }
    setCurrentIndex(index);
}

PDFPage PDFView::currentPage() const
{
    return m_current >= 0 && m_current < m_pages.size() ? m_pages[m_current] : PDFPage();
}

PDFDestination PDFView::currentDestination() const
{
    const PDFPage page = currentPage();
    if (page.isNull())
        return {};
    const QRect rect = viewRect(m_current);
    const QPointF corner(std::clamp(0, rect.left(), rect.right()), std::clamp(0, rect.top(), rect.bottom()));
    return PDFDestination(page, convertPointToPage(corner, page));
}

void PDFView::goToPage(const PDFPage &page)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    jumpTo(PDFDestination(page, topLeftOf(page)), true);
}

void PDFView::goToDestination(const PDFDestination &destination) { jumpTo(destination, true); }

void PDFView::jumpTo(const PDFDestination &destination, bool record)
{
    const int index = indexOf(destination.page());
    if (index < 0)
        return;
    if (record)
        m_history.recordJump(currentDestination());
    const bool rowChanges = !isContinuous(m_mode) && m_layout.pageRect(index).isNull();
    setCurrentIndex(index);
    if (rowChanges)
        relayout();
    // Outline entries point at the largest float to mean "the top of the page"; every point is
    // kept on its page so that no coordinate overflows.
    const QRectF box = destination.page().bounds(PDFDisplayBox::CropBox);
    const QPointF point(std::clamp(destination.point().x(), box.left(), box.right()),
                        std::clamp(destination.point().y(), box.top(), box.bottom()));
    const QPointF inPage = destination.page().pageToDisplay(m_scale).map(point);
    const QRect rect = m_layout.pageRect(index);
    const QPointF target = QPointF(rect.topLeft()) + inPage - QPointF(PDFViewLayout::kMargin, PDFViewLayout::kMargin);
    // Keep the page centred across when it fits the width.
    const int x = rect.width() + 2 * PDFViewLayout::kMargin <= viewport()->width() ? 0 : int(target.x());
    scrollTo(QPoint(x, std::max(0, int(target.y()))));
    m_current = index; // a short last page scrolls less than asked; it is still the one chosen
}

void PDFView::goToRect(const QRectF &rect, const PDFPage &page)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    m_history.recordJump(currentDestination());
    const bool rowChanges = !isContinuous(m_mode) && m_layout.pageRect(index).isNull();
    setCurrentIndex(index);
    if (rowChanges)
        relayout();
    const QRectF shown = page.pageToDisplay(m_scale).mapRect(rect).translated(m_layout.pageRect(index).topLeft());
    const QRect visible(scrollOffset(), viewport()->size());
    if (visible.contains(shown.toAlignedRect()))
        return;
    // Centre the rectangle in the viewport.
    const QPointF centre = shown.center() - QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0);
    scrollTo(centre.toPoint());
    m_current = index;
}

void PDFView::goToSelection(const PDFSelection &selection)
{
    const QVector<PDFPage> pages = selection.pages();
    if (!pages.isEmpty())
        goToRect(selection.boundsForPage(pages.first()), pages.first());
}

void PDFView::goBack()
{
    if (m_history.canGoBack())
        jumpTo(m_history.back(currentDestination()), false);
}

void PDFView::goForward()
{
    if (m_history.canGoForward())
        jumpTo(m_history.forward(currentDestination()), false);
}

void PDFView::goToFirstPage()
{
    if (!m_pages.isEmpty())
        goToPage(m_pages.first());
}

void PDFView::goToLastPage()
{
    if (!m_pages.isEmpty())
        goToPage(m_pages.last());
}

void PDFView::goToNextPage()
{
    const int step = isTwoUp(m_mode) ? 2 : 1;
    if (m_current >= 0 && m_current + step < m_pages.size())
        goToPage(m_pages[isTwoUp(m_mode) ? (m_current / 2) * 2 + step : m_current + step]);
}

void PDFView::goToPreviousPage()
{
    const int step = isTwoUp(m_mode) ? 2 : 1;
    const int first = isTwoUp(m_mode) ? (m_current / 2) * 2 : m_current;
    if (first - step >= 0)
        goToPage(m_pages[first - step]);
}

// In the non-continuous modes scrolling past either end of a page turns it.
void PDFView::turnPage(int step, bool toBottom)
{
    const int perRow = isTwoUp(m_mode) ? 2 : 1;
    const int target = (m_current / perRow + step) * perRow;
    if (target < 0 || target >= m_pages.size())
        return;
    jumpTo(PDFDestination(m_pages[target], topLeftOf(m_pages[target])), false);
    if (toBottom)
        scrollTo(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->maximum()));
}

// Geometry ------------------------------------------------------------------------------------

PDFPage PDFView::pageForPoint(QPointF point, bool nearest) const
{
    const QPoint documentPoint = point.toPoint() + scrollOffset();
    const int index = m_layout.nearestPage(documentPoint);
    if (index < 0)
        return {};
    if (!nearest && !m_layout.pageRect(index).contains(documentPoint))
        return {};
    return m_pages[index];
}

PDFView::PageGeometry PDFView::geometry(int index) const
{
    if (m_geometry.size() != m_pages.size())
        m_geometry.fill(std::nullopt, m_pages.size());
    std::optional<PageGeometry> &known = m_geometry[index];
    if (known)
        return *known;
    // A page whose size is still estimated is read now, unless a worker holds the document: it
    // is then shown as its estimated size says, like the first page, and read another time.
    const PDFDocumentHold hold = PDFDocumentHold::tryHold(m_document);
    if (!hold.isHeld() && index > 0 && m_geometry[0])
        return *m_geometry[0];
    known = geometryOf(m_pages[index]);
    return *known;
}

PDFView::PageGeometry PDFView::geometryOf(const PDFPage &page)
{
    return {page.bounds(PDFDisplayBox::CropBox), page.pageToDisplay(1)};
}

QRectF PDFView::cropBox(const PDFPage &page) const
{
    const int index = indexOf(page);
    return index < 0 ? QRectF() : geometry(index).cropBox;
}

QTransform PDFView::pageTransform(const PDFPage &page) const
{
    const int index = indexOf(page);
    const QRect rect = viewRect(index);
    if (index < 0 || rect.isNull())
        return {};
    return geometry(index).toDisplay * QTransform::fromScale(m_scale, m_scale) *
           QTransform::fromTranslate(rect.left(), rect.top());
}

QPointF PDFView::convertPointToPage(QPointF point, const PDFPage &page) const
{
    return pageTransform(page).inverted().map(point);
}

QPointF PDFView::convertPointFromPage(QPointF point, const PDFPage &page) const
{
    return pageTransform(page).map(point);
}

QRectF PDFView::convertRectToPage(const QRectF &rect, const PDFPage &page) const
{
    return pageTransform(page).inverted().mapRect(rect);
}

QRectF PDFView::convertRectFromPage(const QRectF &rect, const PDFPage &page) const
{
    return pageTransform(page).mapRect(rect);
}

// Appearance ----------------------------------------------------------------------------------

void PDFView::setBackgroundColor(const QColor &color)
{
    m_background = color;
    viewport()->update();
}

void PDFView::setSelectionColor(const QColor &color)
{
    m_selectionColor = color;
    viewport()->update();
}

void PDFView::invalidatePage(const PDFPage &page)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    m_renderer->invalidatePage(index);
    viewport()->update();
}

void PDFView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QVector<int> shown = m_layout.pagesIn(event->rect().translated(scrollOffset()));
    // The background only around the pages: they paint every pixel they cover.
    QRegion background = event->region();
    for (int index : shown)
        background -= viewRect(index);
    for (const QRect &rect : background)
        painter.fillRect(rect, m_background);
    m_renderer->beginFrame();
    for (int index : shown) {
        const QRect rect = viewRect(index);
        painter.save();
        painter.setClipRect(rect & event->rect());
        drawPage(painter, m_pages[index]);
        painter.restore();
    }
    m_renderer->endFrame();
}

void PDFView::drawPage(QPainter &painter, const PDFPage &page)
{
    const int index = indexOf(page);
    const QRect rect = viewRect(index);
    const QRect exposed = painter.clipBoundingRect().toAlignedRect() & rect;
    m_renderer->paintPage(painter, page, index, rect, exposed, m_scale, viewport()->devicePixelRatioF());
    const auto lines = m_selectionRects.constFind(index);
    if (lines != m_selectionRects.constEnd()) {
        // Multiply keeps the text dark while the paper takes the selection colour.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        const QTransform transform = pageTransform(page);
        // A selection that carries its own colour (a search match) is shown in it.
        const QColor color = m_selection.color().isValid() ? m_selection.color() : m_selectionColor;
        for (const QRectF &line : *lines)
            painter.fillRect(transform.mapRect(line), color);
        painter.restore();
    }
}

// Selection -----------------------------------------------------------------------------------

void PDFView::setCurrentSelection(const PDFSelection &selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    updateSelectionRects();
    viewport()->update();
    emit selectionChanged();
}

void PDFView::updateSelectionRects()
{
    m_selectionRects.clear();
    for (const PDFSelection &line : m_selection.selectionsByLine()) {
        for (const PDFPage &page : line.pages()) {
            const QRectF box = line.boundsForPage(page);
            const int index = indexOf(page);
            if (index >= 0 && !box.isNull())
                m_selectionRects[index].append(box);
        }
    }
}

void PDFView::copy()
{
    const QString text = m_selection.string();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

// Links ---------------------------------------------------------------------------------------

std::optional<PDFAnnotation> PDFView::linkAt(QPointF point) const
{
    const PDFPage page = pageForPoint(point, false);
    if (page.isNull())
        return std::nullopt;
    const QPointF onPage = convertPointToPage(point, page);
    for (const PDFAnnotation &annotation : page.annotations()) {
        if (annotation.type() == QLatin1String("Link") && annotation.bounds().contains(onPage))
            return annotation;
    }
    return std::nullopt;
}

void PDFView::followLink(const PDFAnnotation &link)
{
    const PDFAction action = link.action();
    if (const auto *goTo = std::get_if<PDFActionGoTo>(&action)) {
        goToDestination(goTo->destination);
    } else if (const auto *url = std::get_if<PDFActionURL>(&action)) {
        QString address = url->url.trimmed();
        if (!address.startsWith(QLatin1String("http"), Qt::CaseInsensitive)
            && address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            address.prepend(QLatin1String("http://"));
        if (!PDFURLOpener::isAllowed(QUrl(address, QUrl::StrictMode))) {
            emit linkRefused(url->url, QCoreApplication::translate("Quirna", "此链接不是网页或邮件地址，已拒绝打开"));
            return;
        }
        PDFURLOpener::open(address);
    }
}

// Input ---------------------------------------------------------------------------------------

void PDFView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_pressPos = event->position().toPoint();
    m_pressLink = linkAt(event->position());
    m_pressPage = pageForPoint(event->position(), true);
    m_pressPagePoint = convertPointToPage(event->position(), m_pressPage);
    m_dragging = false;
    clearSelection();
}

void PDFView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        viewport()->setCursor(linkAt(event->position()) ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return;
    }
    if (m_pressPage.isNull())
        return;
    if (!m_dragging && (event->position().toPoint() - m_pressPos).manhattanLength() < kClickSlop)
        return;
    m_dragging = true;
    const PDFPage page = pageForPoint(event->position(), true);
    setCurrentSelection(PDFSelection::fromPoints(m_pressPage, m_pressPagePoint, page,
                                                 convertPointToPage(event->position(), page)));
}

void PDFView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    if (!m_dragging && m_pressLink) {
        const auto link = linkAt(event->position());
        if (link && *link == *m_pressLink)
            followLink(*link);
    }
    m_pressLink.reset();
    m_pressPage = {};
    m_dragging = false;
}

void PDFView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy))
        return copy();
    if (event->matches(QKeySequence::ZoomIn) || (event->modifiers() & Qt::ControlModifier &&
                                                 (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal)))
        return zoomIn();
    if (event->matches(QKeySequence::ZoomOut) || (event->modifiers() & Qt::ControlModifier && event->key() == Qt::Key_Minus))
        return zoomOut();

    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    const bool continuous = isContinuous(m_mode);
    switch (event->key()) {
    case Qt::Key_Home: return goToFirstPage();
    case Qt::Key_End: return goToLastPage();
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        if (!continuous && vertical->value() == vertical->maximum())
            return turnPage(1, false);
        vertical->setValue(vertical->value() + vertical->pageStep() - kLineStep);
        return;
    case Qt::Key_PageUp:
        if (!continuous && vertical->value() == vertical->minimum())
            return turnPage(-1, true);
        vertical->setValue(vertical->value() - vertical->pageStep() + kLineStep);
        return;
    case Qt::Key_Down:
        if (!continuous && vertical->value() == vertical->maximum())
            return turnPage(1, false);
        vertical->setValue(vertical->value() + kLineStep);
        return;
    case Qt::Key_Up:
        if (!continuous && vertical->value() == vertical->minimum())
            return turnPage(-1, true);
        vertical->setValue(vertical->value() - kLineStep);
        return;
    case Qt::Key_Right:
        // With nothing to scroll across, left and right turn pages.
        if (horizontal->maximum() == 0)
            return goToNextPage();
        horizontal->setValue(horizontal->value() + kLineStep);
        return;
    case Qt::Key_Left:
        if (horizontal->maximum() == 0)
            return goToPreviousPage();
        horizontal->setValue(horizontal->value() - kLineStep);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void PDFView::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta == 0)
            return;
        // Zoom about the pointer, by one step per notch.
        const auto next = delta > 0 ? std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), m_scale + 1e-9)
                                    : std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), m_scale - 1e-9);
        double scale = m_scale;
        if (delta > 0 && next != kZoomSteps.end())
            scale = *next;
        else if (delta < 0 && next != kZoomSteps.begin())
            scale = *std::prev(next);
        m_autoScales = false;
        applyScale(scale, event->position());
        event->accept();
        return;
    }
    QScrollBar *vertical = verticalScrollBar();
    if (!isContinuous(m_mode) && delta < 0 && vertical->value() == vertical->maximum())
        return turnPage(1, false);
    if (!isContinuous(m_mode) && delta > 0 && vertical->value() == vertical->minimum())
        return turnPage(-1, true);
    QAbstractScrollArea::wheelEvent(event);
}

// Drops ---------------------------------------------------------------------------------------

void PDFView::setAcceptsDrops(bool accept)
{
    setAcceptDrops(accept);
    viewport()->setAcceptDrops(accept);
}

QStringList PDFView::droppedFiles(const QMimeData *mime) const
{
    QStringList paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

void PDFView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PDFView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PDFView::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}
