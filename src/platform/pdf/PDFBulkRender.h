#pragma once

#include <QImage>
#include <QString>
#include <QVector>
#include <functional>

// Pages of a file on disk rendered by several workers, each with its own engine instance, so
// that exporting many pages neither contends for one lock nor keeps pages loaded.
namespace PDFBulkRender {

// The most pixels a page's image may have (about 8,000 points square at one pixel per point). A
// larger page is not rendered: its image alone would take hundreds of megabytes. The same number
// bounds the pixels all workers render at once.
constexpr qint64 kMaxPixels = 64'000'000;
// The first of `indices` whose image at `scale` would exceed kMaxPixels; -1 when none does.
int firstOversizedPage(const QString &path, const QVector<int> &indices, double scale);

// Called once per page as soon as it is rendered, possibly from several threads at once. A
// null image means the page could not be rendered. Returning false stops all workers.
using Sink = std::function<bool(int index, const QImage &image)>;

// Renders the pages at `indices` with their annotations at `scale` pixels per point on white.
// False when the file cannot be opened, needs a password, an index is out of range, or the
// sink stopped the work.
bool renderPages(const QString &path, const QVector<int> &indices, double scale, const Sink &sink, int workers = 0);

} // namespace PDFBulkRender
