#include "PFFreeTextEditor.h"

#include "PFBasePDFView.h"
#include "PFFontLabel.h"
#include "PFFreeTextAppearance.h"
#include "PFToolStatus.h"

#include "settings/PFManager.h"

#include <QTextEdit>
#include <cmath>

namespace {

// A box being edited is parked off the page so that only the editor shows its text.
constexpr double kHiddenX = -100000;
const QString kFreeText = QStringLiteral("FreeText");

} // namespace

PFFreeTextEditor::PFFreeTextEditor(PFBasePDFView *view) : QObject(view), m_view(view)
{
    connect(view, &PDFView::liveScroll, this, &PFFreeTextEditor::followPage);
    connect(view, &PDFView::scaleChanged, this, [this] {
        followPage();
        applyFont();
    });
}

PFFreeTextEditor::~PFFreeTextEditor() = default;

QRectF PFFreeTextEditor::frame() const
{
    return m_textView ? m_frame : QRectF();
}

void PFFreeTextEditor::setFrame(const QRectF &frame)
{
    if (!m_textView)
        return;
    m_frame = frame.normalized();
    m_textView->setGeometry(m_frame.toAlignedRect());
    m_rectTextScroll = m_view->convertRectToPage(m_frame, m_page).normalized();
}

void PFFreeTextEditor::pfBeginResize()
{
    m_view->setSelectTextCount(1);
    m_originRect = frame();
}

void PFFreeTextEditor::followPage()
{
    if (!m_textView || m_page.isNull())
        return;
    m_frame = m_view->convertRectFromPage(m_rectTextScroll, m_page).normalized();
    m_textView->setGeometry(m_frame.toAlignedRect());
}

PDFAnnotation PFFreeTextEditor::selectedFreeText() const
{
    const PDFAnnotation selection = m_view->dragAnnotation();
    return !selection.isNull() && selection.type() == kFreeText ? selection : PDFAnnotation();
}

bool PFFreeTextEditor::pfTextToolPressed(const PDFPage &page, QPointF pagePoint)
{
    if (page.isNull())
        return false;
    const QPointF viewPoint = m_view->convertPointFromPage(pagePoint, page);
    if (m_textView) {
        if (frame().contains(viewPoint))
            return false; // the editor takes it
        pfResetTextView();
        m_view->pfResetSameStatus();
        return true;
    }

    PDFAnnotation hit;
    for (const PDFAnnotation &annotation : page.annotations()) {
        if (annotation.bounds().contains(pagePoint)) {
            hit = annotation;
            break;
        }
    }
    const PDFAnnotation selection = m_view->dragAnnotation();
    if (!hit.isNull()) {
        if (hit == selection) {
            if (hit.type() == kFreeText)
                m_view->setSelectTextCount(m_view->selectTextCount() + 1);
            return true;
        }
        // The first click on a box only selects it.
        m_view->pfSelectAnnotation(hit);
        m_view->pfSelectStatus(hit);
        m_view->setSelectTextCount(hit.type() == kFreeText ? 1 : 0);
        return true;
    }
    if (!selection.isNull() || m_view->selectTextCount() > 0) {
        // Leaving a selection only drops it; the next press opens a box.
        m_view->setSelectTextCount(0);
        m_isEditFreeText = false;
        m_view->pfResetData();
        m_view->pfResetSameStatus();
        return true;
    }
    if (m_view->pfCurrentStatus().editStatus != PFToolStatusText)
        return false;
    pfOpenNewBox(page, viewPoint);
    return true;
}

void PFFreeTextEditor::pfTextToolReleased(bool moved)
{
    if (m_textView || moved)
        return;
    const PDFAnnotation box = selectedFreeText();
    if (!box.isNull() && m_view->selectTextCount() >= 2) {
        pfAddEditTextFromAnnotation(box);
        m_view->setSelectTextCount(0);
    }
}

void PFFreeTextEditor::pfOpenNewBox(const PDFPage &page, QPointF viewPoint)
{
    m_view->setSelectTextCount(0);
    m_view->clearSelection();
    m_view->pfResetData();
    m_isEditFreeText = false;
    m_edited = {};
    create(page, QRectF(viewPoint, QSizeF(kNewWidth, kNewHeight)), PDFTextAlignment::Left, {});
}

void PFFreeTextEditor::pfAddEditTextFromAnnotation(const PDFAnnotation &annotation)
{
    const PDFPage page = annotation.page();
    if (annotation.isNull() || page.isNull())
        return;
    pfRemoveTextView();
    m_isEditFreeText = true;
    m_edited = annotation;
    m_editedBounds = annotation.bounds();

    const double scale = m_view->scaleFactor();
    const QRectF frame = m_view->convertRectFromPage(m_editedBounds, page)
                             .normalized()
                             .translated(-2 * scale, 3 * scale);

    // A box of another program has no label and opens a little larger than its font.
    int size = int(annotation.fontSize()) + 2;
    QString name = annotation.fontName();
    const QString label = annotation.userName();
    if (!label.isEmpty()) {
        const PFFontLabel::Parts parts = PFFontLabel::parse(label);
        size = parts.size.value_or(20);
        if (parts.count > 1)
            name = parts.fontName;
    }
    m_view->setPfFontName(PFFreeTextAppearance::usableFontName(name));
    m_view->setPfFillColor(annotation.color().value_or(QColor(Qt::transparent)));
    m_view->setPfColor(annotation.interiorColor().value_or(annotation.fontColor()));
    m_view->setCurrentFontSize(size);

    create(page, frame, annotation.alignment(), annotation.contents());

    PDFAnnotation hidden = annotation;
    hidden.setBounds(QRectF(QPointF(kHiddenX, m_editedBounds.y()), m_editedBounds.size()));
    m_view->invalidatePage(page);
    m_view->setPfHasChangePDF(true);
}

void PFFreeTextEditor::create(const PDFPage &page, const QRectF &frame, PDFTextAlignment alignment,
                              const QString &text)
{
    m_page = page;
    auto *edit = new QTextEdit(m_view->viewport());
    edit->setObjectName(QStringLiteral("pfTextScrollView"));
    edit->setFrameShape(QFrame::Box);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QTextEdit::WidgetWidth);
    edit->setAcceptRichText(false);
    m_textView = edit;
    setTextColor(m_view->pfColor());
    setBackgroundColor(m_view->pfFillColor());
    applyFont();
    edit->setPlainText(text);
    // Typing into an opened box continues its text.
    edit->moveCursor(QTextCursor::End);
    applyAlignment(alignment);
    connect(edit, &QTextEdit::textChanged, this, [this] { m_view->setPfHasChangePDF(true); });
    setFrame(frame);
    m_originRect = this->frame();
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    m_view->viewport()->update();
}

void PFFreeTextEditor::applyFont()
{
    if (!m_textView)
        return;
    // The editor shows the text as large as the page does at this zoom.
    QFont font = PFFreeTextAppearance::font(m_view->pfFontName());
    const double viewSize = m_view->currentFontSize() * m_view->scaleFactor();
    font.setPointSizeF(std::max(1.0, viewSize * 72.0 / m_textView->logicalDpiY()));
    m_textView->document()->setDefaultFont(font);
    m_textView->setFont(font);
}

void PFFreeTextEditor::applyAlignment(PDFTextAlignment alignment)
{
    if (!m_textView)
        return;
    QTextOption option = m_textView->document()->defaultTextOption();
    option.setAlignment(PFFreeTextAppearance::qtAlignment(alignment));
    m_textView->document()->setDefaultTextOption(option);
    // Paragraphs already typed carry their own alignment.
    QTextCursor cursor(m_textView->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(PFFreeTextAppearance::qtAlignment(alignment));
    cursor.mergeBlockFormat(format);
}

PDFTextAlignment PFFreeTextEditor::alignment() const
{
    if (!m_textView)
        return PDFTextAlignment::Left;
    const Qt::Alignment a = m_textView->document()->defaultTextOption().alignment();
    if (a & Qt::AlignHCenter)
        return PDFTextAlignment::Center;
    if (a & Qt::AlignRight)
        return PDFTextAlignment::Right;
    return PDFTextAlignment::Left;
}

void PFFreeTextEditor::setTextColor(const QColor &color)
{
    if (!m_textView)
        return;
    QPalette palette = m_textView->palette();
    palette.setColor(QPalette::Text, color.isValid() ? color : QColor(Qt::black));
    m_textView->setPalette(palette);
    m_textView->setTextColor(palette.color(QPalette::Text));
}

void PFFreeTextEditor::setBackgroundColor(const QColor &color)
{
    if (!m_textView)
        return;
    QPalette palette = m_textView->palette();
    palette.setColor(QPalette::Base, color.isValid() ? color : QColor(Qt::transparent));
    m_textView->setPalette(palette);
    m_textView->viewport()->setAutoFillBackground(color.isValid() && color.alpha() > 0);
}

void PFFreeTextEditor::pfAddFreeTextAnnotation()
{
    if (!m_textView || m_page.isNull())
        return;
    const QString text = m_textView->toPlainText();
    if (text.isEmpty())
        return;
    const double scale = m_view->scaleFactor();
    const QRectF bounds =
        m_view->convertRectToPage(frame().translated(2 * scale, -3 * scale), m_page).normalized();
    // The editor shows the size times the zoom, so in page space the size is the size itself.
    const int fontSize = m_view->currentFontSize();
    const bool isNew = m_edited.isNull();
    PDFAnnotation box = isNew ? PDFAnnotation::create(m_view->document(), kFreeText, bounds) : m_edited;
    box.setBounds(bounds);
    box.setColor(m_view->pfFillColor());
    box.setFontColor(m_view->pfColor());
    box.setInteriorColor(m_view->pfColor());
    box.setFont(m_view->pfFontName(), fontSize);
    box.setContents(text);
    box.setAlignment(alignment());
    box.setUserName(PFFontLabel::format(fontSize, m_view->pfFontName()));
    PFFreeTextAppearance::apply(box);
    if (isNew) {
        m_view->pfAddShapeAnnotation(box, m_page.index());
    } else {
        m_editedBounds = bounds; // it is back on its page
        m_view->invalidatePage(m_page);
    }
    m_view->viewport()->update();
    m_view->setPfHasChangePDF(true);
}

void PFFreeTextEditor::pfRemoveTextView()
{
    if (m_textView) {
        m_textView->hide();
        m_textView->deleteLater();
        m_textView.clear();
    }
    // A box left without its editor goes back where it was rather than staying hidden.
    if (!m_edited.isNull() && m_edited.bounds().x() <= kHiddenX / 2) {
        m_edited.setBounds(m_editedBounds);
        if (!m_page.isNull())
            m_view->invalidatePage(m_page);
    }
    m_edited = {};
    m_isEditFreeText = false;
    m_view->setSelectTextCount(0);
    m_view->viewport()->update();
}

void PFFreeTextEditor::pfResetTextView()
{
    if (!m_textView)
        return;
    pfAddFreeTextAnnotation();
    // A box whose text was deleted is deleted with it (undoably), instead of lingering unseen.
    const PDFAnnotation emptied =
        !m_edited.isNull() && m_textView->toPlainText().isEmpty() ? m_edited : PDFAnnotation();
    const PDFPage page = m_page;
    pfRemoveTextView();
    if (!emptied.isNull() && !page.isNull()) {
        m_view->pfRemoveShapeAnnotation(emptied, page.index());
        m_view->setPfHasChangePDF(true);
    }
    m_view->pfChangeOrAddAnnotation();
}

void PFFreeTextEditor::pfCheckHasUndoTextView()
{
    if (!m_textView)
        return;
    pfAddFreeTextAnnotation();
    pfRemoveTextView();
}

QString PFFreeTextEditor::pfGetFontTitle() const
{
    if (m_textView)
        return m_view->pfFontName();
    const PDFAnnotation box = selectedFreeText();
    if (!box.isNull()) {
        const PFFontLabel::Parts parts = PFFontLabel::parse(box.userName());
        return parts.count > 1 && !parts.fontName.isEmpty() ? parts.fontName : box.fontName();
    }
    return QStringLiteral("Helvetica");
}

int PFFreeTextEditor::pfGetFontSize() const
{
    if (m_textView)
        return m_view->currentFontSize();
    const PDFAnnotation box = selectedFreeText();
    if (!box.isNull())
        return PFFontLabel::parse(box.userName()).size.value_or(int(box.fontSize()));
    return 20;
}

PDFTextAlignment PFFreeTextEditor::pfGetFontAlignment() const
{
    if (m_textView)
        return alignment();
    const PDFAnnotation box = selectedFreeText();
    return box.isNull() ? PDFTextAlignment::Left : box.alignment();
}

void PFFreeTextEditor::pfChangeFontTitle(const QString &name, int size, PDFTextAlignment alignment,
                                         int which)
{
    m_view->setPfHasChangePDF(true);
    if (m_textView) {
        if (which == 3) {
            applyAlignment(alignment);
        } else if (which == 2) {
            m_view->setCurrentFontSize(size);
            PFManager::sharedManager().pfSetFillFontSize(size);
            applyFont();
        } else if (which == 1) {
            m_view->setPfFontName(PFFreeTextAppearance::usableFontName(name));
            applyFont();
        }
        return;
    }
    PDFAnnotation box = selectedFreeText();
    if (box.isNull())
        return;
    const PFFontLabel::Parts label = PFFontLabel::parse(box.userName());
    if (which == 3) {
        box.setAlignment(alignment);
    } else if (which == 2) {
        m_view->setCurrentFontSize(size);
        box.setFont(box.fontName(), size);
        if (label.count == 2)
            box.setUserName(PFFontLabel::format(size, label.fontName));
    } else if (which == 1) {
        const QString font = PFFreeTextAppearance::usableFontName(name);
        m_view->setPfFontName(font);
        box.setFont(font, label.size ? double(*label.size) : box.fontSize());
        if (label.count == 2)
            box.setUserName(PFFontLabel::format(label.size.value_or(int(box.fontSize())), font));
    }
    redrawBox(box);
}

void PFFreeTextEditor::redrawBox(PDFAnnotation &box)
{
    PFFreeTextAppearance::apply(box);
    m_view->invalidatePage(box.page());
    m_view->viewport()->update();
}
