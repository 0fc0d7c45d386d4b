#include "PFSignMyViewController.h"

#include "PFDataManager.h"
#include "PFSignCollectionItem.h"

#include "platform/store/Localization.h"

#include <QGridLayout>
#include <algorithm>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

PFSignMyViewController::PFSignMyViewController(PFDataManager &store, QWidget *parent)
    : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("PFSignMyViewController"));
    m_grid = new QWidget;
    m_grid->setObjectName(QStringLiteral("pfCollectionView"));
    m_gridLayout = new QGridLayout(m_grid);
    m_gridLayout->setContentsMargins(6, 6, 6, 6);
    m_gridLayout->setSpacing(6);
    m_gridLayout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_grid);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_close = new QPushButton(pfLocalized("关闭"));
    m_close->setObjectName(QStringLiteral("pfCloseBtn"));
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (pfDoneEndEdit)
            pfDoneEndEdit(std::nullopt, true);
    });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    reload();
}

void PFSignMyViewController::reload()
{
    m_entries = m_store.pfGetAllSignData();
    rebuildGrid();
}

void PFSignMyViewController::rebuildGrid()
{
    qDeleteAll(m_items);
    m_items.clear();
    // Two columns, narrowed when the tab is too narrow for the full item width.
    const int room = (width() - 50) / kColumns;
    const int full = m_entries.size() < 7 ? 216 : 206;
    const QSize size(room > 120 ? std::min(full, room) : full, PFSignCollectionItem::kHeight);
    for (int i = 0; i < m_entries.size(); ++i) {
        auto *item = new PFSignCollectionItem(m_entries[i], i, size, m_grid);
        connect(item, &PFSignCollectionItem::chosen, this, [this](int index) {
            if (pfDoneEndEdit && index >= 0 && index < m_entries.size())
                pfDoneEndEdit(m_entries[index], false);
        });
        connect(item, &PFSignCollectionItem::pfDeleteClick, this, &PFSignMyViewController::pfCellDeleteClick,
                Qt::QueuedConnection); // the item deletes itself with the grid
        m_gridLayout->addWidget(item, i / kColumns, i % kColumns);
        m_items.append(item);
    }
}

void PFSignMyViewController::pfCellDeleteClick(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    const std::optional<QString> key = m_entries[index].dateID;
    if (!key || !m_store.pfDeleteSignData(*key))
        return;
    // Records sharing the key went with it.
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const PFSignParameterModel &entry) { return entry.dateID == key; }),
                    m_entries.end());
    rebuildGrid();
}

void PFSignMyViewController::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rebuildGrid(); // the items' width follows the tab's
}
