#pragma once

#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

class PDFThumbnailView;
class PFBasePDFView;
class QAction;
class QMenu;

// The page operations of the thumbnail list: its secondary-click menu (cut, copy, paste,
// rotate, extract, delete) acting on the selected pages, and dropping dragged thumbnails
// into a new place. The work is the view's page commands; this class only turns the list's
// requests into them and keeps the list's selection on the pages a command leaves.
class PFThumbnailMenu : public QObject {
    Q_OBJECT
public:
    enum Tag { Cut = 1, Copy = 2, Paste = 3, Rotate = 4, Extract = 5, Delete = 6 };

    // Shows the menu at a global point and answers the chosen action, or null.
    using Presenter = std::function<QAction *(QMenu &menu, QPoint globalPos)>;
    // Replaces the presenter (tests); an empty one restores the real popup.
    static void setPresenter(Presenter presenter);

    PFThumbnailMenu(PFBasePDFView *view, PDFThumbnailView *thumbnails);

    // Writes the given pages out through the single-page export; set by the window.
    std::function<void(const QVector<PDFPage> &pages)> pfExportThumbPage;

    // Builds and shows the menu at a global point, then runs the chosen item.
    void pfThumbnailViewClickPosition(QPoint globalPos);
    std::unique_ptr<QMenu> menu();
    void pfEditThumbnailMenuClick(int tag);

private:
    PFBasePDFView *m_view;
    PDFThumbnailView *m_thumbnails;
};
