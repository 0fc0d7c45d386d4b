#include "PFNoteTool.h"

#include "PFBasePDFView.h"
#include "PFNoteIcons.h"
#include "PFTextAnnotationController.h"
#include "PFToolStatus.h"

#include <QTimer>

namespace {
const QString kText = QStringLiteral("Text");
}

PFNoteTool::PFNoteTool(PFBasePDFView *view) : QObject(view), m_view(view) {}

bool PFNoteTool::pfNoteToolPressed(const PDFPage &page, QPointF pagePoint, int clickCount)
{
    if (m_popover && m_popover->isVisible()) {
        m_popover->close();
        return true;
    }
    if (page.isNull())
        return false;
    m_page = page;
    m_startPoint = pagePoint;

    PDFAnnotation hit;
    for (const PDFAnnotation &annotation : page.annotations()) {
        if (annotation.bounds().contains(pagePoint)) {
            hit = annotation;
            break;
        }
    }
    if (clickCount == 2 && !hit.isNull() && hit.type() == kText) {
        m_note = hit;
        m_isEditText = true;
        openPopover(hit);
        return true;
    }
    if (!hit.isNull() || m_view->pfCurrentStatus().editStatus != PFToolStatusNote)
        return false;

    m_note = makeNote(0);
    m_isEditText = false;
    m_view->pfAddShapeAnnotation(m_note, page.index());
    openPopover(m_note);
    m_view->pfChangeOrAddAnnotation();
    return true;
}

PDFAnnotation PFNoteTool::makeNote(int iconType) const
{
    PDFAnnotation note = PDFAnnotation::create(m_view->document(), kText,
                                               QRectF(m_startPoint, QSizeF(kNoteSize, kNoteSize)));
    note.setColor(noteColor());
    note.setIconName(PFNoteIcons::iconName(iconType));
    return note;
}

void PFNoteTool::openPopover(const PDFAnnotation &note)
{
    auto *popover = new PFTextAnnotationController(m_view);
    popover->pfSetText(note.contents());
    popover->pfSelectIndex(PFNoteIcons::iconType(note.iconName()));
    QPointer<PFNoteTool> self(this);
    // Reported after the popover's own event has finished, as a completion would be.
    popover->pfTitleEndEdit = [self](const QString &text, int index) {
        QTimer::singleShot(0, self, [self, text, index] {
            if (self)
                self->pfAddTextAnotition(text, index);
        });
    };
    m_popover = popover;
    const QRectF anchor = m_view->convertRectFromPage(note.bounds(), m_page).normalized();
    popover->showAbove(QRect(m_view->viewport()->mapToGlobal(anchor.topLeft().toPoint()), anchor.size().toSize()));
}

void PFNoteTool::pfAddTextAnotition(const QString &text, int index)
{
    if (m_page.isNull() || m_page.index() < 0)
        return;
    m_view->setPfHasChangePDF(true);
    if (index >= 100) {
        if (m_note.isNull()) {
            m_note = makeNote(0);
            m_view->pfAddShapeAnnotation(m_note, m_page.index());
        }
        m_note.setColor(noteColor());
        const int iconType = PFNoteIcons::iconTypeForPosition(index - 100);
        if (iconType >= 0)
            m_note.setIconName(PFNoteIcons::iconName(iconType));
    } else {
        const bool isNew = m_note.isNull();
        if (isNew)
            m_note = makeNote(0);
        m_note.setColor(noteColor());
        if (!m_isEditText) {
            const int iconType = PFNoteIcons::iconTypeForPosition(index);
            if (iconType >= 0)
                m_note.setIconName(PFNoteIcons::iconName(iconType));
        }
        if (isNew)
            m_view->pfAddShapeAnnotation(m_note, m_page.index());
        if (!text.isEmpty())
            m_note.setContents(text);
    }
    m_view->invalidatePage(m_page);
    m_view->viewport()->update();
    m_view->pfChangeOrAddAnnotation();
}
