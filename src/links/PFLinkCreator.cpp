#include "PFLinkCreator.h"

#include "PFBaseLinkTabController.h"
#include "PFLinkFieldController.h"

#include "app/PFModalSeam.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFPointerMachine.h"
#include "platform/pdf/PDFDocument.h"

#include <optional>

PFLinkCreator::PFLinkCreator(PFBasePDFView *view) : QObject(view), m_view(view)
{
    connect(view->pfPointer(), &PFPointerMachine::linkDrawn, this, [this](const PDFAnnotation &link, int) {
        // The sheet opens once the release that drew the link has been handled.
        QMetaObject::invokeMethod(this, [this, link] { askForTarget(link); }, Qt::QueuedConnection);
    });
}

void PFLinkCreator::askForTarget(const PDFAnnotation &link)
{
    if (!m_view || link.page().isNull())
        return;
    std::optional<std::pair<QString, int>> answer;
    {
        PFBaseLinkTabController tab(m_view->window());
        tab.pfSetTotalPageNum(m_view->document().pageCount());
        tab.pfDoneLinkEdit = [&answer](const QString &value, int type) { answer = {value, type}; };
        PFModalSeam::current().runSheet(tab);
    }
    // Closing the sheet any other way is a cancel.
    const auto [value, type] = answer.value_or(std::pair<QString, int>{QString(), PFLinkFieldController::Cancel});
    if (m_view)
        pfEidtLink(link, value, type);
}

bool PFLinkCreator::pfEidtLink(const PDFAnnotation &link, const QString &value, int type)
{
    if (!m_view || link.isNull())
        return false;
    PDFPage page = link.page();
    const PDFDocument document = m_view->document();
    PDFAction action;
    switch (type) {
    case PFLinkFieldController::Page: {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (ok && number >= 1 && number <= document.pageCount()) {
            // The top left corner, so that following the link shows the page from its start.
            const PDFPage target = document.page(number - 1);
            const QRectF box = target.bounds(PDFDisplayBox::CropBox);
            action = PDFActionGoTo{PDFDestination(target, QPointF(box.left(), box.bottom()))};
        }
        break;
    }
    case PFLinkFieldController::Email:
        if (!value.isEmpty())
            action = PDFActionURL{QStringLiteral("mailto:%1").arg(value)};
        break;
    case PFLinkFieldController::Website:
        if (!value.isEmpty())
            action = PDFActionURL{value};
        break;
    default:
        break;
    }
    m_view->pfSelectAnnotation({});
    if (page.isNull())
        return false;
    // The link sat on the page while it was drawn; it enters for good through the undoable add.
    page.removeAnnotation(link);
    m_view->invalidatePage(page);
    if (std::holds_alternative<std::monostate>(action))
        return false;
    PDFAnnotation made = link;
    made.setAction(action);
    if (std::holds_alternative<std::monostate>(made.action()))
        return false; // the engine could not keep the action
    m_view->pfAddShapeAnnotation(made, page.index());
    return true;
}
