#pragma once

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QTextEdit>

class PFBasePDFView;


// The in-place free-text editor of the editing view: a text box laid over the page in which a
// "FreeText" annotation is typed, or an existing one is edited, and which is committed into
// the annotation when the user leaves it. It stays on its place on the page while scrolling.
//
// The pointer machine calls pfTextToolPressed and pfTextToolReleased for presses with the Text
// tool, and pfBeginResize/setFrame while a handle of the editor is dragged.
class PFFreeTextEditor : public QObject {
    Q_OBJECT
public:
    // The box that opens under a press: its size in view units.
    static constexpr double kNewWidth = 260;
    static constexpr double kNewHeight = 120;

    explicit PFFreeTextEditor(PFBasePDFView *view);
    ~PFFreeTextEditor() override;

    bool isOpen() const { return !m_textView.isNull(); }
    QTextEdit *pfTextScrollView() const { return m_textView; }
    // The editor's frame in viewport coordinates, and in page space.
    QRectF frame() const;
    QRectF pfRectTextScroll() const { return m_rectTextScroll; }
    QRectF pfTextScrollOriginRect() const { return m_originRect; }
    PDFPage page() const { return m_page; }
    // The editor edits an existing box rather than a new one.
    bool isEditFreeText() const { return m_isEditFreeText; }

    // A press with the Text tool at a page point. True when the press was used up here.
    bool pfTextToolPressed(const PDFPage &page, QPointF pagePoint);
    // The release of that press; `moved` when the pointer moved since.
    void pfTextToolReleased(bool moved);

    // A handle of the editor was grabbed: remembers the frame the resize starts from.
    void pfBeginResize();
    // The editor's new frame in viewport coordinates (a resize step).
    void setFrame(const QRectF &frame);

    // Opens a new, empty box whose top-left corner is at the viewport point.
    void pfOpenNewBox(const PDFPage &page, QPointF viewPoint);
    // Opens an existing box for editing; it is hidden on the page meanwhile.
    void pfAddEditTextFromAnnotation(const PDFAnnotation &annotation);
    // Writes the editor's text into its annotation (a new one for a new box).
    void pfAddFreeTextAnnotation();
    // Closes the editor without committing.
    void pfRemoveTextView();
    // Commits and closes the editor: the user left the box.
    void pfResetTextView();
    // Commits and closes an open editor before the document is saved.
    void pfCheckHasUndoTextView();

    // What the font popover shows, and one change from it: `which` is 1 the font name, 2 the
    // size, 3 the alignment.
    QString pfGetFontTitle() const;
    int pfGetFontSize() const;
    PDFTextAlignment pfGetFontAlignment() const;
    void pfChangeFontTitle(const QString &name, int size, PDFTextAlignment alignment, int which);

    // Colours of the open editor (the text, the background).
    void setTextColor(const QColor &color);
    void setBackgroundColor(const QColor &color);

private:
    void create(const PDFPage &page, const QRectF &frame, PDFTextAlignment alignment,
                const QString &text);
    void applyFont();
    void applyAlignment(PDFTextAlignment alignment);
    PDFTextAlignment alignment() const;
    void followPage();
    PDFAnnotation selectedFreeText() const;
    // A free-text box changed while no editor shows it: draw it again.
    void redrawBox(PDFAnnotation &box);

    PFBasePDFView *m_view;
    QPointer<QTextEdit> m_textView;
    PDFPage m_page;
    PDFAnnotation m_edited;  // the box being edited; null for a new box
    QRectF m_editedBounds;   // where that box was before it was hidden
    QRectF m_frame;          // in viewport coordinates, unrounded so a commit lands exactly
    QRectF m_rectTextScroll; // the frame in page space
    QRectF m_originRect;     // the frame when a resize began
    bool m_isEditFreeText = false;
};
