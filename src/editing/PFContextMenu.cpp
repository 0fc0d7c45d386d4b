#include "PFContextMenu.h"

#include "PFAnnotationCommands.h"
#include "PFBasePDFView.h"
#include "PFPageCommands.h"
#include "PFPageMarks.h"
#include "PFPointerMachine.h"

#include "platform/store/Localization.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace {

PFContextMenu::Presenter &presenter()
{
    static PFContextMenu::Presenter instance;
    return instance;
}

} // namespace

void PFContextMenu::setPresenter(Presenter presenter)
{
    ::presenter() = std::move(presenter);
}

PFContextMenu::PFContextMenu(PFBasePDFView *view) : QObject(view), m_view(view) {}

bool PFContextMenu::hasRightMouseClick() const
{
    return m_view->pfPointer()->hasRightMouseClick();
}

bool PFContextMenu::isProgramStamp() const
{
    // The program's own stamp kinds (catalogue, picture, typed signature) all have this subtype;
    // they cannot be carried over the clipboard.
    const PDFAnnotation selection = m_view->dragAnnotation();
    return !selection.isNull() && selection.type() == QLatin1String("Stamp");
}

void PFContextMenu::pfCheckRightMouseClick(QPoint viewPoint)
{
    const PDFPage page = m_view->pageForPoint(viewPoint, true);
    if (page.isNull())
        return;
    m_page = page;
    const QPointF point = m_view->convertPointToPage(viewPoint, page);
    for (const PDFAnnotation &annotation : page.annotations()) {
        if (!annotation.bounds().contains(point))
            continue;
        m_view->pfSelectAnnotation(annotation);
        m_view->setPfCurrentDirect(8);
        m_view->setPfOriginRect(annotation.bounds());
        if (annotation.type() == QLatin1String("FreeText"))
            m_view->setSelectTextCount(m_view->selectTextCount() + 1);
        m_view->pfSelectStatus(annotation);
        break;
    }
    m_view->viewport()->update();
}

std::unique_ptr<QMenu> PFContextMenu::menuForEvent(QPoint viewPoint)
{
    m_view->pfPointer()->setHasRightMouseClick(true);
    const PDFDocument document = m_view->document();
    if (document.isNull() || document.path().isEmpty())
        return nullptr;
    pfCheckRightMouseClick(viewPoint);
    m_view->setRightTapPosition(viewPoint);

    const bool selected = !m_view->dragAnnotation().isNull();
    const bool clipboardAllowed = !isProgramStamp();
    auto menu = std::make_unique<QMenu>(m_view);
    auto add = [&](const char *key, Tag tag, bool enabled) {
        QAction *action = menu->addAction(pfLocalized(key));
        action->setData(int(tag));
        action->setEnabled(enabled);
    };
    add("剪切", Cut, selected && clipboardAllowed);
    add("复制", Copy, selected && clipboardAllowed);
    add("粘贴", Paste, !m_view->pfCopyAnnotation().isNull() && clipboardAllowed);
    add("删除", Delete, selected);
    add("居中", Center, selected);
    menu->addSeparator();
    add("添加书签", AddBookmark, true);
    menu->addSeparator();
    add("复制文字", CopyText, !m_view->currentSelection().isEmpty());
    menu->addSeparator();
    add("插入上一页", InsertBefore, true);
    add("删除本页", DeletePage, document.pageCount() >= 2);
    add("插入下一页", InsertAfter, true);
    return menu;
}

void PFContextMenu::pfOpenMenu(QPoint viewPoint)
{
    std::unique_ptr<QMenu> menu = menuForEvent(viewPoint);
    if (!menu)
        return;
    const QPoint global = m_view->viewport()->mapToGlobal(viewPoint);
    QAction *chosen = presenter() ? presenter()(*menu, global) : menu->exec(global);
    if (chosen && chosen->isEnabled())
        pfmenuItemSubClick(chosen->data().toInt());
}

void PFContextMenu::pfmenuItemSubClick(int tag)
{
    PFAnnotationCommands *commands = m_view->pfAnnotationCommands();
    switch (tag) {
    case Cut: commands->pfCutMenuClick(); break;
    case Copy: commands->pfCopyMenuClick(); break;
    case Paste: commands->pfPasteAnnotation(m_view->rightTapPosition()); break;
    case Delete: commands->pfDeleteItem(m_view->rightTapPosition()); break;
    case Center: commands->pfCenter(); break;
    case AddBookmark: m_view->pfPageMarks()->pfAddPagemark(m_view->rightTapPosition()); break;
    case CopyText:
        if (!m_view->currentSelection().isEmpty())
            QGuiApplication::clipboard()->setText(m_view->currentSelection().string());
        break;
    case InsertBefore: m_view->pfPageCommands()->pfInsertPage(m_page, false); break;
    case InsertAfter: m_view->pfPageCommands()->pfInsertPage(m_page, true); break;
    case DeletePage: m_view->pfPageCommands()->pfDeletePage(m_page); break;
    default: break;
    }
}
