#include "PFBasePDFView.h"

#include "PFMarkupBuilder.h"
#include "PFPointerMachine.h"
#include "PFSelectionOverlay.h"
#include "PFWatermarkOverlay.h"
#include "PFAnnotationCommands.h"
#include "PFContextMenu.h"
#include "PFFreeTextEditor.h"
#include "PFNoteTool.h"
#include "PFPageCommands.h"
#include "PFPageMarks.h"
#include "PFStyleCommands.h"
#include "PFTextToolBridge.h"
#include "PFUndoManager.h"

#include "settings/PFManager.h"

#include <QMouseEvent>
#include <QContextMenuEvent>

PFBasePDFView::PFBasePDFView(QWidget *parent)
    : PDFView(parent),
      m_fontSize(PFManager::sharedManager().pfGetFillFontSize()),
      m_undoManager(new PFUndoManager(this)),
      m_pointer(new PFPointerMachine(*this)),
      m_textEditor(new PFFreeTextEditor(this)),
      m_noteTool(new PFNoteTool(this)),
      m_contextMenu(new PFContextMenu(this)),
      m_annotationCommands(new PFAnnotationCommands(this)),
      m_pageCommands(new PFPageCommands(this)),
      m_pageMarks(new PFPageMarks(this)),
      m_styleCommands(new PFStyleCommands(this)),
      m_textToolBridge(std::make_unique<PFTextToolBridge>(*this))
{
    m_pointer->setTextToolHooks(m_textToolBridge.get());
    setAcceptsDrops(true);
    // The menu items follow what the history can really do: a deletion by the user is
    // undoable but leaves nothing to redo, whatever primitive ran last.
    connect(m_undoManager, &PFUndoManager::canUndoChanged, this, [this](bool can) {
        can ? emit pfShowUndoMenuDelegate() : emit pfHideUndoMenuDelegate();
    });
    connect(m_undoManager, &PFUndoManager::canRedoChanged, this, [this](bool can) {
        can ? emit pfShowRedoMenuDelegate() : emit pfHideRedoMenuDelegate();
    });
    connect(this, &PDFView::documentChanged, this, &PFBasePDFView::documentReplaced);
    connect(m_pointer, &PFPointerMachine::pfCheckClickLink, this, &PFBasePDFView::pfCheckClickLink);
    // While a tool is chosen the selection being made shows in the colour of its markup.
    connect(this, &PDFView::selectionChanged, this, [this] {
        if (m_status.editStatus != PFToolStatusNone)
            selectionChangedNotification();
    });
}

void PFBasePDFView::setPfCopyAnnotation(const PDFAnnotation &annotation)
{
    m_copyAnnotation = annotation;
    emit pfCopyAnnotationChanged();
}

void PFBasePDFView::setDragAnnotation(const PDFAnnotation &annotation)
{
    if (m_dragAnnotation == annotation)
        return;
    m_dragAnnotation = annotation;
    emit pfDragAnnotationChanged();
}

PFBasePDFView::~PFBasePDFView()
{
    // The bridge goes before the child objects that could still reach it while they close.
    m_pointer->setTextToolHooks(nullptr);
}

bool PFBasePDFView::pfHasUnsavedChanges() const
{
    return m_hasChangePDF || !m_undoManager->isClean();
}

bool PFBasePDFView::pfChooseTool(int index)
{
    if (!pfIsToolStatus(index))
        return false;
    pfResetData();
    m_status.editStatus = index;
    m_status.currentStatus = index;
    loadStyle(index);
    if (index == PFToolStatusText)
        m_fontSize = PFManager::sharedManager().pfGetFillFontSize();

    Qt::CursorShape cursor = Qt::ArrowCursor;
    if (index >= PFToolStatusHighlight && index <= PFToolStatusStrikeOut)
        cursor = Qt::IBeamCursor;
    else if (index >= PFToolStatusPen && index <= PFToolStatusLink)
        cursor = Qt::CrossCursor;
    viewport()->setCursor(cursor);
    return true;
}

void PFBasePDFView::loadStyle(int status)
{
    const PFManager &manager = PFManager::sharedManager();
    switch (status) {
    case PFToolStatusHighlight:
        m_color = manager.pfGetHilightColor();
        break;
    case PFToolStatusUnderline:
        m_color = manager.pfGetUnderlineColor();
        break;
    case PFToolStatusStrikeOut:
        m_color = manager.pfGetStrikeOutColor();
        break;
    case PFToolStatusPen:
        m_lineWidth = manager.pfGetDrawLineWidth();
        m_color = manager.pfGetDrawColor();
        break;
    case PFToolStatusCircle:
        m_lineWidth = manager.pfGetDrawCircleWidth();
        m_color = manager.pfGetCircleColor();
        m_fillColor = manager.pfGetCircleFillColor();
        break;
    case PFToolStatusRectangle:
        m_lineWidth = manager.pfGetDrawRectangleWidth();
        m_color = manager.pfGetRectangleColor();
        m_fillColor = manager.pfGetRectangleFillColor();
        break;
    case PFToolStatusArrow:
        m_lineWidth = manager.pfGetDrawArrowWidth();
        m_color = manager.pfGetArrowColor();
        break;
    case PFToolStatusLine:
        m_lineWidth = manager.pfGetDrawSegmentWidth();
        m_color = manager.pfGetSegmentColor();
        break;
    case PFToolStatusText:
        m_color = manager.pfGetTextColor();
        m_fillColor = manager.pfGetTextFillColor();
        break;
    default:
        break; // the other tools keep whatever style is set
    }
}

void PFBasePDFView::pfSelectStatus(const PDFAnnotation &annotation)
{
    if (const std::optional<PDFBorder> border = annotation.border())
        m_lineWidth = border->lineWidth;

    const PFManager &manager = PFManager::sharedManager();
    const QString type = annotation.type();
    if (type == QLatin1String("Highlight")) {
        m_color = manager.pfGetHilightColor();
        m_status.currentStatus = PFToolStatusHighlight;
    } else if (type == QLatin1String("StrikeOut")) {
        m_status.currentStatus = PFToolStatusStrikeOut;
        m_color = manager.pfGetStrikeOutColor();
    } else if (type == QLatin1String("Underline")) {
        m_color = manager.pfGetUnderlineColor();
        m_status.currentStatus = PFToolStatusUnderline;
    } else if (type == QLatin1String("Ink")) {
        m_color = annotation.color().value_or(QColor(Qt::transparent));
    } else if (type == QLatin1String("Circle") || type == QLatin1String("Square")) {
        m_color = annotation.color().value_or(QColor(Qt::transparent));
        m_fillColor = annotation.interiorColor().value_or(QColor(Qt::transparent));
        m_status.currentStatus =
            type == QLatin1String("Circle") ? PFToolStatusCircle : PFToolStatusRectangle;
    } else if (type == QLatin1String("Line")) {
        const bool plain = annotation.startLineStyle() == PDFLineStyle::None
                           && annotation.endLineStyle() == PDFLineStyle::None;
        m_status.currentStatus = plain ? PFToolStatusLine : PFToolStatusArrow;
        m_color = annotation.color().value_or(QColor(Qt::transparent));
    } else if (type == QLatin1String("FreeText")) {
        m_status.currentStatus = PFToolStatusText;
        m_color = annotation.interiorColor().value_or(annotation.fontColor());
        m_fillColor = annotation.color().value_or(QColor(Qt::transparent));
    } else if (type == QLatin1String("Text")) {
        m_status.currentStatus = PFToolStatusNote;
    } else if (type == QLatin1String("Stamp")) {
        m_status.currentStatus = PFToolStatusStamp;
    }
    // "Link" and other kinds keep the tool as it is.
    if (m_status.currentStatus != PFToolStatusText)
        m_textEditor->pfResetTextView();
}

void PFBasePDFView::pfResetColor()
{
    loadStyle(m_status.currentStatus);
}

void PFBasePDFView::pfResetSameStatus()
{
    if (m_status.editStatus == m_status.currentStatus)
        return;
    m_status.currentStatus = m_status.editStatus;
    pfResetColor();
}

void PFBasePDFView::pfSelectAnnotation(const PDFAnnotation &annotation)
{
    m_textEditor->pfResetTextView();
    setDragAnnotation(annotation);
    viewport()->update();
}

void PFBasePDFView::pfCheckClickLink()
{
    const PDFAnnotation link = m_dragAnnotation;
    if (link.isNull() || link.type() != QLatin1String("Link"))
        return;
    pfSelectAnnotation({});
    m_pointer->selector().setDragItem(false);
    // Selecting took the link's zero border width as the tool's width.
    pfResetSameStatus();
    pfResetColor();
    followLink(link);
}

void PFBasePDFView::pfResetData()
{
    m_pointer->reset();
    m_textEditor->pfResetTextView();
    setDragAnnotation({});
    viewport()->update();
}

void PFBasePDFView::pfAddShapeAnnotation(const PDFAnnotation &annotation, int pageIndex)
{
    if (annotation.isNull() || document().isNull() || pageIndex < 0
        || pageIndex >= document().pageCount())
        return;
    PDFPage page = document().page(pageIndex);
    if (!page.addAnnotation(annotation))
        return;
    // The page handle rather than the index: the page keeps its identity when pages are
    // inserted or removed before it, so the step still finds it.
    m_undoManager->registerUndo([this, annotation, page] {
        const int index = page.index();
        if (index >= 0)
            pfRemoveShapeAnnotation(annotation, index);
    });
    invalidatePage(page);
    pfChangeOrAddAnnotation();
}

void PFBasePDFView::pfRemoveShapeAnnotation(const PDFAnnotation &annotation, int pageIndex)
{
    if (annotation.isNull() || document().isNull() || pageIndex < 0
        || pageIndex >= document().pageCount())
        return;
    PDFPage page = document().page(pageIndex);
    if (!page.removeAnnotation(annotation))
        return;
    m_undoManager->registerUndo([this, annotation, page] {
        const int index = page.index();
        if (index >= 0)
            pfAddShapeAnnotation(annotation, index);
    });
    m_selectTextCount = 0;
    setDragAnnotation({});
    if (m_textEditor->isOpen())
        m_textEditor->pfRemoveTextView();
    invalidatePage(page);
    viewport()->update();
    pfChangeOrAddAnnotation();
}

void PFBasePDFView::pfChangeOrAddAnnotation()
{
    emit pfHasChangeAnnotation();
}

void PFBasePDFView::pfUndoClick()
{
    m_undoManager->undo();
}

void PFBasePDFView::pfRedoClick()
{
    m_undoManager->redo();
}

void PFBasePDFView::contextMenuEvent(QContextMenuEvent *event)
{
    m_contextMenu->pfOpenMenu(event->pos());
}

void PFBasePDFView::documentReplaced()
{
    if (document() == m_knownDocument)
        return; // only laid out again
    // The history and the flags belong to the document they were made on.
    m_knownDocument = document();
    m_pointer->reset();
    m_textEditor->pfRemoveTextView();
    m_undoManager->removeAllActions();
    setDragAnnotation({});
    m_hasChangePDF = false;
    m_hasInsertPage = false;
}

void PFBasePDFView::selectionChangedNotification()
{
    m_pointer->markups().selectionChangedNotification();
}

void PFBasePDFView::drawPage(QPainter &painter, const PDFPage &page)
{
    PDFView::drawPage(painter, page);
    if (m_waterModel)
        PFWatermarkOverlay::draw(painter, page, pageTransform(page), *m_waterModel);
    m_pageMarks->pfDrawPagemark(painter, indexOf(page), cropBox(page), pageTransform(page));
    PFSelectionOverlay::draw(painter, page, *this, m_pointer->textToolHooks(), m_pointer->hasRightMouseClick());
}

void PFBasePDFView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_pointer->mouseDown(event))
        PDFView::mousePressEvent(event);
}

void PFBasePDFView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The scroll area drops double clicks; to the tools the second click is a press like the
    // first (the Note tool tells it apart by the event's type).
    mousePressEvent(event);
}

void PFBasePDFView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        m_pointer->mouseMoved(event);
    else if (m_pointer->mouseDragged(event))
        PDFView::mouseMoveEvent(event);
}

void PFBasePDFView::mouseReleaseEvent(QMouseEvent *event)
{
    PDFView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        m_pointer->mouseUp(event);
}
