#pragma once

#include "PDFDocument.h"
#include "PDFSelection.h"

#include <QFuture>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <memory>

// Case-insensitive text search that runs on a worker thread and reports every match on the
// thread that owns this object, page by page, as it is found.
class PDFTextSearch : public QObject {
    Q_OBJECT
public:
    explicit PDFTextSearch(const PDFDocument &document, QObject *parent = nullptr);
    ~PDFTextSearch() override;

    // Starts a new search, cancelling any running one.
    void start(const QString &text);
    void cancel();
    bool isRunning() const;

signals:
    void matchFound(const PDFSelection &match);
    void finished(bool cancelled);

private:
    PDFDocument m_document;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QFuture<void> m_done;
    quint64 m_generation = 0; // matches of an older search are dropped
    bool m_running = false;
};
