#include "PDFThumbnailView.h"

#include "PDFTileRenderer.h"
#include "PDFView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

PDFThumbnailView::PDFThumbnailView(QWidget *parent)
    : QAbstractScrollArea(parent), m_renderer(new PDFTileRenderer(this))
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_renderer, &PDFTileRenderer::tileReady, viewport(), qOverload<>(&QWidget::update));
}

PDFThumbnailView::~PDFThumbnailView() = default;

void PDFThumbnailView::setPDFView(PDFView *view)
{
    if (m_view)
        disconnect(m_view, nullptr, this, nullptr);
    m_view = view;
    if (view) {
        connect(view, &PDFView::documentChanged, this, &PDFThumbnailView::relayout);
        connect(view, &PDFView::pageChanged, this, &PDFThumbnailView::followCurrentPage);
    }
    relayout();
}

void PDFThumbnailView::setThumbnailWidth(int width)
{
    m_width = std::max(16, width);
    relayout();
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
    followCurrentPage();
    viewport()->update();
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

void PDFThumbnailView::followCurrentPage()
{
    const int current = m_view ? m_view->currentPage().index() : -1;
    const QRect rect = thumbnailRect(current);
    if (!rect.isNull()) {
        QScrollBar *bar = verticalScrollBar();
        if (rect.top() < 0)
            bar->setValue(bar->value() + rect.top() - kSpacing);
        else if (rect.bottom() + kLabelHeight > viewport()->height())
            bar->setValue(bar->value() + rect.bottom() + kLabelHeight + kSpacing - viewport()->height());
    }
    viewport()->update();
}

void PDFThumbnailView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    if (!m_view)
        return;
    const PDFDocument document = m_view->document();
    const int current = m_view->currentPage().index();
    m_renderer->beginFrame();
    for (int i = 0; i < m_rects.size(); ++i) {
        const QRect rect = thumbnailRect(i);
        if (rect.bottom() + kLabelHeight < event->rect().top() || rect.top() > event->rect().bottom())
            continue;
        if (i == current) {
            painter.fillRect(rect.adjusted(-5, -5, 5, 5 + kLabelHeight), palette().color(QPalette::Highlight));
        }
        m_renderer->paintPage(painter, document.page(i), i, rect, event->rect(), scaleOf(i),
                              viewport()->devicePixelRatioF());
        // An edge, so a white page stands out from a white panel.
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect.adjusted(-1, -1, 0, 0));
        painter.setPen(i == current ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text));
        painter.drawText(QRect(rect.left(), rect.bottom() + 1, rect.width(), kLabelHeight),
                         Qt::AlignCenter, QString::number(i + 1));
    }
    m_renderer->endFrame();
}

void PDFThumbnailView::mousePressEvent(QMouseEvent *event)
{
    const int index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0 || !m_view)
        return QAbstractScrollArea::mousePressEvent(event);
    m_view->goToPage(m_view->document().page(index));
}
