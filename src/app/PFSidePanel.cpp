#include "PFSidePanel.h"

#include "platform/store/Localization.h"
#include "platform/view/PDFView.h" // PDFThumbnailView.h needs it complete
#include "platform/view/PDFThumbnailView.h"
#include "widgets/PFTabButton.h"
#include "widgets/PFTabList.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QIcon iconNamed(const QString &name) { return QIcon(QStringLiteral(":/resources/icons/%1.svg").arg(name)); }
} // namespace

PFSidePanel::PFSidePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pfSidePanel"));
    setAutoFillBackground(true);
    const char *tooltips[PageCount] = {"Table of Contents", "Highlights and Notes", "Thumbnails", "Bookmarks", "Search"};
    auto *group = new QButtonGroup(this);
    // The icon row is the panel's tab list; screen readers get it as one.
    auto *tabList = new PFTabList(this);
    tabList->setObjectName(QStringLiteral("pfTabList"));
    tabList->setAccessibleName(pfLocalized("侧边栏"));
    auto *tabRow = new QHBoxLayout(tabList);
    tabRow->setContentsMargins(8, 6, 8, 6);
    tabRow->setSpacing(2);
    for (int i = 0; i < PageCount; ++i) {
        m_tabs[i] = new PFTabButton(tabList);
        m_tabs[i]->setAccessibleName(pfLocalized(tooltips[i]));
        m_tabs[i]->setAutoRaise(true);
        m_tabs[i]->setIconSize(QSize(18, 18));
        m_tabs[i]->setToolTip(pfLocalized(tooltips[i]));
        // The selected tab's bezel is the accent blue, so its white icon stands out.
        m_tabs[i]->setStyleSheet(QStringLiteral("QToolButton { border: none; border-radius: 4px; padding: 3px; }"
                                                "QToolButton:checked { background: rgb(36, 118, 247); }"));
        group->addButton(m_tabs[i], i);
        tabRow->addWidget(m_tabs[i], 1);
    }
    connect(group, &QButtonGroup::idClicked, this, &PFSidePanel::pdSegmentClick);

    m_thumbnails = new PDFThumbnailView(this);
    m_thumbnails->setObjectName(QStringLiteral("pfThumbnail"));
    m_thumbnails->setAccessibleName(pfLocalized(tooltips[Thumbnails]));
    m_pages[Thumbnails] = m_thumbnails;
    // These pages are filled by their own panels; until then they are empty.
    const std::pair<int, const char *> others[] = {{Outline, "pfOutline"}, {Highlights, "pfHighlight"},
                                                   {Bookmarks, "pfPagemark"}, {Search, "pfPageSearch"}};
    for (const auto &[index, name] : others) {
        m_pages[index] = new QWidget(this);
        m_pages[index]->setObjectName(QString::fromLatin1(name));
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabList);
    for (QWidget *page : m_pages) {
        layout->addWidget(page, 1);
        page->hide();
    }
    m_tabs[Outline]->setChecked(true);
    m_pages[Outline]->show();
    updateIcons();
}

void PFSidePanel::pfSetPage(int index, QWidget *page)
{
    if (index < 0 || index >= PageCount || !page)
        return;
    page->setObjectName(m_pages[index]->objectName());
    const bool shown = !m_pages[index]->isHidden();
    delete layout()->replaceWidget(m_pages[index], page);
    page->setVisible(shown);
    delete m_pages[index];
    m_pages[index] = page;
}

void PFSidePanel::pdSegmentClick(int s)
{
    if (s < 0 || s >= PageCount)
        return;
    for (int i = 0; i < PageCount; ++i)
        if (i != s)
            m_pages[i]->hide();
    m_selected = s;
    m_tabs[s]->setChecked(true);
    emit segmentChanged(s);
    m_pages[s]->show();
    if (!m_dark)
        updateIcons();
}

void PFSidePanel::pfPanelBKViewColorChange(bool dark)
{
    m_dark = dark;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, dark ? QColor(40, 40, 40) : QColor(246, 246, 246));
    setPalette(palette);
    m_thumbnails->setBackgroundColor(dark ? QColor::fromRgbF(0.10980392f, 0.12549020f, 0.13725491f) : QColor(Qt::white));
    updateIcons();
}

void PFSidePanel::updateIcons()
{
    for (int i = 0; i < PageCount; ++i)
        m_tabs[i]->setIcon(iconNamed(m_dark || i == m_selected ? segSelectArray[i] : segNormalArray[i]));
}
