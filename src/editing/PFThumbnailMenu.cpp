#include "PFThumbnailMenu.h"

#include "PFBasePDFView.h"
#include "PFFreeTextEditor.h"
#include "PFPageCommands.h"

#include "platform/store/Localization.h"
#include "platform/view/PDFThumbnailView.h"

#include <QMenu>

namespace {

PFThumbnailMenu::Presenter &presenter()
{
    static PFThumbnailMenu::Presenter instance;
    return instance;
}

} // namespace

void PFThumbnailMenu::setPresenter(Presenter presenter)
{
    ::presenter() = std::move(presenter);
}

PFThumbnailMenu::PFThumbnailMenu(PFBasePDFView *view, PDFThumbnailView *thumbnails)
    : QObject(thumbnails), m_view(view), m_thumbnails(thumbnails)
{
    connect(thumbnails, &PDFThumbnailView::contextMenuRequested, this, &PFThumbnailMenu::pfThumbnailViewClickPosition);
    connect(thumbnails, &PDFThumbnailView::pagesDropped, this, [this](const QVector<PDFPage> &pages, int gap) {
        m_view->pfPageCommands()->pfMovePages(pages, gap);
    });
    connect(view->pfPageCommands(), &PFPageCommands::pagesChanged, thumbnails, &PDFThumbnailView::setSelectedPages);
}

std::unique_ptr<QMenu> PFThumbnailMenu::menu()
{
    auto menu = std::make_unique<QMenu>(m_thumbnails);
    auto add = [&](const char *key, Tag tag, bool enabled) {
        QAction *action = menu->addAction(pfLocalized(key));
        action->setData(int(tag));
        action->setEnabled(enabled);
    };
    add("剪切", Cut, true);
    add("复制", Copy, true);
    add("粘贴", Paste, !m_view->pfPageCommands()->pfCutPage().isEmpty());
    menu->addSeparator();
    add("旋转", Rotate, true);
    add("提取", Extract, true);
    menu->addSeparator();
    add("删除", Delete, true);
    return menu;
}

void PFThumbnailMenu::pfThumbnailViewClickPosition(QPoint globalPos)
{
    std::unique_ptr<QMenu> shown = menu();
    QAction *chosen = presenter() ? presenter()(*shown, globalPos) : shown->exec(globalPos);
    if (chosen && chosen->isEnabled())
        pfEditThumbnailMenuClick(chosen->data().toInt());
}

void PFThumbnailMenu::pfEditThumbnailMenuClick(int tag)
{
    const QVector<PDFPage> pages = m_thumbnails->selectedPages();
    if (pages.isEmpty())
        return;
    PFPageCommands *commands = m_view->pfPageCommands();
    switch (tag) {
    case Cut: commands->pfCutPages(pages); break;
    case Copy: commands->pfCopyPages(pages); break;
    // Before the first selected page, so the pasted pages take its place.
    case Paste: commands->pfPastePages(pages.first().index()); break;
    case Rotate: commands->pfRotatePages(pages); break;
    case Extract:
        // Text still being typed into a box belongs to the page that is written out.
        m_view->pfTextEditor()->pfCheckHasUndoTextView();
        if (pfExportThumbPage)
            pfExportThumbPage(pages);
        break;
    case Delete: commands->pfDeletePages(pages); break;
    default: break;
    }
}
