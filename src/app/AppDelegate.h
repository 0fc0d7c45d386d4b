#pragma once

#include "PFWindowController.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class Document;
class PersistentContainer;
class PFDocumentController;
class PFWindowController;
class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QSystemTrayIcon;
class UserDefaults;
class ViewController;

// The application's menus, tray icon and command routing. One set of actions serves every
// window's menu bar; a command goes to the content controller of the main (active) window.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // `store` opens on first use when not given.
    explicit AppDelegate(UserDefaults &defaults, std::function<PersistentContainer &()> store = {},
                         QObject *parent = nullptr);
    ~AppDelegate() override;

    PFDocumentController *documentController() const { return m_documents; }
    // Opens each file in a window of its own; with none, one start window.
    void applicationDidFinishLaunching(const QStringList &paths);
    // Files a later launch handed over: each in a window of its own, brought forward; a launch
    // without files gets a new start window.
    void applicationOpenFiles(const QStringList &paths);

    // Every titled action, by its localisation key (for the menus and tests).
    QAction *action(const char *key) const;
    void buildMenuBar(QMenuBar *bar);

    ViewController *mainController() const;
    PFWindowController *mainWindow() const;
    QString pfActiveURL() const { return m_activeURL; }

    // Enables Cut, Copy, Paste, Delete and Select All exactly when they can act.
    void pfRefreshEditMenu();
    void pfShowUndoMenu(bool enabled);
    void pfShowRedoMenu(bool enabled);
    void pfHilightGoBackMenuItem(bool enabled);
    void pfViewMenuClick(QAction *item);
    void menuWillOpen();
    void pfShowMainView();
    void pfNewBlank();
    bool pfGeneratePDFForPath(const QString &path);
    int pfPageSizeIndex() const { return m_pageSizeIndex; }
    // Commits the signature store before quitting; false cancels the quit.
    bool applicationShouldTerminate();
    // Closes every window (each may ask about its changes), then quits.
    void pfQuit();
    // The program's own About box (one at a time).
    void showAbout();
    QWidget *aboutDialog() const { return m_about; }
    QMenu *trayMenu() const { return m_trayMenu.get(); }

private:
    void createActions();
    QAction *addAction(const char *key, std::function<void()> handler = {}, int tag = 0);
    void attach(Document *document);
    void continueQuit();

    UserDefaults &m_defaults;
    std::function<PersistentContainer &()> m_store;
    PFDocumentController *m_documents;
    QHash<QByteArray, QAction *> m_actions;
    QList<QAction *> m_viewItems; // in menu order, tags 1 to 8
    QList<QAction *> m_goItems;   // in menu order, tags 1 to 7
    QPointer<PFWindowController> m_lastMain;
    // The combine and images-to-PDF windows serve every document; one of each at a time.
    QPointer<QWidget> m_combineWindow;
    QPointer<QWidget> m_imagesWindow;
    QSystemTrayIcon *m_tray = nullptr;
    std::unique_ptr<QMenu> m_trayMenu; // a tray menu has no parent widget to own it
    QPointer<QWidget> m_about;
    QString m_activeURL;
    int m_pageSizeIndex;
    bool m_isShowToolBar = true;
    bool m_quitting = false;
};
