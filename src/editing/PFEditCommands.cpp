#include "PFEditCommands.h"

#include "PFAnnotationCommands.h"
#include "PFBasePDFView.h"
#include "PFPageCommands.h"

#include "platform/pdf/PDFSelection.h"
#include "platform/view/PDFThumbnailView.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

PFEditCommands::PFEditCommands(PFBasePDFView *view, PDFThumbnailView *thumbnails, QObject *parent)
    : QObject(parent), m_view(view), m_thumbnails(thumbnails)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &PFEditCommands::stateChanged);
    connect(view, &PDFView::selectionChanged, this, &PFEditCommands::stateChanged);
    connect(view, &PDFView::documentChanged, this, &PFEditCommands::stateChanged);
    connect(view, &PFBasePDFView::pfDragAnnotationChanged, this, &PFEditCommands::stateChanged);
    connect(view, &PFBasePDFView::pfCopyAnnotationChanged, this, &PFEditCommands::stateChanged);
    connect(view->pfPageCommands(), &PFPageCommands::pfCutPageChanged, this, &PFEditCommands::stateChanged);
    if (thumbnails)
        connect(thumbnails, &PDFThumbnailView::selectionChanged, this, &PFEditCommands::stateChanged);
}

void PFEditCommands::focusChanged(QWidget *now)
{
    // Opening a menu does not move the keyboard away from what the command is meant for.
    if (!now || qobject_cast<QMenu *>(now) || qobject_cast<QMenuBar *>(now) || now->window() != m_view->window())
        return;
    m_focus = now;
    if (m_watchedField)
        disconnect(m_watchedField, nullptr, this, nullptr);
    m_watchedField = nullptr;
    if (auto *line = qobject_cast<QLineEdit *>(now)) {
        connect(line, &QLineEdit::selectionChanged, this, &PFEditCommands::stateChanged);
        connect(line, &QLineEdit::textChanged, this, &PFEditCommands::stateChanged);
        m_watchedField = line;
    } else if (auto *text = qobject_cast<QTextEdit *>(now)) {
        connect(text, &QTextEdit::selectionChanged, this, &PFEditCommands::stateChanged);
        connect(text, &QTextEdit::textChanged, this, &PFEditCommands::stateChanged);
        m_watchedField = text;
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(now)) {
        connect(plain, &QPlainTextEdit::selectionChanged, this, &PFEditCommands::stateChanged);
        connect(plain, &QPlainTextEdit::textChanged, this, &PFEditCommands::stateChanged);
        m_watchedField = plain;
    }
    emit stateChanged();
}

PFEditCommands::Target PFEditCommands::target() const
{
    QWidget *focus = m_focus;
    if (focus && focus->isVisible()) {
        if (qobject_cast<QLineEdit *>(focus) || qobject_cast<QTextEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus))
            return Target::TextField;
        if (m_thumbnails && (focus == m_thumbnails || m_thumbnails->isAncestorOf(focus)))
            return Target::Thumbnails;
    }
    return Target::PageView;
}

bool PFEditCommands::pfCanPerform(Command command) const
{
    if (m_view->document().isNull())
        return target() == Target::TextField && canPerformOnField(command);
    switch (target()) {
    case Target::TextField: return canPerformOnField(command);
    case Target::Thumbnails: return canPerformOnPages(command);
    case Target::PageView: return canPerformOnView(command);
    }
    return false;
}

void PFEditCommands::pfPerform(Command command)
{
    if (!pfCanPerform(command))
        return;
    switch (target()) {
    case Target::TextField: performOnField(command); break;
    case Target::Thumbnails: performOnPages(command); break;
    case Target::PageView: performOnView(command); break;
    }
    emit stateChanged();
}

// Text fields --------------------------------------------------------------------------------------

bool PFEditCommands::canPerformOnField(Command command) const
{
    const bool clipboardText = QApplication::clipboard()->mimeData() && QApplication::clipboard()->mimeData()->hasText();
    if (auto *line = qobject_cast<QLineEdit *>(m_focus.data())) {
        const bool writable = !line->isReadOnly();
        switch (command) {
        case Cut: return writable && line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
        case Copy: return line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
        case Paste: return writable && clipboardText;
        case Delete: return writable && line->hasSelectedText();
        case SelectAll: return !line->text().isEmpty();
        }
    }
    bool selected = false, writable = false, empty = true;
    if (auto *text = qobject_cast<QTextEdit *>(m_focus.data())) {
        selected = text->textCursor().hasSelection();
        writable = !text->isReadOnly();
        empty = text->document()->isEmpty();
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(m_focus.data())) {
        selected = plain->textCursor().hasSelection();
        writable = !plain->isReadOnly();
        empty = plain->document()->isEmpty();
    } else {
        return false;
    }
    switch (command) {
    case Cut: return writable && selected;
    case Copy: return selected;
    case Paste: return writable && clipboardText;
    case Delete: return writable && selected;
    case SelectAll: return !empty;
    }
    return false;
}

void PFEditCommands::performOnField(Command command)
{
    QWidget *field = m_focus;
    if (auto *line = qobject_cast<QLineEdit *>(field)) {
        switch (command) {
        case Cut: line->cut(); break;
        case Copy: line->copy(); break;
        case Paste: line->paste(); break;
        case Delete: line->del(); break;
        case SelectAll: line->selectAll(); break;
        }
        return;
    }
    const char *slot[] = {"cut", "copy", "paste", nullptr, "selectAll"};
    if (command == Delete) {
        if (auto *text = qobject_cast<QTextEdit *>(field))
            text->textCursor().removeSelectedText();
        else if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
            plain->textCursor().removeSelectedText();
        return;
    }
    QMetaObject::invokeMethod(field, slot[command]);
}

// Thumbnails ---------------------------------------------------------------------------------------

bool PFEditCommands::canPerformOnPages(Command command) const
{
    const bool selected = !m_thumbnails->selectedPages().isEmpty();
    switch (command) {
    case Cut:
    case Copy:
    case Delete: return selected;
    case Paste: return !m_view->pfPageCommands()->pfCutPage().isEmpty();
    case SelectAll: return m_view->document().pageCount() > 0;
    }
    return false;
}

void PFEditCommands::performOnPages(Command command)
{
    const QVector<PDFPage> pages = m_thumbnails->selectedPages();
    PFPageCommands *commands = m_view->pfPageCommands();
    switch (command) {
    case Cut: commands->pfCutPages(pages); break;
    case Copy: commands->pfCopyPages(pages); break;
    case Paste: commands->pfPastePages(pages.isEmpty() ? m_view->document().pageCount() : pages.first().index()); break;
    case Delete: commands->pfDeletePages(pages); break;
    case SelectAll: m_thumbnails->selectAll(); break;
    }
}

// The page view ------------------------------------------------------------------------------------

bool PFEditCommands::selectionIsCopyable() const
{
    // The program's own stamps are drawn from records of their own; they do not travel.
    const PDFAnnotation selection = m_view->dragAnnotation();
    return !selection.isNull() && selection.type() != QLatin1String("Stamp");
}

bool PFEditCommands::canPerformOnView(Command command) const
{
    switch (command) {
    case Cut: return selectionIsCopyable();
    case Copy: return selectionIsCopyable() || !m_view->currentSelection().isEmpty();
    case Paste: return !m_view->pfCopyAnnotation().isNull() && !m_view->currentPage().isNull();
    case Delete: return !m_view->dragAnnotation().isNull();
    case SelectAll: return !m_view->currentPage().isNull();
    }
    return false;
}

void PFEditCommands::performOnView(Command command)
{
    PFAnnotationCommands *commands = m_view->pfAnnotationCommands();
    switch (command) {
    case Cut: commands->pfCutMenuClick(); break;
    case Copy:
        // The selected annotation goes before selected text: it is what the user last picked.
        if (selectionIsCopyable())
            commands->pfCopyMenuClick();
        else
            QApplication::clipboard()->setText(m_view->currentSelection().string());
        break;
    case Paste: commands->pfPasteMenuClick(); break;
    case Delete:
        commands->pfDeleteMenuClick();
        m_view->pfResetSameStatus();
        break;
    case SelectAll: {
        const PDFPage page = m_view->currentPage();
        m_view->setCurrentSelection(page.selectionForRect(page.bounds()));
        break;
    }
    }
}
