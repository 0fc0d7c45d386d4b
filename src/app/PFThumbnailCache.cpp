#include "PFThumbnailCache.h"

#include "settings/PFManager.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/store/UserDefaults.h"
#include "platform/system/BackgroundPool.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {
constexpr double kMaxSide = 1024; // pixels
} // namespace

namespace PFThumbnailCache {

QString thumbKey(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("thumb");
}

QString cachedImagePath(const QString &path, UserDefaults &defaults)
{
    const QString stem = defaults.value(thumbKey(path)).toString();
    return stem.isEmpty() ? QString() : PFManager::pfGetCacheThumbImagePathByID(stem);
}

QFuture<void> pfRefreshThumbNail(const QString &path, UserDefaults &defaults)
{
    const QString key = thumbKey(path);
    if (defaults.contains(key)) {
        const QString file = PFManager::pfGetCacheThumbImagePathByID(defaults.value(key).toString());
        // A recorded key without its file stays as it is; only a picture that could be removed
        // is written again.
        if (!QFile::exists(file) || !QFile::remove(file))
            return QtFuture::makeReadyFuture();
        defaults.removeValue(key);
    }
    return QtConcurrent::run(backgroundPool(), [path, &defaults] { pfSaveThumbImage(path, defaults); });
}

void pfSaveThumbImage(const QString &path, UserDefaults &defaults)
{
    const QString key = thumbKey(path);
    if (defaults.contains(key))
        return;
    const QString stem = PFManager::md5String(key);
    // Only the first page is drawn: the rest of the pages need no check.
    const PDFDocument document = PDFDocument::open(path, PDFPageCheck::Deferred);
    QByteArray bytes;
    if (!document.isNull() && !document.isLocked() && document.pageCount() > 0) {
        // At its natural size, but never larger than a picture the start view could use: a
        // page of forty thousand points would otherwise take gigabytes for one thumbnail.
        const QSizeF size = document.page(0).bounds(PDFDisplayBox::CropBox).size();
        const double longest = std::max(size.width(), size.height());
        const QImage image = document.page(0).render(longest > kMaxSide ? kMaxSide / longest : 1.0);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 20);
    }
    if (!bytes.isEmpty()) {
        QFile file(PFManager::pfGetCacheThumbImagePathByID(stem));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    // Recorded even when the picture could not be made, so a broken file is not retried forever.
    defaults.setValue(key, stem);
}

} // namespace PFThumbnailCache
