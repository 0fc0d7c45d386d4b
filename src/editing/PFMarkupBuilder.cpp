#include "PFMarkupBuilder.h"

#include "PFBasePDFView.h"

namespace {

QString subtypeFor(int status)
{
    switch (status) {
    case PFToolStatusHighlight: return QStringLiteral("Highlight");
    case PFToolStatusUnderline: return QStringLiteral("Underline");
    case PFToolStatusStrikeOut: return QStringLiteral("StrikeOut");
    default: return {};
    }
}

PDFQuad quadFor(const QRectF &line)
{
    const double x = line.x(), y = line.y(), w = line.width(), h = line.height();
    return {{x, y + h}, {x + w, y + h}, {x, y}, {x + w, y}};
}

} // namespace

PFMarkupBuilder::PFMarkupBuilder(PFBasePDFView &view)
    : m_view(view), m_plainSelectionColor(view.selectionColor())
{
}

void PFMarkupBuilder::selectionChangedNotification()
{
    PFBasePDFView &view = m_view;
    const int status = view.pfCurrentStatus().currentStatus;
    if (status < PFToolStatusHighlight || status > PFToolStatusStrikeOut)
        return;
    view.setSelectionColor(status == PFToolStatusHighlight ? view.pfColor() : m_plainSelectionColor);
    view.viewport()->setCursor(Qt::IBeamCursor);
}

void PFMarkupBuilder::pfHighlight()
{
    PFBasePDFView &view = m_view;
    const PDFSelection selection = view.currentSelection();
    const QString subtype = subtypeFor(view.pfCurrentStatus().currentStatus);
    const QVector<PDFSelection> lines = selection.selectionsByLine();
    for (const PDFPage &page : selection.pages()) {
        const QRectF bounds = selection.boundsForPage(page);
        if (subtype.isEmpty() || bounds.isNull())
            continue;
        PDFAnnotation markup = PDFAnnotation::create(view.document(), subtype, bounds);
        if (markup.isNull())
            continue;
        // The engine's quadrilaterals are in page space, as the file stores them.
        QVector<PDFQuad> quads;
        for (const PDFSelection &line : lines) {
            const QRectF box = line.boundsForPage(page);
            if (!box.isNull())
                quads.append(quadFor(box));
        }
        markup.setQuadrilateralPoints(quads);
        markup.setColor(view.pfColor());
        view.pfAddShapeAnnotation(markup, page.index());
    }
    view.clearSelection();
    view.setSelectionColor(m_plainSelectionColor);
}
