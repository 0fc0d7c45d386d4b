#include "PFRecentViewController.h"

#include "PFRecentDocuments.h"
#include "PFThumbnailCache.h"
#include "platform/store/Localization.h"
#include "platform/pdf/PDFProbe.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kItemWidth = 140;
constexpr int kItemHeight = 224;

QStringList localPaths(const QMimeData *mime)
{
    QStringList paths;
    if (mime)
        for (const QUrl &url : mime->urls())
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
    return paths;
}

// The picture scaled into the cell, loaded afresh each time (the cache file may have changed).
QIcon thumbnailIcon(const QString &path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(size.scaled(kItemWidth - 10, kItemHeight - 44, Qt::KeepAspectRatio));
    return QIcon(QPixmap::fromImage(reader.read()));
}
} // namespace

PFRecentViewController::PFRecentViewController(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_defaults(defaults)
{
    setObjectName(QStringLiteral("pfRecentOpen"));
    setAutoFillBackground(true);
    setAcceptDrops(true);
    m_grid = new QListWidget(this);
    m_grid->setViewMode(QListView::IconMode);
    m_grid->setResizeMode(QListView::Adjust);
    m_grid->setMovement(QListView::Static);
    m_grid->setIconSize(QSize(kItemWidth - 10, kItemHeight - 44));
    m_grid->setGridSize(QSize(kItemWidth + 40, kItemHeight + 20));
    m_grid->setSpacing(0);
    m_grid->setWordWrap(true);
    m_grid->setFrameShape(QFrame::NoFrame);
    m_grid->setAcceptDrops(false);
    connect(m_grid, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = m_grid->row(item);
        m_grid->clearSelection();
        if (row >= 0 && row < m_items.size() && pfDoneEndEdit)
            pfDoneEndEdit(m_items[row].pfPDFURL);
    });
    m_hint = new QLabel(pfLocalized("拖拽PDFL"), this);
    m_hint->setAlignment(Qt::AlignCenter);
    QFont font = m_hint->font();
    font.setPixelSize(18);
    m_hint->setFont(font);
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *layout = new QVBoxLayout(this);
    // Insets of the grid: 20 above and below, 40 at the sides (the cells add 20 of their own).
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(m_hint);
    layout->addWidget(m_grid, 1);
    reload();
}

void PFRecentViewController::reload()
{
    m_items.clear();
    m_grid->clear();
    for (const QString &path : PFRecentDocuments::paths(m_defaults)) {
        const QString image = PFThumbnailCache::cachedImagePath(path, m_defaults);
        if (image.isEmpty())
            continue;
        const PFThumbModel model{path, image, QFileInfo(path).completeBaseName()};
        m_items.append(model);
        auto *item = new QListWidgetItem(thumbnailIcon(image), model.pfTitle, m_grid);
        item->setSizeHint(QSize(kItemWidth, kItemHeight));
        item->setToolTip(path);
    }
    m_hint->setVisible(m_items.isEmpty());
    m_grid->setVisible(!m_items.isEmpty());
}

bool PFRecentViewController::pfDragFileURL(const QStringList &paths)
{
    // A PDF is known by its content, whatever its name; a broken file named .pdf is taken too, to
    // be reported.
    if (paths.size() != 1
        || (QFileInfo(paths.constFirst()).suffix().toLower() != QLatin1String("pdf")
            && !PDFProbe::looksLikePDF(paths.constFirst())))
        return false;
    m_hint->hide();
    if (pfDoneEndEdit)
        pfDoneEndEdit(paths.constFirst());
    return true;
}

void PFRecentViewController::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PFRecentViewController::dropEvent(QDropEvent *event)
{
    if (pfDragFileURL(localPaths(event->mimeData())))
        event->acceptProposedAction();
    else
        event->ignore();
}
