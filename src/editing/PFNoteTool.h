#pragma once

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

#include <QColor>
#include <QObject>
#include <QPointer>

class PFBasePDFView;
#include "PFTextAnnotationController.h"

// Sticky notes: a press with the Note tool places a "Text" annotation and opens its popover; a
// double click on a note opens the popover for it. What the popover reports is written into
// the note.
class PFNoteTool : public QObject {
    Q_OBJECT
public:
    static constexpr double kNoteSize = 20;
    static QColor noteColor() { return QColor(254, 233, 116); }

    explicit PFNoteTool(PFBasePDFView *view);

    PFTextAnnotationController *pfTextPopUpCon() const { return m_popover; }
    PDFAnnotation textAnnotation() const { return m_note; }
    // The popover edits a note that existed before it opened.
    bool isEditText() const { return m_isEditText; }

    // A press with the Note tool at a page point; `clickCount` 2 for a double click. True when
    // the press was used up here.
    bool pfNoteToolPressed(const PDFPage &page, QPointF pagePoint, int clickCount);
    // The popover's report: the text, and the icon position (+ 100 when an icon was chosen).
    void pfAddTextAnotition(const QString &text, int index);

private:
    void openPopover(const PDFAnnotation &note);
    PDFAnnotation makeNote(int iconType) const;

    PFBasePDFView *m_view;
    QPointer<PFTextAnnotationController> m_popover;
    PDFPage m_page;
    QPointF m_startPoint;
    PDFAnnotation m_note;
    bool m_isEditText = false;
};
