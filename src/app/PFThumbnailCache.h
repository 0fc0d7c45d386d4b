#pragma once

#include <QFuture>
#include <QString>

class UserDefaults;

// The first-page pictures of recently opened files, shown by the start window. The store maps
// "<file URL>thumb" to a file name stem inside the ThumbImage cache folder.
namespace PFThumbnailCache {

QString thumbKey(const QString &path);
// The cached picture's path for the file, or empty when none is recorded.
QString cachedImagePath(const QString &path, UserDefaults &defaults);
// Called on every successful load: drops a stale picture and writes a fresh one in the
// background. The future is finished at once when there is nothing to write.
QFuture<void> pfRefreshThumbNail(const QString &path, UserDefaults &defaults);
// Renders page 1 at its natural size as a JPEG (quality 20) unless one is already recorded.
void pfSaveThumbImage(const QString &path, UserDefaults &defaults);

} // namespace PFThumbnailCache
