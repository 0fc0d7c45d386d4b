#pragma once

#include "PDFTileCache.h"

#include "platform/pdf/PDFPage.h"
#include "platform/system/ThreadPriority.h"

#include <QHash>
#include <QObject>
#include <QRegion>
#include <QSet>
#include <QThreadPool>
#include <memory>

class PDFDisplayListCache;
class PDFRenderCookie;
class QPainter;

// Draws pages from tiles rendered on worker threads; the calling (GUI) thread only paints
// images. A missing tile is stood in for by any cached tile of the page (stale or of another
// scale) until it arrives. Renders no longer asked for in a frame are cancelled.
class PDFTileRenderer : public QObject {
    Q_OBJECT
public:
    static constexpr int kTileSize = 256; // device pixels
    // The tile cache holds this many screenfuls of the widget it draws, and at least the default.
    static constexpr qint64 kDefaultCacheBytes = 32ll * 1024 * 1024;
    static constexpr int kCachedScreens = 6;

    // `urgency`: how the workers rank against the program's other background work.
    explicit PDFTileRenderer(ThreadPriority::Urgency urgency, QObject *parent = nullptr);
    ~PDFTileRenderer() override;

    // Frames bracket the paint calls of one paint event.
    void beginFrame();
    void endFrame();
    // Paints the part `exposed` of page `index`, laid out at `pageRect` (logical pixels) at
    // `scale` logical pixels per point, rendered at `dpr` device pixels per logical pixel.
    void paintPage(QPainter &painter, const PDFPage &page, int index, const QRect &pageRect,
                   const QRect &exposed, double scale, double dpr);

    // The page's look changed: its tiles become stale and are rendered again.
    void invalidatePage(int index);
    // Another document or page list: forget everything.
    void reset();

    PDFTileCache &cache() { return m_cache; }
    // Sizes the tile cache for a widget of that many device pixels.
    void fitCacheTo(QSize devicePixels);
    int renderedTiles() const { return m_rendered; }
    int pendingTiles() const { return int(m_pending.size()); }

signals:
    void tileReady(int page);
    // The last tile asked for has arrived: nothing is rendering now.
    void renderingIdle();

private:
    void request(const PDFPage &page, const PDFTileKey &key, const QRect &clip);
    // Covers the `missing` part (logical pixels) of page `index` with its cached tiles of other
    // scales or older looks, until the fresh tiles arrive.
    void paintStandIns(QPainter &painter, int index, quint32 generation, double scale, double dpr,
                       const QRect &pageRect, QRegion missing);
    void finished(const PDFTileKey &key, const std::shared_ptr<PDFRenderCookie> &cookie,
                  const QImage &image);
    quint32 generation(int index) const { return m_generations.value(index); }

    const ThreadPriority::Urgency m_urgency;
    QThreadPool m_pool;
    PDFTileCache m_cache{kDefaultCacheBytes};
    std::shared_ptr<PDFDisplayListCache> m_lists;
    QHash<PDFTileKey, std::shared_ptr<PDFRenderCookie>> m_pending;
    QSet<PDFTileKey> m_wanted; // asked for in the current frame
    QHash<int, quint32> m_generations;
    int m_rendered = 0;
    int m_firstPainted = -1; // pages painted in the current frame
    int m_lastPainted = -1;
};
