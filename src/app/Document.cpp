#include "Document.h"

#include "PFModalSeam.h"
#include "PFWindowController.h"
#include "ViewController.h"

#include <QFileInfo>

Document::Document(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_content(std::make_shared<PFContent>())
{
}

Document::~Document()
{
    if (m_window) {
        m_window->shouldClose = nullptr;
        delete m_window;
    }
}

void Document::readFromURL(const QString &path) { m_content->filePath = QFileInfo(path).absoluteFilePath(); }

void Document::readFromData(const QByteArray &data) { m_content->data = data; }

bool Document::makeWindowControllers()
{
    auto *content = new ViewController(m_defaults);
    m_window = new PFWindowController(content);
    m_window->shouldClose = [this] { return canCloseDocument(); };
    connect(m_window, &QObject::destroyed, this, [this] {
        m_closing = true;
        emit closed(this);
    });
    connect(content, &ViewController::closeDocument, this, &Document::close);
    connect(content, &ViewController::closeCancelled, this, &Document::closeCancelled);
    connect(content, &ViewController::openInThisWindowRequested, this, [this](const QString &path) {
        if (!showIfOpen || !showIfOpen(path))
            adopt(path);
    });
    connect(content, &ViewController::openDocumentRequested, this, &Document::openRequested);
    const bool loaded = content->setRepresentedObject(m_content);
    if (!loaded && content->openFailed())
        return false;
    if (!loaded && !m_content->filePath.isEmpty())
        m_content->filePath.clear(); // the window stays a start window
    m_window->updateTitle();
    return true;
}

void Document::showWindows()
{
    if (!m_window)
        return;
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool Document::canCloseDocument()
{
    if (m_closing || !m_window)
        return true;
    ViewController *controller = m_window->contentViewController();
    if (controller->pfShouldSavePDF()) {
        controller->pfShowSavePannel();
        return false;
    }
    m_closing = true;
    return true;
}

void Document::close()
{
    m_closing = true;
    if (m_window)
        m_window->close();
}

bool Document::save()
{
    if (!m_window || m_content->filePath.isEmpty())
        return false;
    return m_window->contentViewController()->pfSavePDFFile(m_content->filePath);
}

bool Document::saveAs()
{
    if (!m_window || m_content->filePath.isEmpty())
        return false;
    const QFileInfo info(m_content->filePath);
    const QString path = PFModalSeam::current().savePDFPath(m_window, info.absolutePath(), info.completeBaseName(), nullptr);
    if (path.isEmpty())
        return false;
    return m_window->contentViewController()->pfSavePDFFile(path);
}

bool Document::adopt(const QString &path)
{
    if (!m_window)
        return false;
    auto content = std::make_shared<PFContent>();
    content->filePath = QFileInfo(path).absoluteFilePath();
    ViewController *controller = m_window->contentViewController();
    if (!controller->setRepresentedObject(content)) {
        controller->setRepresentedObject(m_content); // back to the start view's record
        return false;
    }
    m_content = content;
    m_window->updateTitle();
    return true;
}
