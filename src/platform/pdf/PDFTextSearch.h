#pragma once

#include "PDFDocument.h"
#include "PDFSelection.h"

#include <QObject>
#include <QThreadPool>
#include <memory>

struct PDFSearchJob;

// Case-insensitive text search that runs on worker threads and reports every match on the
// thread that owns this object, in page order, as it is found.
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

signals:
    void matchFound(const PDFSelection &match);
    void finished(bool cancelled);

private:
    void deliver(quint64 generation, const QVector<PDFSelection> &matches, bool last);

    PDFDocument m_document;
    QThreadPool m_pool;
    std::shared_ptr<PDFSearchJob> m_job;
    quint64 m_generation = 0; // matches of an older search are dropped
    bool m_running = false;
};
