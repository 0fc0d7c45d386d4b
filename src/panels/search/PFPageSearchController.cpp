#include "PFPageSearchController.h"

#include "PFPageSearchCellDelegate.h"
#include "PFPageSearchListModel.h"

#include <QGuiApplication>
#include <QListView>
#include <QVBoxLayout>

PFPageSearchController::PFPageSearchController(QWidget *parent)
    : QWidget(parent), m_model(new PFPageSearchListModel(this)), m_delegate(new PFPageSearchCellDelegate(this)),
      m_table(new QListView(this))
{
    setObjectName(QStringLiteral("pfPageSearch"));
    m_table->setObjectName(QStringLiteral("pfTableView"));
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

void PFPageSearchController::pfClearAllData() { m_model->clear(); }

void PFPageSearchController::pfAddSelection(const PDFSelection &match)
{
    if (m_model->append(match))
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
}
