#include "PFOutlineController.h"

#include "PFBaseOutlineView.h"
#include "PFOutlineEditController.h"
#include "PFOutlineModel.h"

#include "app/PFModalSeam.h"
#include "editing/PFBasePDFView.h"
#include "platform/store/Localization.h"
#include "settings/PFManager.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

PFOutlineController::PFOutlineController(PFBasePDFView *view, QObject *parent)
    : QObject(parent), m_view(view), m_page(new QWidget), m_tree(new PFBaseOutlineView(m_page)),
      m_model(new PFOutlineModel(this))
{
    m_tree->setModel(m_model);
    m_tree->header()->setSectionResizeMode(PFOutlineModel::TitleColumn, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(PFOutlineModel::PageColumn, QHeaderView::Fixed);
    m_tree->header()->resizeSection(PFOutlineModel::PageColumn, 44);

    m_addButton = new QToolButton(m_page);
    m_addButton->setObjectName(QStringLiteral("pfAddCatalogButton"));
    m_addButton->setText(QStringLiteral("+"));
    m_addButton->setToolTip(pfLocalized("添加条目"));
    m_addButton->setAutoRaise(true);
    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 2, 6, 2);
    bar->addWidget(m_addButton);
    bar->addStretch(1);
    auto *layout = new QVBoxLayout(m_page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tree, 1);
    layout->addLayout(bar);

    connect(m_addButton, &QToolButton::clicked, this, [this] { pfAddCatelog(AfterSelection); });
    connect(m_tree, &PFBaseOutlineView::pfOutlineViewClickPosition, this, &PFOutlineController::rightClicked);
    // Once the double click is over, so that its release does not close the popover.
    connect(m_tree, &QTreeView::doubleClicked, this, &PFOutlineController::pfDoubleClickOutline, Qt::QueuedConnection);
    connect(m_tree, &QTreeView::clicked, this, &PFOutlineController::rowClicked);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { currentChanged(current); });
    connect(m_view, &PDFView::documentChanged, this, &PFOutlineController::documentMaybeReplaced);
    documentMaybeReplaced();
}

PFOutlineController::~PFOutlineController()
{
    // The page normally belongs to the side panel by now.
    if (m_page && !m_page->parent())
        delete m_page;
}

void PFOutlineController::setDark(bool dark) { m_tree->setDark(dark); }

void PFOutlineController::documentMaybeReplaced()
{
    if (m_view->document() == m_document) {
        // The same document laid out again: the tree stays as the user left it, but pages may
        // have moved under its destinations.
        m_model->refreshPageLabels();
        return;
    }
    m_document = m_view->document();
    m_selected = {};
    m_clicked = {};
    m_navigatedOnPress = {};
    if (m_popover)
        m_popover->close();
    m_model->setRoot(m_document.isNull() ? PDFOutline() : m_document.outlineRoot());
}

// Navigation ------------------------------------------------------------------------------------

void PFOutlineController::goTo(const PDFOutline &item)
{
    const PDFDestination destination = item.destination();
    if (!destination.isNull())
        m_view->goToDestination(destination);
}

void PFOutlineController::currentChanged(const QModelIndex &index)
{
    if (m_selecting || !index.isValid())
        return;
    const PDFOutline item = m_model->itemAt(index);
    m_selected = item;
    m_navigatedOnPress = item;
    goTo(item);
}

void PFOutlineController::rowClicked(const QModelIndex &index)
{
    const PDFOutline item = m_model->itemAt(index);
    if (item == m_navigatedOnPress) {
        m_navigatedOnPress = {}; // the press already went there
        return;
    }
    m_selected = item;
    goTo(item); // a click on the row that was already selected goes there again
}

void PFOutlineController::selectItem(const PDFOutline &item)
{
    const QModelIndex index = m_model->indexOf(item);
    if (!index.isValid())
        return;
    m_selecting = true;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_tree->expand(up);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    m_selecting = false;
}

// The editing menu ------------------------------------------------------------------------------

void PFOutlineController::rightClicked(QPoint point)
{
    const QModelIndex index = m_tree->indexAt(point);
    if (!index.isValid())
        return;
    const PDFOutline item = m_model->itemAt(index);
    m_selected = item;
    m_clicked = item;
    selectItem(item);

    delete m_menu;
    m_menu = new QMenu(m_tree);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [this](int tag, const char *title) {
        QAction *action = m_menu->addAction(pfLocalized(title));
        connect(action, &QAction::triggered, this, [this, tag] { pfEditCatelogMenuClick(tag); });
        return action;
    };
    add(AddEntry, "添加条目");
    add(AddChild, "添加子条目");
    QAction *above = add(AddAbove, "添加上一级");
    above->setEnabled(!(item.parent() == m_model->root()));
    m_menu->addSeparator();
    add(SetDestination, "设置目标");
    add(Rename, "重命名");
    m_menu->addSeparator();
    add(Delete, "删除");
    m_menu->popup(m_tree->viewport()->mapToGlobal(point));
}

void PFOutlineController::pfEditCatelogMenuClick(int tag)
{
    // Delete asks by itself; every other edit is refused here while pages are unsaved.
    if (tag != Delete && askSaveFirst(tag == SetDestination ? "需要保存后才能添设置目标" : "需要保存后"))
        return;
    switch (tag) {
    case AddEntry: pfAddCatelog(AfterClicked); break;
    case AddChild: pfAddChildOutline(); break;
    case AddAbove: pfAddCatelog(AtParentLevel); break;
    case SetDestination: pfAddCurrentPageOutline(); break;
    case Rename: pfDoubleClickOutline(); break;
    case Delete: pfDeleteCatelog(); break;
    default: break;
    }
}

bool PFOutlineController::askSaveFirst(const char *message)
{
    if (!m_view->pfHasInsertPage())
        return false;
    const int answer = PFModalSeam::current().alert(m_tree->window(), pfLocalized(message), QString(),
                                                    {pfLocalized("保存"), pfLocalized("取消")});
    if (answer == 0 && pfSaveEditCatalogFile)
        pfSaveEditCatalogFile();
    return true;
}

// Edits -----------------------------------------------------------------------------------------

PDFDestination PFOutlineController::topOf(const PDFPage &page) const
{
    const QRectF box = page.bounds(PDFDisplayBox::CropBox);
    return PDFDestination(page, QPointF(box.left(), box.bottom()));
}

QString PFOutlineController::pageTitle(const QString &pageLabel) const
{
    return QStringLiteral("%1 %2").arg(pfLocalized("页面"), pageLabel);
}

void PFOutlineController::pfAddCatelog(AddMode mode)
{
    if (askSaveFirst("需要保存后"))
        return;
    PDFDocument document = m_view->document();
    const int count = document.pageCount();
    if (document.isNull() || count == 0)
        return;
    const PDFPage lastPage = document.page(count - 1);
    PDFOutline reference = mode == AfterSelection ? m_selected : m_clicked;
    if (mode == AtParentLevel && !reference.isNull())
        reference = reference.parent();

    PDFOutline item = PDFOutline::create(document);
    if (item.isNull())
        return;
    if (mode == AfterSelection && reference.isNull()) {
        // Appended at the top level, pointing at the last page; a document without an
        // outline gets one.
        item.setLabel(pageTitle(QString::number(count)));
        item.setDestination(topOf(lastPage));
        PDFOutline root = m_model->root();
        if (root.isNull()) {
            root = PDFOutline::create(document);
            if (root.isNull())
                return;
            document.setOutlineRoot(root);
            m_model->setRoot(root);
        }
        m_model->insertItem({}, m_model->rowCount(), item);
    } else {
        const PDFOutline parent = reference.parent();
        if (reference.isNull() || parent.isNull())
            return; // nothing to add after, or the entry is already at the top level
        const PDFDestination destination = reference.destination();
        if (destination.isNull()) {
            item.setLabel(pageTitle(QString::number(count)));
            item.setDestination(topOf(lastPage));
        } else {
            item.setLabel(pageTitle(destination.page().label()));
            item.setDestination(topOf(destination.page()));
        }
        const QModelIndex referenceIndex = m_model->indexOf(reference);
        m_model->insertItem(referenceIndex.parent(), referenceIndex.row() + 1, item);
    }
    m_view->setPfHasChangePDF(true);
    m_selected = item;
    selectItem(item);
}

void PFOutlineController::pfAddChildOutline()
{
    if (askSaveFirst("需要保存后"))
        return;
    const PDFOutline parent = m_clicked.isNull() ? m_selected : m_clicked;
    PDFDocument document = m_view->document();
    const int count = document.pageCount();
    if (parent.isNull() || document.isNull() || count == 0)
        return;
    PDFOutline item = PDFOutline::create(document);
    if (item.isNull())
        return;
    const PDFDestination destination = parent.destination();
    if (destination.isNull()) {
        item.setLabel(pageTitle(QString::number(count)));
        item.setDestination(PDFDestination(document.page(count - 1), QPointF(0, 0)));
    } else {
        item.setLabel(pageTitle(destination.page().label()));
        item.setDestination(topOf(destination.page()));
    }
    const QModelIndex parentIndex = m_model->indexOf(parent);
    if (!parentIndex.isValid())
        return;
    m_model->insertItem(parentIndex, m_model->rowCount(parentIndex), item);
    m_view->setPfHasChangePDF(true);
    m_selected = item;
    selectItem(item);
}

void PFOutlineController::pfAddCurrentPageOutline()
{
    if (askSaveFirst("需要保存后才能添设置目标"))
        return;
    if (m_selected.isNull())
        return;
    const int answer = PFModalSeam::current().alert(m_tree->window(), pfLocalized("确定要将选定"), QString(),
                                                    {pfLocalized("是"), pfLocalized("否")});
    if (answer != 0)
        return;
    const PDFDestination here = m_view->currentDestination();
    if (here.isNull())
        return;
    m_selected.setDestination(here);
    m_view->setPfHasChangePDF(true);
    m_model->itemChanged(m_model->indexOf(m_selected));
    selectItem(m_selected);
}

void PFOutlineController::pfDoubleClickOutline()
{
    if (m_selected.isNull() || m_popover)
        return;
    if (askSaveFirst("需要保存后"))
        return;
    const QModelIndex index = m_model->indexOf(m_selected);
    if (!index.isValid())
        return;
    const PDFOutline item = m_selected;
    const PDFDestination destination = item.destination();
    const int count = m_view->document().pageCount();

    auto *popover = new PFOutlineEditController(m_tree);
    m_popover = popover;
    popover->setValues(item.label(), destination.isNull() ? QStringLiteral("1") : destination.page().label(), count);
    popover->pfTitleEndEdit = [this, item](const QString &title, bool changed) {
        if (changed)
            m_view->setPfHasChangePDF(true);
        PDFOutline(item).setLabel(title);
        m_model->itemChanged(m_model->indexOf(item));
    };
    popover->pfPageEndEdit = [this, item](const QString &text) {
        const PDFDocument document = m_view->document();
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!PFManager::pfIsNum(text) || !ok || number < 1 || number > document.pageCount())
            return;
        m_view->setPfHasChangePDF(true);
        PDFOutline(item).setDestination(topOf(document.page(number - 1)));
        m_model->itemChanged(m_model->indexOf(item));
    };
    // However the popover goes away, clicks on the tree work again.
    popover->pfDidClose = [this] { m_popover = nullptr; };
    const QRect row = m_tree->visualRect(index);
    popover->adjustSize();
    popover->move(m_tree->viewport()->mapToGlobal(QPoint(row.left(), row.bottom() + 2)));
    popover->show();
    popover->titleField()->setFocus();
}

void PFOutlineController::pfDeleteCatelog()
{
    if (askSaveFirst("需要保存后"))
        return;
    if (m_selected.isNull())
        return;
    const QModelIndex index = m_model->indexOf(m_selected);
    if (!index.isValid())
        return;
    m_model->removeItem(index);
    m_view->setPfHasChangePDF(true);
    m_selected = {};
    m_clicked = {};
}
