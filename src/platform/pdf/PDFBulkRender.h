#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

// Pages of a file on disk rendered by several workers, each with its own engine instance and its
// own opening of the file, so that exporting many pages neither contends for one lock nor keeps
// pages loaded. The thread that opens the file is one of the workers and renders on that opening.
class PDFBulkRender {
public:
    // The most pixels a page's image may have (about 8,000 points square at one pixel per point). A
    // larger page is not rendered: its image alone would take hundreds of megabytes. The same number
    // bounds the pixels all workers of all renders hold at once.
    static constexpr qint64 kMaxPixels = 64'000'000;

    // Called once per page as soon as it is rendered. The image borrows the pixels of the worker
    // that rendered it, which its next page overwrites: copy() what must outlive the call. A null
    // image means the page could not be rendered. Returning false stops all workers.
    using Sink = std::function<bool(int index, const QImage &image)>;
    // Makes the sink of one worker, on that worker's thread. Each worker calls only its own sink,
    // so a sink may keep scratch state (an encoder's buffers) without locks.
    using SinkMaker = std::function<Sink()>;

    enum class Status { Ready, Unreadable, Encrypted, NoPages };

    // Opens the file for reading on the calling thread, which must be the one that renders.
    explicit PDFBulkRender(const QString &path);
    ~PDFBulkRender();
    PDFBulkRender(const PDFBulkRender &) = delete;
    PDFBulkRender &operator=(const PDFBulkRender &) = delete;

    Status status() const;
    // The pages as every part of the program numbers them; 0 unless Ready.
    int pageCount() const;
    // The first of `indices` whose image at `scale` pixels per point would exceed kMaxPixels; -1
    // when none does.
    int firstOversizedPage(const QVector<int> &indices, double scale) const;
    // Renders the pages at `indices` with their annotations at `scale` pixels per point on white,
    // each page by whichever worker is free next. False when the file is not Ready, an index is out
    // of range, a worker cannot open the file, or a sink stopped the work.
    bool render(const QVector<int> &indices, double scale, const SinkMaker &makeSink, int workers = 0);

private:
    struct Opening;
    QByteArray m_file;
    std::unique_ptr<Opening> m_opening;
};
