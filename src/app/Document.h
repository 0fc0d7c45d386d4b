#pragma once

#include "PFContent.h"
#include "PFWindowController.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class PFWindowController;
class UserDefaults;

// One open PDF file (or none, for a start window) and its one window. Reading only records
// where the file is; the window's controller parses it. All writing goes through the
// controller's save.
class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(UserDefaults &defaults, QObject *parent = nullptr);
    ~Document() override;

    std::shared_ptr<PFContent> content() const { return m_content; }
    QString fileURL() const { return m_content->filePath; }
    PFWindowController *windowController() const { return m_window; }

    void readFromURL(const QString &path);
    void readFromData(const QByteArray &data);
    // Builds the window and loads the content into it. False when the file given cannot be read
    // as a document (the user has been told why); a file whose password was not given leaves the
    // window on the start view.
    bool makeWindowControllers();
    void showWindows();

    // The window asks before closing: a document with changes shows the close prompt and stays
    // open for now; otherwise it closes at once. True when the window may close.
    bool canCloseDocument();
    // Closes the window without asking.
    void close();
    // Save: to the document's own file; nothing without a file.
    bool save();
    // Save As: a copy at a path the user chooses; the window stays on its own file.
    bool saveAs();
    // The start window becomes the document of `path`.
    bool adopt(const QString &path);

    // Answers whether another document already shows the file (and brings it forward).
    std::function<bool(const QString &path)> showIfOpen;

signals:
    // A dropped PDF to open in a window of its own.
    void openRequested(const QString &path);
    void closed(Document *document);
    // The window stayed open after a close request was answered with "cancel".
    void closeCancelled();

private:
    UserDefaults &m_defaults;
    std::shared_ptr<PFContent> m_content;
    QPointer<PFWindowController> m_window;
    bool m_closing = false;
};
