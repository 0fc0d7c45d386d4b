#include "PFDocumentController.h"

#include "Document.h"

#include <QFileInfo>

PFDocumentController::PFDocumentController(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults)
{
}

Document *PFDocumentController::documentForURL(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (Document *document : m_documents)
        if (!document->fileURL().isEmpty() && document->fileURL() == absolute)
            return document;
    return nullptr;
}

Document *PFDocumentController::openDocument(const QString &path, bool display, bool *alreadyOpen)
{
    if (Document *open = documentForURL(path)) {
        if (alreadyOpen)
            *alreadyOpen = true;
        if (display)
            open->showWindows();
        return open;
    }
    if (alreadyOpen)
        *alreadyOpen = false;
    auto *document = new Document(m_defaults, this);
    document->readFromURL(path);
    // A file that cannot be shown has been reported; it gets no window of its own.
    if (!document->makeWindowControllers()) {
        delete document;
        return nullptr;
    }
    add(document);
    if (display)
        document->showWindows();
    return document;
}

Document *PFDocumentController::openUntitledDocument(bool display)
{
    auto *document = new Document(m_defaults, this);
    document->makeWindowControllers();
    add(document);
    if (display)
        document->showWindows();
    return document;
}

Document *PFDocumentController::add(Document *document)
{
    m_documents.append(document);
    document->showIfOpen = [this, document](const QString &path) {
        Document *open = documentForURL(path);
        if (!open || open == document)
            return false;
        open->showWindows();
        return true;
    };
    connect(document, &Document::openRequested, this, [this](const QString &path) { openDocument(path, true); });
    connect(document, &Document::closed, this, [this](Document *closed) {
        m_documents.removeAll(closed);
        emit documentRemoved(closed);
        closed->deleteLater();
    });
    emit documentAdded(document);
    return document;
}
