#include "platform/store/Localization.h"
#include "PFHighlightController.h"

#include "PFHighlightListModel.h"
#include "PFHighlightRows.h"
#include "PFMainHighlightCell.h"

#include "editing/PFBasePDFView.h"
#include "platform/system/DateFormatter.h"
#include "platform/system/BackgroundPool.h"

#include <QListView>
#include <QVBoxLayout>
#include <QtConcurrent>

PFHighlightController::PFHighlightController(PFBasePDFView *view, QWidget *parent)
    : QWidget(parent), m_view(view), m_table(new QListView(this)), m_model(new PFHighlightListModel(this)),
      m_cell(new PFMainHighlightCell(this))
{
    m_table->setObjectName(QStringLiteral("pfHighlightTable"));
    m_table->setAccessibleName(pfLocalized("Highlights and Notes"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(m_cell);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Rows are laid out in batches, so that thousands of them never hold up the window.
    m_table->setLayoutMode(QListView::Batched);
    m_table->setBatchSize(200);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    connect(m_table, &QListView::clicked, this, &PFHighlightController::rowChosen);
    connect(&m_watcher, &QFutureWatcher<QVector<PFHighlightModel>>::finished, this,
            &PFHighlightController::fillFinished);
    connect(m_view, &PFBasePDFView::pfHasChangeAnnotation, this, &PFHighlightController::pfFillHighlightTable);
    connect(m_view, &PDFView::documentChanged, this, &PFHighlightController::documentMaybeReplaced);
    setDark(false);
    documentMaybeReplaced();
}

PFHighlightController::~PFHighlightController()
{
    if (m_cancel)
        m_cancel->store(true);
    m_watcher.waitForFinished();
}

const QVector<PFHighlightModel> &PFHighlightController::pfHighlightArray() const { return m_model->rows(); }

void PFHighlightController::documentMaybeReplaced()
{
    if (m_view->document() == m_document)
        return;
    m_document = m_view->document();
    pfFillHighlightTable();
}

void PFHighlightController::pfFillHighlightTable()
{
    if (m_watcher.isRunning()) {
        m_fillAgain = true; // the walk under way may have missed this change
        return;
    }
    m_fillAgain = false;
    const PDFDocument document = m_view->document();
    if (document.isNull()) {
        pfUpdateData({});
        return;
    }
    m_cancel = std::make_shared<std::atomic_bool>(false);
    const QLocale locale = DateFormatter::instance().locale();
    m_watcher.setFuture(QtConcurrent::run(backgroundPool(), [document, locale, cancel = m_cancel] {
        return PFHighlightRows::pfBuildRows(document, locale, cancel.get());
    }));
}

void PFHighlightController::fillFinished()
{
    if (m_fillAgain || m_watcher.future().resultCount() == 0) {
        pfFillHighlightTable();
        return;
    }
    if (!(m_view->document() == m_document))
        return; // a walk of a document no longer shown; the new one has its own
    pfUpdateData(m_watcher.result());
}

void PFHighlightController::pfUpdateData(QVector<PFHighlightModel> rows)
{
    // The selection follows its annotation into the new rows.
    const QModelIndex current = m_table->currentIndex();
    const PDFAnnotation selected = current.isValid() ? m_model->row(current.row()).annotationTemp : PDFAnnotation();
    m_model->setRows(std::move(rows));
    const int row = m_model->rowOf(selected);
    if (row >= 0)
        m_table->setCurrentIndex(m_model->index(row));
    emit rowsFilled();
}

void PFHighlightController::rowChosen(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const PFHighlightModel &row = m_model->row(index.row());
    if (row.isHeader())
        return;
    const PDFPage page = row.annotationTemp.page();
    if (page.isNull())
        return; // removed since the list was filled; the next refill drops it
    m_view->goToRect(row.positionFrame, page);
    m_view->pfSelectAnnotation(row.annotationTemp);
}

void PFHighlightController::setDark(bool dark)
{
    m_cell->setDark(dark);
    QPalette palette = m_table->palette();
    palette.setColor(QPalette::Base, dark ? QColor(28, 32, 35) : QColor(Qt::white));
    m_table->setPalette(palette);
    pfRefreshDarkColor();
}

void PFHighlightController::pfRefreshDarkColor() { m_table->viewport()->update(); }
