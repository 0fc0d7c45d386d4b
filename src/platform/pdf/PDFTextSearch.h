#pragma once

#include "PDFDocument.h"
#include "PDFSelection.h"

#include <QObject>
#include <QThreadPool>
#include <algorithm>
#include <memory>

struct PDFSearchJob;

// How a match reads, taken while its page was searched, so that a list of matches can show it
// without reading the page again. A line end reads as a space.
struct PDFSearchPreview {
    int pageIndex = -1;
    QString pageLabel;
    QString text;      // the match's own characters
    QString following; // up to the search's context length of characters after the match
};

// Case-insensitive text search that runs on worker threads and reports every match on the
// thread that owns this object, in page order, as it is found: a few milliseconds' worth of
// matches per turn of that thread's event loop.
//
// While the document has no unsaved changes, each worker reads the file on disk with an
// engine instance of its own, so the workers never wait for each other or for the view;
// otherwise one worker searches the open document itself.
class PDFTextSearch : public QObject {
    Q_OBJECT
public:
    explicit PDFTextSearch(const PDFDocument &document, QObject *parent = nullptr);
    ~PDFTextSearch() override;

    // Starts a new search, cancelling any running one.
    void start(const QString &text);
    void cancel();
    bool isRunning() const;
    // Characters after each match its preview carries; 0 at first. Taken by the next start().
    void setContextLength(int characters) { m_contextLength = std::max(characters, 0); }

signals:
    void matchFound(const PDFSelection &match, const PDFSearchPreview &preview);
    void finished(bool cancelled);

private:
    struct Found {
        PDFSelection match;
        PDFSearchPreview preview;
    };
    friend struct PDFSearchJob;
    // Matches handed on to the receivers per turn of the event loop, in milliseconds.
    static constexpr int kHandOnSliceMs = 4;
    // Queues a block of matches the workers reported in page order, and hands them on.
    void deliver(quint64 generation, const QVector<Found> &found, bool last);
    void handOn();

    PDFDocument m_document;
    QThreadPool m_pool;
    std::shared_ptr<PDFSearchJob> m_job;
    quint64 m_generation = 0; // matches of an older search are dropped
    bool m_running = false;
    int m_contextLength = 0;
    QList<Found> m_undelivered; // reported by the workers, not handed on yet
    bool m_allReported = false;
    bool m_handOnScheduled = false;
};
