#pragma once

#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QPoint>
#include <memory>
#include <functional>

class PFBasePDFView;
class QAction;
class QMenu;

// The page view's secondary-click menu: it selects what is under the click, offers the
// clipboard, bookmark, text and page commands with their enabling rules, and runs the chosen
// one. The menu is shown through a replaceable presenter so tests choose an item without a
// person.
class PFContextMenu : public QObject {
    Q_OBJECT
public:
    enum Tag { Cut = 1, Copy = 2, Paste = 3, Delete = 4, AddBookmark = 5, InsertBefore = 6,
               DeletePage = 7, InsertAfter = 8, Center = 9, CopyText = 10 };

    // Shows the menu at a global point and answers the chosen action, or null.
    using Presenter = std::function<QAction *(QMenu &menu, QPoint globalPos)>;
    // Replaces the presenter (tests); an empty one restores the real popup.
    static void setPresenter(Presenter presenter);

    explicit PFContextMenu(PFBasePDFView *view);

    // Opens the menu for a secondary click at a viewport point; nothing for a document that has
    // no file.
    void pfOpenMenu(QPoint viewPoint);
    // Builds the menu for the current state; null for a document that has no file.
    std::unique_ptr<QMenu> menuForEvent(QPoint viewPoint);
    // Selects the first annotation under a viewport point, markups included.
    void pfCheckRightMouseClick(QPoint viewPoint);
    void pfmenuItemSubClick(int tag);

    // The menu was opened on the selection (a markup is then drawn outlined); the next press
    // clears it. The flag is the pointer machine's, which every press resets.
    bool hasRightMouseClick() const;
    // The page the menu's commands act on.
    PDFPage pfCurrentPage() const { return m_page; }

private:
    bool isProgramStamp() const;

    PFBasePDFView *m_view;
    PDFPage m_page;
};
