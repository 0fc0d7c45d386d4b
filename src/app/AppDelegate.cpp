#include "AppDelegate.h"

#include "Document.h"
#include "PFAboutDialog.h"
#include "PFBlankPaper.h"
#include "PFDocumentController.h"
#include "settings/PFManager.h"
#include "PFModalSeam.h"
#include "PFRecentDocuments.h"
#include "PFWindowController.h"
#include "ViewController.h"
#include "pages/windows/PFCombineViewController.h"
#include "pages/windows/PFImageToPDFController.h"
#include "platform/store/Localization.h"
#include "platform/store/PersistentContainer.h"
#include "platform/system/ThreadPriority.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>

AppDelegate::AppDelegate(UserDefaults &defaults, std::function<PersistentContainer &()> store, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_store(std::move(store)),
      m_documents(new PFDocumentController(defaults, this)),
      m_pageSizeIndex(PFManager::sharedManager().pfGetNewBlankSize())
{
    if (!m_store)
        m_store = [] () -> PersistentContainer & { return PersistentContainer::shared(); };
    createActions();
    m_trayMenu = std::make_unique<QMenu>();
    m_trayMenu->setObjectName(QStringLiteral("pfTrayMenu"));
    m_trayMenu->addAction(action("打开"));
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(action("退出Quirna"));
    connect(m_documents, &PFDocumentController::documentAdded, this, &AppDelegate::attach);
    connect(m_documents, &PFDocumentController::documentRemoved, this, [this] {
        if (m_quitting)
            QTimer::singleShot(0, this, &AppDelegate::continueQuit);
    });
    // With a tray icon the program stays when its last window closes, as the icon can bring a
    // window back; without one, closing the last window quits.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        qApp->setQuitOnLastWindowClosed(false);
        m_tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/resources/icons/IconTop.svg")), this);
        m_tray->setToolTip(QStringLiteral("Quirna"));
        connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason != QSystemTrayIcon::Context)
                pfShowMainView();
        });
        m_tray->setContextMenu(m_trayMenu.get());
        m_tray->show();
    }
}

AppDelegate::~AppDelegate()
{
    delete m_combineWindow;
    delete m_imagesWindow;
    delete m_about;
    delete m_tray; // before the menu it shows
}

namespace {
// Brings the window in `slot` forward, making it first when there is none.
template <typename Window> void showToolWindow(QPointer<QWidget> &slot)
{
    if (!slot) {
        slot = new Window;
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
}
} // namespace

void AppDelegate::applicationDidFinishLaunching(const QStringList &paths)
{
    ThreadPriority::favourInteractiveThread();
    for (const QString &path : paths)
        m_documents->openDocument(path, true);
    if (m_documents->documents().isEmpty())
        m_documents->openUntitledDocument();
}

void AppDelegate::applicationOpenFiles(const QStringList &paths)
{
    if (paths.isEmpty()) {
        m_documents->openUntitledDocument();
        return;
    }
    for (const QString &path : paths)
        m_documents->openDocument(path, true);
}

QAction *AppDelegate::addAction(const char *key, std::function<void()> handler, int tag)
{
    auto *item = new QAction(pfLocalized(key), this);
    item->setObjectName(QString::fromUtf8(key));
    item->setData(tag);
    // An item without its command is shown disabled.
    item->setEnabled(bool(handler));
    if (handler)
        connect(item, &QAction::triggered, this, std::move(handler));
    m_actions.insert(QByteArray(key), item);
    return item;
}

QAction *AppDelegate::action(const char *key) const { return m_actions.value(QByteArray(key)); }

void AppDelegate::createActions()
{
    const auto withController = [this](std::function<void(ViewController *)> call) {
        return [this, call] {
            if (ViewController *controller = mainController())
                call(controller);
        };
    };
    const auto withDocument = [this](std::function<void(Document *)> call) {
        return [this, call] {
            PFWindowController *window = mainWindow();
            for (Document *document : m_documents->documents())
                if (window && document->windowController() == window)
                    call(document);
        };
    };

    addAction("关于 Quirna", [this] { showAbout(); });
    addAction("隐藏Quirna", [] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (qobject_cast<PFWindowController *>(window))
                window->showMinimized();
    });
    addAction("显示全部", [this] { pfShowMainView(); });
    // Ctrl+Q on every Linux desktop, also where the platform theme names no quit key.
    addAction("退出Quirna", [this] { pfQuit(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    addAction("新建", [this] { m_documents->openUntitledDocument(); })->setShortcut(QKeySequence::New);
    addAction("新建空白", [this] { pfNewBlank(); });
    addAction("打开", [this] {
        const QString path = PFModalSeam::current().openPDFPath(mainWindow());
        if (!path.isEmpty())
            m_documents->openDocument(path, true);
    })->setShortcut(QKeySequence::Open);
    addAction("打开最近", [] {});
    addAction("关闭Menu", [this] {
        if (PFWindowController *window = mainWindow())
            window->close();
    })->setShortcut(QKeySequence::Close);
    addAction("保存Menu", withDocument([](Document *document) { document->save(); }))->setShortcut(QKeySequence::Save);
    addAction("另存为", withDocument([](Document *document) { document->saveAs(); }))->setShortcut(QKeySequence::SaveAs);
    addAction("打印", withController([](ViewController *c) { c->pfPrintClick(); }))->setShortcut(QKeySequence::Print);

    addAction("撤销", withController([](ViewController *c) { c->pfUndoClick(); }))->setShortcut(QKeySequence::Undo);
    addAction("重做", withController([](ViewController *c) { c->pfRedoClick(); }))->setShortcut(QKeySequence::Redo);
    addAction("剪切", withController([](ViewController *c) { c->pfCutMenuClick(); }))->setShortcut(QKeySequence::Cut);
    addAction("复制", withController([](ViewController *c) { c->pfCopyMenuClick(); }))->setShortcut(QKeySequence::Copy);
    addAction("粘贴", withController([](ViewController *c) { c->pfPasteMenuClick(); }))->setShortcut(QKeySequence::Paste);
    addAction("删除", withController([](ViewController *c) { c->pfDeleteMenuClick(); }))
        ->setShortcuts({QKeySequence(QKeySequence::Delete), QKeySequence(Qt::Key_Backspace)});
    addAction("全选", withController([](ViewController *c) { c->pfSelectAllMenuClick(); }))
        ->setShortcut(QKeySequence::SelectAll);
    addAction("查找", [this] {
        if (PFWindowController *window = mainWindow())
            window->pfSearchField()->setFocus();
    })->setShortcut(QKeySequence::Find);
    action("撤销")->setEnabled(false);
    action("重做")->setEnabled(false);
    pfRefreshEditMenu();

    const char *viewKeys[] = {"单页", "单页连续", "双页", "双页连续", "全屏", "幻灯片", "阅读模式", "隐藏工具栏"};
    for (int i = 0; i < 8; ++i) {
        QAction *item = addAction(viewKeys[i], {}, i + 1);
        item->setEnabled(true);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { pfViewMenuClick(item); });
        m_viewItems.append(item);
    }
    m_viewItems[1]->setChecked(true); // a document opens single page continuous
    // F11 everywhere, and the desktop's own full-screen key where it has another.
    QList<QKeySequence> fullScreenKeys{QKeySequence(Qt::Key_F11)};
    if (QKeySequence(QKeySequence::FullScreen) != fullScreenKeys.constFirst() && !QKeySequence(QKeySequence::FullScreen).isEmpty())
        fullScreenKeys.append(QKeySequence(QKeySequence::FullScreen));
    action("全屏")->setShortcuts(fullScreenKeys);

    const char *goKeys[] = {"向上", "向下", "第一页", "最后一页", "向后", "向前", "前往页面"};
    for (int i = 0; i < 7; ++i) {
        const int tag = i + 1;
        m_goItems.append(addAction(goKeys[i], withController([tag](ViewController *c) { c->pfGoMenuClick(tag); }), tag));
    }
    action("向前")->setEnabled(false); // nothing to go back to yet
    // The keys of every Linux reader; Page Up and Down stay the view's own scrolling keys.
    action("第一页")->setShortcut(QKeySequence::MoveToStartOfDocument);
    action("最后一页")->setShortcut(QKeySequence::MoveToEndOfDocument);
    action("向后")->setShortcut(QKeySequence::Forward);
    action("向前")->setShortcut(QKeySequence::Back);
    action("前往页面")->setShortcut(Qt::CTRL | Qt::ALT | Qt::Key_G);

    addAction("最小化", [this] {
        if (PFWindowController *window = mainWindow())
            window->showMinimized();
    })->setShortcut(Qt::CTRL | Qt::Key_M);
    addAction("缩放", [this] {
        if (PFWindowController *window = mainWindow())
            window->isMaximized() ? window->showNormal() : window->showMaximized();
    });
    addAction("前置全部", [this] { pfShowMainView(); });
}

void AppDelegate::buildMenuBar(QMenuBar *bar)
{
    const auto fill = [this, bar](const char *title, std::initializer_list<const char *> keys,
                                  std::initializer_list<int> separatorsBefore = {}) {
        QMenu *menu = bar->addMenu(pfLocalized(title));
        menu->setObjectName(QString::fromUtf8(title));
        int index = 0;
        for (const char *key : keys) {
            if (std::find(separatorsBefore.begin(), separatorsBefore.end(), index) != separatorsBefore.end())
                menu->addSeparator();
            if (qstrcmp(key, "打开最近") == 0) {
                QMenu *recent = menu->addMenu(pfLocalized(key));
                connect(recent, &QMenu::aboutToShow, this, [this, recent] {
                    recent->clear();
                    for (const QString &path : PFRecentDocuments::paths(m_defaults))
                        recent->addAction(QFileInfo(path).fileName(), this,
                                          [this, path] { m_documents->openDocument(path, true); });
                });
            } else {
                menu->addAction(action(key));
            }
            ++index;
        }
        return menu;
    };
    fill("Quirna", {"关于 Quirna", "隐藏Quirna", "显示全部", "退出Quirna"}, {1, 3});
    fill("文件", {"新建", "新建空白", "打开", "打开最近", "关闭Menu", "保存Menu", "另存为", "打印"}, {4, 7});
    QMenu *edit = fill("编辑", {"撤销", "重做", "剪切", "复制", "粘贴", "删除", "全选", "查找"}, {2, 7});
    connect(edit, &QMenu::aboutToShow, this, &AppDelegate::pfRefreshEditMenu);
    QMenu *view = fill("显示", {"单页", "单页连续", "双页", "双页连续", "全屏", "幻灯片", "阅读模式", "隐藏工具栏"}, {4});
    connect(view, &QMenu::aboutToShow, this, &AppDelegate::menuWillOpen);
    fill("前往", {"向上", "向下", "第一页", "最后一页", "向后", "向前", "前往页面"}, {4, 6});
    fill("窗口", {"最小化", "缩放", "前置全部"}, {2});
}

void AppDelegate::attach(Document *document)
{
    PFWindowController *window = document->windowController();
    if (!window)
        return;
    buildMenuBar(window->menuBar());
    // The window holds every action too, so their shortcuts work while the menu bar is hidden
    // (full screen, slide show).
    for (QAction *item : std::as_const(m_actions))
        window->addAction(item);
    ViewController *content = window->contentViewController();
    connect(content, &ViewController::undoMenuEnabled, this, &AppDelegate::pfShowUndoMenu);
    connect(content, &ViewController::redoMenuEnabled, this, &AppDelegate::pfShowRedoMenu);
    connect(content, &ViewController::goBackMenuEnabled, this, &AppDelegate::pfHilightGoBackMenuItem);
    connect(content, &ViewController::editMenuChanged, this, &AppDelegate::pfRefreshEditMenu);
    connect(window, &PFWindowController::becameMain, this, [this, window] {
        m_lastMain = window;
        pfRefreshEditMenu();
    });
    connect(window, &PFWindowController::minimised, this, [this, document] { m_activeURL = document->fileURL(); });
    connect(window, &PFWindowController::pfAddPDFClick, this, [this] { m_documents->openUntitledDocument(); });
    connect(window, &PFWindowController::pfShowCombineView, this,
            [this] { showToolWindow<PFCombineViewController>(m_combineWindow); });
    connect(window, &PFWindowController::pfShowImageToPDFView, this,
            [this] { showToolWindow<PFImageToPDFController>(m_imagesWindow); });
    connect(document, &Document::closeCancelled, this, [this] { m_quitting = false; });
    m_lastMain = window;
}

PFWindowController *AppDelegate::mainWindow() const
{
    if (auto *active = qobject_cast<PFWindowController *>(QApplication::activeWindow()))
        return active;
    return m_lastMain;
}

ViewController *AppDelegate::mainController() const
{
    PFWindowController *window = mainWindow();
    return window ? window->contentViewController() : nullptr;
}

void AppDelegate::showAbout()
{
    if (!m_about) {
        m_about = new PFAboutDialog(mainWindow());
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void AppDelegate::pfRefreshEditMenu()
{
    // One set of items serves every window: they follow the main window's content.
    const ViewController *controller = mainController();
    const char *keys[] = {"剪切", "复制", "粘贴", "删除", "全选"};
    for (int i = 0; i < 5; ++i)
        action(keys[i])->setEnabled(controller && controller->pfCanEditMenuItem(i));
}

void AppDelegate::pfShowUndoMenu(bool enabled) { action("撤销")->setEnabled(enabled); }

void AppDelegate::pfShowRedoMenu(bool enabled) { action("重做")->setEnabled(enabled); }

void AppDelegate::pfHilightGoBackMenuItem(bool enabled) { m_goItems[5]->setEnabled(enabled); }

void AppDelegate::pfViewMenuClick(QAction *item)
{
    const int tag = item->data().toInt();
    if (tag >= 1 && tag <= 4) {
        for (int i = 0; i < 4; ++i)
            m_viewItems[i]->setChecked(false);
    } else {
        for (int i = 4; i < m_viewItems.size(); ++i)
            m_viewItems[i]->setChecked(false);
        if (item == m_viewItems[7]) {
            m_isShowToolBar = !m_isShowToolBar;
            item->setText(pfLocalized(m_isShowToolBar ? "隐藏工具栏" : "显示工具栏"));
        }
    }
    item->setChecked(true);
    if (ViewController *controller = mainController())
        controller->pfChangePDFShowMode(tag);
}

void AppDelegate::menuWillOpen()
{
    PFWindowController *window = mainWindow();
    const bool visible = window && window->toolbar()->isVisible();
    m_viewItems[7]->setText(pfLocalized(visible ? "隐藏工具栏" : "显示工具栏"));
    // Full screen and the slide show are left with Escape as well as from here: the marks show
    // what is in force now, not what was last chosen.
    m_viewItems[4]->setChecked(window && window->isFullScreen());
    m_viewItems[5]->setChecked(window && window->contentViewController()->isInHuanDengPian());
}

void AppDelegate::pfShowMainView()
{
    PFWindowController *chosen = nullptr;
    bool any = false;
    for (Document *document : m_documents->documents()) {
        PFWindowController *window = document->windowController();
        if (!window)
            continue;
        any = true;
        window->raise();
        if (document->fileURL().isEmpty() && !chosen)
            chosen = window;
        if (window->isActiveWindow())
            chosen = window;
    }
    if (any) {
        Document *minimised = m_activeURL.isEmpty() ? nullptr : m_documents->documentForURL(m_activeURL);
        if (minimised)
            minimised->showWindows();
        else if (chosen) {
            chosen->showNormal();
            chosen->raise();
            chosen->activateWindow();
        }
    } else {
        m_documents->openUntitledDocument();
    }
    m_activeURL.clear();
}

void AppDelegate::pfNewBlank()
{
    auto *accessory = new QWidget;
    auto *row = new QHBoxLayout(accessory);
    row->addWidget(new QLabel(pfLocalized("尺寸"), accessory));
    auto *sizes = new QComboBox(accessory);
    sizes->setObjectName(QStringLiteral("pfPageSize"));
    for (const PFBlankPaper::Size &size : PFBlankPaper::sizes())
        sizes->addItem(QString::fromLatin1(size.title));
    m_pageSizeIndex = PFManager::sharedManager().pfGetNewBlankSize();
    sizes->setCurrentIndex(m_pageSizeIndex);
    connect(sizes, &QComboBox::activated, this, [this](int index) {
        m_pageSizeIndex = index;
        PFManager::sharedManager().pfSetNewBlankSize(index);
    });
    row->addWidget(sizes);
    row->addStretch();

    const QString name = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = PFModalSeam::current().savePDFPath(mainWindow(), folder, name, accessory);
    delete accessory;
    if (!path.isEmpty())
        QTimer::singleShot(0, this, [this, path] { pfGeneratePDFForPath(path); });
}

bool AppDelegate::pfGeneratePDFForPath(const QString &path)
{
    if (!PFBlankPaper::write(path, m_pageSizeIndex))
        return false;
    return m_documents->openDocument(path, true) != nullptr;
}

bool AppDelegate::applicationShouldTerminate()
{
    PersistentContainer &store = m_store();
    if (!store.hasChanges())
        return true;
    if (store.save())
        return true;
    const int answer = PFModalSeam::current().alert(
        mainWindow(), pfLocalized("Could not save changes while quitting. Quit anyway?"),
        pfLocalized("Quitting now will lose any changes you have made since the last successful save") +
            QStringLiteral("\n\n") + store.lastError(),
        {pfLocalized("Quit anyway"), pfLocalized("Cancel")});
    return answer == 0;
}

void AppDelegate::pfQuit()
{
    m_quitting = true;
    continueQuit();
}

void AppDelegate::continueQuit()
{
    if (!m_quitting)
        return;
    // Each window may stop to ask about its changes; the quit goes on when it closes and ends
    // when the user cancels.
    const QList<Document *> documents = m_documents->documents();
    for (Document *document : documents) {
        PFWindowController *window = document->windowController();
        if (window && !window->close())
            return;
    }
    if (!m_documents->documents().isEmpty())
        return; // windows are on their way out; documentRemoved brings us back
    m_quitting = false;
    if (applicationShouldTerminate())
        QCoreApplication::quit();
}
