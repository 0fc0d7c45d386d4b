#pragma once

#include <QStringList>
#include <QWidget>

class PDFThumbnailView;
class QToolButton;

// The five pages of the side panel (outline, highlights and notes, thumbnails, bookmarks,
// search) under a row of icon tabs. Only the selected page is shown.
class PFSidePanel : public QWidget {
    Q_OBJECT
public:
    enum Page { Outline = 0, Highlights = 1, Thumbnails = 2, Bookmarks = 3, Search = 4, PageCount = 5 };

    explicit PFSidePanel(QWidget *parent = nullptr);

    int selectedTab() const { return m_selected; }
    QToolButton *tab(int index) const { return m_tabs[index]; }
    QWidget *page(int index) const { return m_pages[index]; }
    PDFThumbnailView *thumbnailView() const { return m_thumbnails; }

    // Puts a panel's own page in place of the empty one at `index`; the panel takes it over.
    void pfSetPage(int index, QWidget *page);
    // Shows page s and hides the others; in the light appearance the selected tab gets its
    // white icon and the rest their dark ones.
    void pdSegmentClick(int s);
    // In the dark appearance every tab shows its light icon.
    void pfPanelBKViewColorChange(bool dark);
    bool isDark() const { return m_dark; }

signals:
    void segmentChanged(int s);

private:
    void updateIcons();

    const QStringList segNormalArray{"muLU", "editLB", "thumbLB", "bookMarkLB", "searchLB"};
    const QStringList segSelectArray{"muLUW", "editLW", "thumbLW", "bookMarkLW", "searchLW"};
    QToolButton *m_tabs[PageCount];
    QWidget *m_pages[PageCount];
    PDFThumbnailView *m_thumbnails;
    int m_selected = 0;
    bool m_dark = false;
};
