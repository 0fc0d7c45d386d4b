#pragma once

#include "PFLineInfo.h"
#include "PFStatusInfo.h"
#include "PFToolStatus.h"

#include "pages/PFWatermarkModel.h"
#include "platform/pdf/PDFAnnotation.h"
#include "signatures/PFSignParameterModel.h"
#include "stamps/PFPicture.h"
#include "platform/view/PDFView.h"

#include <QColor>
#include <QImage>
#include <memory>
#include <optional>

class PFPointerMachine;
class PFAnnotationCommands;
class PFContextMenu;
class PFFreeTextEditor;
class PFNoteTool;
class PFPageCommands;
class PFPageMarks;
class PFStyleCommands;
class PFTextToolBridge;
class PFUndoManager;

// The editing view: a PDF view that creates, selects and restyles annotations. It holds the
// tool state and the style for the next annotation, and is the one place through which
// annotations enter and leave pages, so that every creation and removal is an undo step.
//
// It reports to the window's controller through its signals: annotations changed
// (pfHasChangeAnnotation) and Undo/Redo became possible or impossible.
class PFBasePDFView : public PDFView {
    Q_OBJECT
public:
    explicit PFBasePDFView(QWidget *parent = nullptr);
    ~PFBasePDFView() override;

    // The tool state; the controller sets both fields when a tool is chosen.
    PFStatusInfo &pfCurrentStatus() { return m_status; }
    const PFStatusInfo &pfCurrentStatus() const { return m_status; }

    // Style for the next annotation of the current tool.
    QColor pfColor() const { return m_color; }
    void setPfColor(const QColor &color) { m_color = color; }
    QColor pfFillColor() const { return m_fillColor; }
    void setPfFillColor(const QColor &color) { m_fillColor = color; }
    double pfLineWidth() const { return m_lineWidth; }
    void setPfLineWidth(double width) { m_lineWidth = width; }
    QString pfFontName() const { return m_fontName; }
    void setPfFontName(const QString &name) { m_fontName = name; }
    int currentFontSize() const { return m_fontSize; }
    void setCurrentFontSize(int size) { m_fontSize = size; }

    // What the placing tools put down: -1 no stamp, 0..22 a catalogue stamp, 100 the custom
    // image stamp in pfStampImage.
    int selectStampIndex() const { return m_stampIndex; }
    void setSelectStampIndex(int index) { m_stampIndex = index; }
    const PFPicture &pfStampImage() const { return m_stampImage; }
    void setPfStampImage(const PFPicture &image) { m_stampImage = image; }
    const PFPicture &pfPhotoImage() const { return m_photoImage; }
    void setPfPhotoImage(const PFPicture &image) { m_photoImage = image; }
    const std::optional<PFSignParameterModel> &pfSignModel() const { return m_signModel; }
    void setPfSignModel(const std::optional<PFSignParameterModel> &model) { m_signModel = model; }

    // The annotation on the clipboard; null when there is none.
    PDFAnnotation pfCopyAnnotation() const { return m_copyAnnotation; }
    void setPfCopyAnnotation(const PDFAnnotation &annotation);

    // Unsaved edits beyond what the undo history holds.
    bool pfHasChangePDF() const { return m_hasChangePDF; }
    void setPfHasChangePDF(bool changed) { m_hasChangePDF = changed; }
    // Pages were inserted or removed since the document was opened.
    bool pfHasInsertPage() const { return m_hasInsertPage; }
    void setPfHasInsertPage(bool inserted) { m_hasInsertPage = inserted; }
    // The document has changes to save: the flag, or a creation that was not undone.
    bool pfHasUnsavedChanges() const;

    // The watermark drawn over the pages until it is written by a save; none at first.
    const std::optional<PFWatermarkModel> &pfWaterModel() const { return m_waterModel; }
    void setPfWaterModel(const std::optional<PFWatermarkModel> &model) { m_waterModel = model; }
    // Redraws the pages with the watermark in force.
    void pfRefreshWatermark() { viewport()->update(); }

    // The gesture under way, in page space; none before the first press.
    const std::optional<PFLineInfo> &pfLineInfo() const { return m_lineInfo; }
    void setPfLineInfo(const std::optional<PFLineInfo> &info) { m_lineInfo = info; }
    // Hit-test result of the last press: a handle index, 8 for the body, -1 for nothing.
    int pfCurrentDirect() const { return m_currentDirect; }
    void setPfCurrentDirect(int direct) { m_currentDirect = direct; }
    bool pfClickOtherAnno() const { return m_clickOtherAnno; }
    void setPfClickOtherAnno(bool hit) { m_clickOtherAnno = hit; }
    // Clicks on the selected free-text box; the second one opens it for editing.
    int selectTextCount() const { return m_selectTextCount; }
    void setSelectTextCount(int count) { m_selectTextCount = count; }
    // Bounds of the selection when its drag began.
    QRectF pfOriginRect() const { return m_originRect; }
    void setPfOriginRect(const QRectF &rect) { m_originRect = rect; }
    // Where the context menu was opened, in viewport coordinates.
    QPointF rightTapPosition() const { return m_rightTapPosition; }
    void setRightTapPosition(QPointF point) { m_rightTapPosition = point; }

    // The selected annotation; null when nothing is selected.
    PDFAnnotation dragAnnotation() const { return m_dragAnnotation; }

    PFUndoManager *undoManager() const { return m_undoManager; }
    // Presses, drags, releases and hover of the editing tools.
    PFPointerMachine *pfPointer() const { return m_pointer; }
    // The text selection changed while a tool is chosen: colour it for the markup tools.
    void selectionChangedNotification();

    // The parts of the view that keep their own logic: the free-text editor and the font
    // values, notes, the context menu and its commands, bookmarks, restyling.
    PFFreeTextEditor *pfTextEditor() const { return m_textEditor; }
    PFNoteTool *pfNoteTool() const { return m_noteTool; }
    PFContextMenu *pfContextMenu() const { return m_contextMenu; }
    PFAnnotationCommands *pfAnnotationCommands() const { return m_annotationCommands; }
    PFPageCommands *pfPageCommands() const { return m_pageCommands; }
    PFPageMarks *pfPageMarks() const { return m_pageMarks; }
    PFStyleCommands *pfStyleCommands() const { return m_styleCommands; }

    // A palette choice: drops the selection, and for a tool (0 to 14) sets both status fields
    // to it, loads its style from the settings store and sets the pointer. Indices that are no
    // tool (the width, colour and font buttons) change nothing. True when it was a tool.
    bool pfChooseTool(int index);
    // Takes over the style of the annotation being selected.
    void pfSelectStatus(const PDFAnnotation &annotation);
    // Reloads colour, fill colour and width from the settings store for currentStatus.
    void pfResetColor();
    // Returns currentStatus to the palette's tool and reloads its style, when they differ.
    void pfResetSameStatus();
    void pfSelectAnnotation(const PDFAnnotation &annotation);
    // A press landed on the selected annotation: when it is a link, it is followed and dropped
    // from the selection, whatever the tool (a link is never selected for moving).
    void pfCheckClickLink();
    // Drops the selection; called before every tool change.
    void pfResetData();

    // The two undoable primitives through which annotations enter and leave pages; each
    // registers the other as its undo step.
    void pfAddShapeAnnotation(const PDFAnnotation &annotation, int pageIndex);
    void pfRemoveShapeAnnotation(const PDFAnnotation &annotation, int pageIndex);
    void pfChangeOrAddAnnotation();

    // One step of undo or redo.
    void pfUndoClick();
    void pfRedoClick();

signals:
    void pfHasChangeAnnotation();
    // The selected annotation, or the annotation on the clipboard, is another one now.
    void pfDragAnnotationChanged();
    void pfCopyAnnotationChanged();
    // The Undo and Redo menu items follow these; they are sent whenever the answer of
    // undoManager()->canUndo() or canRedo() changes, whatever changed it.
    void pfShowUndoMenuDelegate();
    void pfHideUndoMenuDelegate();
    void pfShowRedoMenuDelegate();
    void pfHideRedoMenuDelegate();

protected:
    void drawPage(QPainter &painter, const PDFPage &page) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Loads colour, fill colour and width of the tool from the settings store.
    void loadStyle(int status);
    void documentReplaced();
    void setDragAnnotation(const PDFAnnotation &annotation);

    PFStatusInfo m_status;
    QColor m_color{Qt::red};
    QColor m_fillColor{Qt::transparent};
    double m_lineWidth = 2.0;
    QString m_fontName{QStringLiteral("Helvetica")};
    int m_fontSize;
    int m_stampIndex = -1;
    PFPicture m_stampImage;
    PFPicture m_photoImage;
    std::optional<PFSignParameterModel> m_signModel;
    PDFAnnotation m_copyAnnotation;
    bool m_hasChangePDF = false;
    bool m_hasInsertPage = false;
    std::optional<PFWatermarkModel> m_waterModel;
    std::optional<PFLineInfo> m_lineInfo;
    int m_currentDirect = 0;
    bool m_clickOtherAnno = false;
    int m_selectTextCount = 0;
    QRectF m_originRect;
    QPointF m_rightTapPosition;

    PDFAnnotation m_dragAnnotation;
    PDFDocument m_knownDocument; // the document the undo history belongs to
    PFUndoManager *m_undoManager;
    PFPointerMachine *m_pointer;
    PFFreeTextEditor *m_textEditor;
    PFNoteTool *m_noteTool;
    PFContextMenu *m_contextMenu;
    PFAnnotationCommands *m_annotationCommands;
    PFPageCommands *m_pageCommands;
    PFPageMarks *m_pageMarks;
    PFStyleCommands *m_styleCommands;
    std::unique_ptr<PFTextToolBridge> m_textToolBridge; // hands the Text and Note tools' events on
};
