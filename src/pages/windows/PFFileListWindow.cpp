#include "PFFileListWindow.h"

#include "PFCombineDragView.h"
#include "PFDragListView.h"
#include "PFFileCollector.h"
#include "PFHudStatusDisplay.h"
#include "PFPagePrompts.h"
#include "PFPageTask.h"
#include "PFSerialPreparer.h"
#include "pages/PageMessages.h"
#include "platform/store/Localization.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <variant>

PFFileListWindow::PFFileListWindow(const QString &title, const QString &dropHint, const QString &startTitle,
                                   const QStringList &extensions, Prepare prepare, QWidget *parent)
    : QDialog(parent), m_extensions(extensions), m_prepare(prepare),
      m_folder(QStringLiteral("CombineDragPathSave"), true), m_dropArea(new PFCombineDragView(dropHint)),
      m_list(new PFDragListView), m_parameters(new QVBoxLayout), m_pathDirect(new QPushButton),
      m_queue(new PFSerialPreparer(this)), m_display(std::make_unique<PFHudStatusDisplay>(this))
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("PFBKDragView"));
    m_dropArea->setObjectName(QStringLiteral("PFBKDragView"));
    m_list->setObjectName(QStringLiteral("pfPinJieCollectionView"));
    m_pathDirect->setObjectName(QStringLiteral("pfPathDirect"));
    m_pathDirect->setFlat(true);
    m_dropArea->setContent(m_list);

    // Files can always be added, however full the list is.
    auto *add = new QPushButton(pfLocalized("添加文件"));
    add->setObjectName(QStringLiteral("pfAddBtn"));
    auto *addFolder = new QPushButton(pfLocalized("添加文件夹"));
    addFolder->setObjectName(QStringLiteral("pfAddFolderBtn"));
    auto *addRow = new QHBoxLayout;
    addRow->addWidget(add);
    addRow->addWidget(addFolder);
    addRow->addStretch(1);
    auto *choose = new QPushButton(pfLocalized("选择"));
    choose->setObjectName(QStringLiteral("pfChooseBtn"));
    auto *start = new QPushButton(startTitle);
    start->setObjectName(QStringLiteral("pfCombineBtn"));
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(pfLocalized("输出路径")));
    pathRow->addWidget(m_pathDirect, 1);
    pathRow->addWidget(choose);
    pathRow->addWidget(start);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_dropArea, 1);
    layout->addLayout(addRow);
    layout->addLayout(m_parameters);
    layout->addLayout(pathRow);

    connect(m_dropArea, &PFCombineDragView::pfDragFileURL, this, &PFFileListWindow::pfDragFileURL);
    connect(m_dropArea, &PFCombineDragView::clicked, this, &PFFileListWindow::pfOpenFile);
    connect(add, &QPushButton::clicked, this, &PFFileListWindow::pfOpenFile);
    connect(addFolder, &QPushButton::clicked, this, &PFFileListWindow::pfOpenFolder);
    connect(m_list, &PFDragListView::deleteRequested, this, &PFFileListWindow::pfDeleteClick);
    connect(choose, &QPushButton::clicked, this, &PFFileListWindow::pfPathPickClick);
    connect(m_pathDirect, &QPushButton::clicked, this, &PFFileListWindow::pfPathShowClick);
    connect(start, &QPushButton::clicked, this, [this] { pfStartButtonClick(); });
    connect(m_queue, &PFSerialPreparer::drained, this, [this] { m_display->hide(); });
    pfShowSaveLBPath();
}

PFFileListWindow::~PFFileListWindow()
{
    delete m_queue; // waits for a step still running; no continuation reaches a dead window
}

void PFFileListWindow::setStatusDisplay(std::unique_ptr<PFStatusDisplay> display) { m_display = std::move(display); }

bool PFFileListWindow::isBusy() const { return m_queue->pending() > 0 || m_writing; }

bool PFFileListWindow::pfDragFileURL(const QStringList &paths)
{
    const QStringList files = PFFileCollector::collect(paths, m_extensions);
    if (files.isEmpty()) {
        m_display->showMessage(PageMessages::unsupported());
        return false;
    }
    addFiles(files);
    return true;
}

void PFFileListWindow::pfOpenFile()
{
    const QStringList files = PFFileCollector::collect(PFPagePrompts::current().chooseFiles(this, m_extensions), m_extensions);
    if (!files.isEmpty())
        addFiles(files);
}

void PFFileListWindow::pfOpenFolder()
{
    const QString folder = PFPagePrompts::current().chooseFolder(this, QString());
    if (folder.isEmpty())
        return;
    const QStringList files = PFFileCollector::collect({folder}, m_extensions);
    if (files.isEmpty())
        m_display->showMessage(PageMessages::unsupported());
    else
        addFiles(files);
}

void PFFileListWindow::addFiles(const QStringList &files)
{
    m_dropArea->setHintVisible(false);
    m_display->hide();
    m_display->showProgress();
    for (const QString &path : files) {
        m_queue->add([this, prepare = m_prepare, path]() -> std::function<void()> {
            Preparation prepared = prepare(path);
            return [this, prepared = std::move(prepared)] {
                if (const auto *entry = std::get_if<PFDragModel>(&prepared)) {
                    m_list->appendEntry(*entry);
                } else {
                    m_display->hide();
                    m_display->showMessage(std::get<QString>(prepared));
                }
            };
        });
    }
}

void PFFileListWindow::pfDeleteClick(int row)
{
    delete m_list->takeItem(row);
    m_dropArea->setHintVisible(m_list->count() == 0);
}

void PFFileListWindow::pfPathPickClick()
{
    const QString folder = PFPagePrompts::current().chooseFolder(this, m_folder.path());
    if (folder.isEmpty())
        return;
    m_folder.choose(folder);
    pfShowSaveLBPath();
}

void PFFileListWindow::pfPathShowClick()
{
    PFPagePrompts::current().reveal(m_finalSavePath.isEmpty() ? m_folder.path() : m_finalSavePath);
}

void PFFileListWindow::pfShowSaveLBPath() { m_pathDirect->setText(m_folder.path()); }

void PFFileListWindow::runWrite(std::function<PFPageResult()> work, const QString &successMessage)
{
    m_writing = true;
    pfShowSaveLBPath();
    PFPageTask::Options options;
    options.successMessage = successMessage;
    options.done = [this](const PFPageResult &result) {
        m_writing = false;
        if (result.ok() && !result.written.isEmpty())
            m_finalSavePath = result.written.first();
        emit finished(result);
    };
    PFPageTask::run(this, m_display.get(), std::move(work), std::move(options));
}
