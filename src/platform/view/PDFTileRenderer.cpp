#include "PDFTileRenderer.h"

#include "PDFDisplayListCache.h"

#include "platform/pdf/PDFDisplayList.h"
#include "platform/system/ThreadPriority.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

PDFTileRenderer::PDFTileRenderer(ThreadPriority::Urgency urgency, QObject *parent)
    : QObject(parent), m_urgency(urgency), m_lists(std::make_shared<PDFDisplayListCache>())
{
    m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
}

PDFTileRenderer::~PDFTileRenderer()
{
    for (const auto &cookie : std::as_const(m_pending))
        cookie->cancel();
    m_pool.clear();
    m_pool.waitForDone();
}

void PDFTileRenderer::beginFrame()
{
    m_wanted.clear();
    m_firstPainted = -1;
    m_lastPainted = -1;
}

void PDFTileRenderer::endFrame()
{
    if (m_firstPainted >= 0) {
        m_cache.setShownPages(m_firstPainted, m_lastPainted);
        m_lists->setShownPages(m_firstPainted, m_lastPainted);
    }
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (!m_wanted.contains(it.key())) {
            it.value()->cancel();
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
}

void PDFTileRenderer::paintPage(QPainter &painter, const PDFPage &page, int index,
                                const QRect &pageRect, const QRect &exposed, double scale,
                                double dpr)
{
    const QRect visible = exposed & pageRect;
    if (visible.isEmpty() || page.isNull())
        return;
    m_firstPainted = m_firstPainted < 0 ? index : std::min(m_firstPainted, index);
    m_lastPainted = std::max(m_lastPainted, index);

    const double deviceScale = scale * dpr;
    const QSize pagePixels(int(std::ceil(pageRect.width() * dpr)), int(std::ceil(pageRect.height() * dpr)));
    const QRectF local = QRectF(visible.translated(-pageRect.topLeft()));
    const int c0 = std::max(0, int(local.left() * dpr) / kTileSize);
    const int r0 = std::max(0, int(local.top() * dpr) / kTileSize);
    const int c1 = std::min((pagePixels.width() - 1) / kTileSize, int(std::ceil(local.right() * dpr)) / kTileSize);
    const int r1 = std::min((pagePixels.height() - 1) / kTileSize, int(std::ceil(local.bottom() * dpr)) / kTileSize);
    const quint32 gen = generation(index);

    struct Placed {
        QRectF target;
        QImage image;
    };
    QVector<Placed> fresh;
    QRegion missing; // logical pixels
    for (int row = r0; row <= r1; ++row) {
        for (int column = c0; column <= c1; ++column) {
            const PDFTileKey key{index, gen, deviceScale, column, row};
            const QRect clip = QRect(column * kTileSize, row * kTileSize, kTileSize, kTileSize) &
                               QRect(QPoint(0, 0), pagePixels);
            const QRectF target = QRectF(QPointF(clip.topLeft()) / dpr, QSizeF(clip.size()) / dpr).translated(pageRect.topLeft());
            const QImage image = m_cache.find(key);
            if (image.isNull()) {
                missing += target.toAlignedRect() & visible;
                request(page, key, clip);
            } else {
                fresh.append({target, image});
            }
        }
    }

    painter.save();
    painter.setClipRect(visible, Qt::IntersectClip);
    if (!missing.isEmpty()) {
        // Blank paper where nothing stands in; fresh tiles are opaque and cover the rest.
        for (const QRect &rect : missing)
            painter.fillRect(rect, Qt::white);
        paintStandIns(painter, index, gen, scale, dpr, pageRect, missing);
    }
    for (const Placed &tile : std::as_const(fresh))
        painter.drawImage(tile.target, tile.image);
    painter.restore();
}

void PDFTileRenderer::paintStandIns(QPainter &painter, int index, quint32 generation, double scale, double dpr,
                                    const QRect &pageRect, QRegion missing)
{
    const double deviceScale = scale * dpr;
    // The page's other tiles, best first: the newest look, then the scale nearest the one shown.
    auto standIns = m_cache.tilesOfPage(index);
    standIns.removeIf([&](const auto &tile) {
        return tile.first.generation == generation && tile.first.scale == deviceScale;
    });
    const auto distance = [deviceScale](double scale) { return std::abs(std::log(scale / deviceScale)); };
    std::stable_sort(standIns.begin(), standIns.end(), [&](const auto &a, const auto &b) {
        if (a.first.generation != b.first.generation)
            return a.first.generation > b.first.generation;
        return distance(a.first.scale) < distance(b.first.scale);
    });
    // Only those that show something a better one does not: a screenful of stand-ins at every
    // scale the page was ever drawn at would be scaled one over the other on each frame.
    QVector<std::pair<QRectF, QImage>> chosen;
    for (const auto &[key, image] : std::as_const(standIns)) {
        if (missing.isEmpty())
            break;
        const double factor = scale / key.scale; // tile pixels to logical pixels
        const QRectF target(pageRect.left() + key.column * kTileSize * factor,
                            pageRect.top() + key.row * kTileSize * factor,
                            image.width() * factor, image.height() * factor);
        // Measured within what is missing, so that no coordinate leaves the int range.
        const QRectF part = target & QRectF(missing.boundingRect());
        if (part.isEmpty() || !missing.intersects(part.toAlignedRect()))
            continue;
        chosen.append({target, image});
        // Pixels the tile covers only in part stay missing for the next one.
        const QRect whole(QPoint(int(std::ceil(part.left())), int(std::ceil(part.top()))),
                          QPoint(int(std::floor(part.right())) - 1, int(std::floor(part.bottom())) - 1));
        missing -= whole;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The worst first, so that the best ends up on top.
    for (auto it = chosen.crbegin(); it != chosen.crend(); ++it)
        painter.drawImage(it->first, it->second);
}

void PDFTileRenderer::request(const PDFPage &page, const PDFTileKey &key, const QRect &clip)
{
    m_wanted.insert(key);
    if (m_pending.contains(key))
        return;
    auto cookie = std::make_shared<PDFRenderCookie>();
    m_pending.insert(key, cookie);
    m_pool.start([this, lists = m_lists, page, key, clip, cookie, urgency = m_urgency] {
        ThreadPriority::lowerForBackgroundWork(urgency);
        QImage image;
        if (!cookie->isCancelled()) {
            if (auto list = lists->get(page, key.page, key.generation))
                image = list->render(key.scale, clip, cookie.get());
        }
        QMetaObject::invokeMethod(this, [this, key, cookie, image] { finished(key, cookie, image); },
                                  Qt::QueuedConnection);
    });
}

void PDFTileRenderer::finished(const PDFTileKey &key, const std::shared_ptr<PDFRenderCookie> &cookie,
                               const QImage &image)
{
    const auto it = m_pending.constFind(key);
    if (it == m_pending.constEnd() || it.value() != cookie)
        return; // cancelled or superseded
    m_pending.erase(it);
    if (cookie->isCancelled() || key.generation != generation(key.page))
        return;
    // A page that cannot be rendered shows blank rather than being asked for again and again.
    QImage tile = image;
    if (tile.isNull()) {
        tile = QImage(1, 1, QImage::Format_RGB32);
        tile.fill(Qt::white);
    }
    m_cache.insert(key, tile);
    ++m_rendered;
    emit tileReady(key.page);
    if (m_pending.isEmpty())
        emit renderingIdle();
}

void PDFTileRenderer::fitCacheTo(QSize devicePixels)
{
    const qint64 screen = qint64(std::max(devicePixels.width(), 0)) * std::max(devicePixels.height(), 0) * 4;
    m_cache.setCapacity(std::max(kDefaultCacheBytes, kCachedScreens * screen));
}

void PDFTileRenderer::invalidatePage(int index)
{
    ++m_generations[index];
    m_lists->remove(index);
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (it.key().page == index) {
            it.value()->cancel();
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
}

void PDFTileRenderer::reset()
{
    for (const auto &cookie : std::as_const(m_pending))
        cookie->cancel();
    m_pending.clear();
    m_cache.clear();
    // A fresh list cache: workers still running for the old pages fill the old one.
    m_lists = std::make_shared<PDFDisplayListCache>();
    m_generations.clear();
}
