#include "PFPageSearchController.h"

#include "PFPageSearchCellDelegate.h"
#include "PFPageSearchListModel.h"
#include "platform/store/Localization.h"

#include <QGuiApplication>
#include <QListView>
#include <QVBoxLayout>

PFPageSearchController::PFPageSearchController(QWidget *parent)
    : QWidget(parent), m_model(new PFPageSearchListModel(this)), m_delegate(new PFPageSearchCellDelegate(this)),
      m_table(new QListView(this))
{
    setObjectName(QStringLiteral("pfPageSearch"));
    m_table->setObjectName(QStringLiteral("pfTableView"));
    m_table->setAccessibleName(pfLocalized("Search"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(m_delegate);
    m_table->setUniformItemSizes(true);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    // A click chooses on release; keys moving the current row choose at once. The press of a
    // click also moves the current row, which is left to the click.
    connect(m_table, &QListView::clicked, this, [this](const QModelIndex &index) { chooseRow(index.row()); });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &index) {
        if (!m_selecting && index.isValid() && QGuiApplication::mouseButtons() == Qt::NoButton)
            chooseRow(index.row());
    });
}

const QVector<PDFSelection> &PFPageSearchController::pfSearchArray() const { return m_model->matches(); }

void PFPageSearchController::pfClearAllData()
{
    m_model->clear();
    m_chosenSinceClear = false;
}

bool PFPageSearchController::pfChooseNext(int step)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return false;
    const int current = m_table->currentIndex().isValid() ? m_table->currentIndex().row() : -1;
    int row = current;
    if (current < 0)
        row = step < 0 ? count - 1 : 0;
    else if (m_chosenSinceClear)
        row = ((current + step) % count + count) % count;
    m_selecting = true;
    m_table->setCurrentIndex(m_model->index(row, 0));
    m_table->scrollTo(m_model->index(row, 0));
    m_selecting = false;
    chooseRow(row);
    return true;
}

void PFPageSearchController::pfAddSelection(const PDFSelection &match, const PDFSearchPreview &preview)
{
    if (m_model->append(match, preview))
        selectRememberedRow();
}

void PFPageSearchController::selectRememberedRow()
{
    const QModelIndex index = m_model->index(m_selectRow, 0);
    if (!index.isValid() || m_table->currentIndex() == index)
        return;
    m_selecting = true;
    m_table->setCurrentIndex(index);
    m_selecting = false;
}

void PFPageSearchController::chooseRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    emit pfPageSearchSelect(m_model->matches()[row]);
    m_selectRow = row;
    m_chosenSinceClear = true;
}
