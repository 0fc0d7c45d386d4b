#pragma once

#include <QList>
#include <QObject>

class Document;
class UserDefaults;

// Keeps the open documents: one window per file, and start windows without a file.
class PFDocumentController : public QObject {
    Q_OBJECT
public:
    explicit PFDocumentController(UserDefaults &defaults, QObject *parent = nullptr);

    const QList<Document *> &documents() const { return m_documents; }
    Document *documentForURL(const QString &path) const;
    // Opens the file in a window of its own, or brings forward the window that already shows it
    // (*alreadyOpen then true). A file that cannot be shown is reported and gets no window: null.
    Document *openDocument(const QString &path, bool display, bool *alreadyOpen = nullptr);
    // A new start window.
    Document *openUntitledDocument(bool display = true);

signals:
    void documentAdded(Document *document);
    void documentRemoved(Document *document);

private:
    Document *add(Document *document);

    UserDefaults &m_defaults;
    QList<Document *> m_documents;
};
