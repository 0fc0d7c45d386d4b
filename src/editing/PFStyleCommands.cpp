#include "PFStyleCommands.h"

#include "PFBasePDFView.h"
#include "PFFreeTextAppearance.h"
#include "PFFreeTextEditor.h"
#include "PFToolStatus.h"

#include "settings/PFManager.h"
#include "platform/pdf/PDFPage.h"

PFStyleCommands::PFStyleCommands(PFBasePDFView *view) : QObject(view), m_view(view) {}

void PFStyleCommands::pfChangeCurrentWidth(int width)
{
    m_view->setPfHasChangePDF(true);
    PFManager &manager = PFManager::sharedManager();
    QString restyled; // the kind of selection that takes the width
    switch (m_view->pfCurrentStatus().currentStatus) {
    case PFToolStatusPen: manager.pfSetDrawLineWidth(width); break;
    case PFToolStatusCircle:
        manager.pfSetDrawCircleWidth(width);
        restyled = QStringLiteral("Circle");
        break;
    case PFToolStatusRectangle:
        manager.pfSetDrawRectangleWidth(width);
        restyled = QStringLiteral("Square");
        break;
    case PFToolStatusArrow:
        manager.pfSetDrawArrowWidth(width);
        restyled = QStringLiteral("Line");
        break;
    case PFToolStatusLine:
        manager.pfSetDrawSegmentWidth(width);
        restyled = QStringLiteral("Line");
        break;
    default: return;
    }
    m_view->setPfLineWidth(width);
    PDFAnnotation selection = m_view->dragAnnotation();
    if (!restyled.isEmpty() && !selection.isNull() && selection.type() == restyled) {
        selection.setBorder(PDFBorder{double(width)});
        m_view->invalidatePage(selection.page());
        m_view->viewport()->update();
    }
}

void PFStyleCommands::pfChangeAnoColor(const QColor &color, int kind)
{
    m_view->setPfHasChangePDF(true);
    PFManager &manager = PFManager::sharedManager();
    const bool stroke = kind == 1 || kind == 2;
    PDFAnnotation selection = m_view->dragAnnotation();
    const QString type = selection.isNull() ? QString() : selection.type();
    bool changed = false;
    auto restyle = [&](const char *kindName, auto apply) {
        if (type == QLatin1String(kindName)) {
            apply();
            changed = true;
        }
    };
    switch (m_view->pfCurrentStatus().currentStatus) {
    case PFToolStatusHighlight: m_view->setPfColor(color); manager.pfSetHilightColor(color); break;
    case PFToolStatusUnderline: m_view->setPfColor(color); manager.pfSetUnderlineColor(color); break;
    case PFToolStatusStrikeOut: m_view->setPfColor(color); manager.pfSetStrikeOutColor(color); break;
    case PFToolStatusPen: m_view->setPfColor(color); manager.pfSetDrawColor(color); break;
    case PFToolStatusCircle:
    case PFToolStatusRectangle: {
        const bool circle = m_view->pfCurrentStatus().currentStatus == PFToolStatusCircle;
        const char *kindName = circle ? "Circle" : "Square";
        if (stroke) {
            m_view->setPfColor(color);
            circle ? manager.pfSetCircleColor(color) : manager.pfSetRectangleColor(color);
            restyle(kindName, [&] { selection.setColor(color); });
        } else {
            m_view->setPfFillColor(color);
            circle ? manager.pfSetCircleFillColor(color) : manager.pfSetRectangleFillColor(color);
            restyle(kindName, [&] { selection.setInteriorColor(color); });
        }
        break;
    }
    case PFToolStatusArrow:
        m_view->setPfColor(color);
        manager.pfSetArrowColor(color);
        restyle("Line", [&] { selection.setColor(color); });
        break;
    case PFToolStatusLine:
        m_view->setPfColor(color);
        manager.pfSetSegmentColor(color);
        restyle("Line", [&] { selection.setColor(color); });
        break;
    case PFToolStatusText: {
        PFFreeTextEditor *editor = m_view->pfTextEditor();
        if (kind == 1) {
            m_view->setPfColor(color);
            manager.pfSetTextColor(color);
            restyle("FreeText", [&] {
                selection.setFontColor(color);
                selection.setInteriorColor(color);
            });
            editor->setTextColor(color);
        } else {
            m_view->setPfFillColor(color);
            manager.pfSetTextFillColor(color);
            restyle("FreeText", [&] { selection.setColor(color); });
            editor->setBackgroundColor(color);
        }
        // A box being edited is drawn when it is committed; one only selected is drawn now.
        if (changed && !editor->isOpen())
            PFFreeTextAppearance::apply(selection);
        if (!changed && !editor->isOpen())
            m_view->pfChangeOrAddAnnotation();
        m_view->viewport()->update();
        break;
    }
    default: return;
    }
    if (changed) {
        m_view->invalidatePage(selection.page());
        m_view->viewport()->update();
    }
}
