#include "PFWindowController.h"

#include "ViewController.h"
#include "editing/PFBasePDFView.h"
#include "panels/search/PFSearchController.h"
#include "platform/store/Localization.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

namespace {
QIcon iconNamed(const QString &name) { return QIcon(QStringLiteral(":/resources/icons/%1.svg").arg(name)); }

QString zoomTitle(const QString &value)
{
    if (value == QLatin1String("1000"))
        return pfLocalized("自动缩放");
    if (value == QLatin1String("1001"))
        return pfLocalized("实际大小");
    if (value == QLatin1String("1002"))
        return pfLocalized("等宽");
    if (value == QLatin1String("1003"))
        return pfLocalized("等高");
    return QStringLiteral("%1%").arg(value.toDouble() * 100);
}
} // namespace

PFWindowController::PFWindowController(ViewController *content, QWidget *parent)
    : QMainWindow(parent), m_content(content)
{
    setObjectName(QStringLiteral("pfLaunchWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(231, 234, 237));
    setPalette(palette);
    setCentralWidget(content);
    content->setParent(this);

    m_titles = {"0.1", "0.25", "0.5", "0.75", "1", "1.25", "1.5", "2", "4",
                "8", "16", "24", "32", "64", "1000", "1001", "1002", "1003"};

    m_toolbar = addToolBar(pfLocalized("工具栏"));
    m_toolbar->setObjectName(QStringLiteral("pfToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(20, 20));

    addButton(QStringLiteral("newTab"), "新标签页", [this] { emit pfAddPDFClick(); });
    m_smallBtn = addButton(QStringLiteral("zoomOut"), "缩小", [this] { m_content->pfScaleDownClick(); });
    m_bigBtn = addButton(QStringLiteral("zoomIn"), "放大", [this] { m_content->pfScaleUpClick(); });
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("pfWidthItem"));
    m_zoom->setAccessibleName(pfLocalized("缩放"));
    for (const QString &value : m_titles)
        m_zoom->addItem(zoomTitle(value));
    m_zoom->setCurrentIndex(m_titles.indexOf(QStringLiteral("1000")));
    connect(m_zoom, &QComboBox::activated, this, &PFWindowController::pfScaleFacterClick);
    m_toolbar->addWidget(m_zoom);
    m_toolbar->addSeparator();
    m_editBtn = addButton(QStringLiteral("zhushiW"), "编辑", [this] { pfZhuShiClick(); });
    m_toolBtn = addButton(QStringLiteral("toolW"), "工具", [this] { pfToolClick(); });
    addButton(QStringLiteral("combine"), "合并", [this] { emit pfShowCombineView(); });
    addButton(QStringLiteral("imageToPDF"), "图片转PDF", [this] { emit pfShowImageToPDFView(); });

    auto *spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(spacer);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("pfSearchField"));
    m_search->setPlaceholderText(pfLocalized("Search"));
    m_search->setToolTip(pfLocalized("Search"));
    m_search->setAccessibleName(pfLocalized("Search"));
    m_search->setClearButtonEnabled(true);
    m_search->setFixedWidth(200);
    content->searchController()->pfSetSearchField(m_search);
    m_toolbar->addWidget(m_search);
    m_extentBtn = addButton(QStringLiteral("lanW"), "侧边栏", [this] { pdfExtentClick(); });

    m_documentItems = {m_smallBtn, m_bigBtn, m_zoom, m_editBtn, m_extentBtn, m_search, m_toolBtn};
    pfHideAllMenuItem();

    connect(content, &ViewController::titleChanged, this, &PFWindowController::updateTitle);
    connect(content, &ViewController::documentLoaded, this, &PFWindowController::pfShowAllMenuItem);
    connect(content, &ViewController::fullScreenRequested, this, &PFWindowController::setFullScreen);
    // Escape leaves full screen and the slide show; it is only taken while the window is full
    // screen, so it still closes pop-ups and cancels edits otherwise.
    m_leaveFullScreen = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_leaveFullScreen->setEnabled(false);
    connect(m_leaveFullScreen, &QShortcut::activated, this, [this] { setFullScreen(false); });
    auto *findNext = new QShortcut(QKeySequence::FindNext, this);
    connect(findNext, &QShortcut::activated, this, [this] { m_content->searchController()->pfFindNext(false); });
    auto *findPrevious = new QShortcut(QKeySequence::FindPrevious, this);
    connect(findPrevious, &QShortcut::activated, this, [this] { m_content->searchController()->pfFindNext(true); });
    connect(content, &ViewController::toggleToolbarRequested, this,
            [this] { m_toolbar->setVisible(!m_toolbar->isVisible()); });
    updateTitle();
    resize(1200, 820);
}

QToolButton *PFWindowController::addButton(const QString &image, const char *label, std::function<void()> action)
{
    auto *button = new QToolButton(this);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setText(pfLocalized(label));
    button->setToolTip(pfLocalized(label));
    setImage(button, image);
    connect(button, &QToolButton::clicked, this, std::move(action));
    m_toolbar->addWidget(button);
    return button;
}

void PFWindowController::setImage(QToolButton *button, const QString &image)
{
    button->setIcon(iconNamed(image));
    button->setProperty("pfImage", image);
}

QString PFWindowController::imageNameOf(QToolButton *button) const { return button->property("pfImage").toString(); }

void PFWindowController::pfHideAllMenuItem()
{
    for (QWidget *item : m_documentItems)
        item->setEnabled(false);
}

void PFWindowController::pfShowAllMenuItem()
{
    for (QWidget *item : m_documentItems)
        item->setEnabled(true);
}

QString PFWindowController::windowTitleForDocumentDisplayName() const
{
    const auto content = m_content->representedObject();
    if (!content || content->filePath.isEmpty())
        return pfLocalized("新标签页");
    return QStringLiteral("%1 (%2: %3/%4)")
        .arg(QFileInfo(content->filePath).fileName(), pfLocalized("页码Num"))
        .arg(content->currentNum)
        .arg(content->totalNum);
}

void PFWindowController::updateTitle() { setWindowTitle(windowTitleForDocumentDisplayName()); }

void PFWindowController::pfScaleFacterClick(int index)
{
    if (index >= 0 && index < m_titles.size())
        m_content->pfScaleFaterClick(m_titles[index].toDouble());
    // The keyboard goes back to the pages: Page Down scrolls instead of changing the zoom.
    m_content->pdfView()->setFocus(Qt::OtherFocusReason);
}

void PFWindowController::pfZhuShiClick()
{
    if (m_toolStatus) {
        m_toolStatus = false;
        setImage(m_toolBtn, QStringLiteral("toolW"));
    }
    m_editStatus = !m_editStatus;
    setImage(m_editBtn, m_editStatus ? QStringLiteral("zhushiH") : QStringLiteral("zhushiW"));
    m_content->pfShowZhuShiMenu();
}

void PFWindowController::pfToolClick()
{
    if (m_editStatus) {
        m_editStatus = false;
        setImage(m_editBtn, QStringLiteral("zhushiW"));
    }
    m_toolStatus = !m_toolStatus;
    setImage(m_toolBtn, m_toolStatus ? QStringLiteral("toolH") : QStringLiteral("toolW"));
    m_content->pfShowToolMenuView();
}

void PFWindowController::pdfExtentClick()
{
    const bool wasClosed = m_content->shouldClose();
    m_content->PFExtentClick();
    // The image follows the panel: a refused opening leaves it as it was.
    if (m_content->shouldClose() == wasClosed)
        return;
    m_extented = !m_content->shouldClose();
    setImage(m_extentBtn, m_extented ? QStringLiteral("lanH") : QStringLiteral("lanW"));
}

void PFWindowController::pfResignSearchBar() { m_search->clearFocus(); }

void PFWindowController::setFullScreen(bool on)
{
    if (on == isFullScreen())
        return;
    if (!on) {
        Qt::WindowStates state = m_stateBeforeFullScreen;
        setWindowState(state.setFlag(Qt::WindowFullScreen, false));
        return;
    }
    // Full screen shows the pages alone: toolbar and menu bar step aside. The menus' shortcuts
    // stay, as every action is also the window's own.
    m_stateBeforeFullScreen = windowState();
    m_toolbarWasVisible = m_toolbar->isVisible();
    m_toolbar->hide();
    menuBar()->hide();
    m_leaveFullScreen->setEnabled(true);
    showFullScreen();
}

void PFWindowController::closeEvent(QCloseEvent *event)
{
    if (shouldClose && !shouldClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void PFWindowController::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        if ((change->oldState() & Qt::WindowFullScreen) && !isFullScreen()) {
            m_leaveFullScreen->setEnabled(false);
            m_toolbar->setVisible(m_toolbarWasVisible);
            menuBar()->show();
            m_content->pfResetHuanDengPianExit();
        }
        if (!(change->oldState() & Qt::WindowMinimized) && isMinimized())
            emit minimised();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_content->pfCheckRedoMenu();
        m_content->pfCheckUndoMenu();
        emit becameMain();
    }
    QMainWindow::changeEvent(event);
}
