#include "PFStampSelectViewController.h"

#include "PFStampCatalogue.h"
#include "PFStampCellView.h"

#include "platform/store/Localization.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
constexpr int kColumns = 3;
constexpr int kSpacing = 4;
} // namespace

PFStampSelectViewController::PFStampSelectViewController(QWidget *parent)
    : PFPopover(kSize, parent)
{
    setObjectName(QStringLiteral("PFStampSelectViewController"));
    auto *grid = new QWidget;
    grid->setObjectName(QStringLiteral("pfCollectionView"));
    grid->setAutoFillBackground(true);
    QPalette white = grid->palette();
    white.setColor(QPalette::Window, Qt::white);
    grid->setPalette(white);
    auto *cells = new QGridLayout(grid);
    cells->setContentsMargins(kSpacing, kSpacing, kSpacing, kSpacing);
    cells->setSpacing(kSpacing);
    for (int index = 0; index < PFStampCatalogue::kCount; ++index) {
        auto *cell = new PFStampCellView(index, grid);
        cell->setToolTip(PFStampCatalogue::label(index));
        connect(cell, &PFStampCellView::clicked, this, &PFStampSelectViewController::cellChosen);
        cells->addWidget(cell, index / kColumns, index % kColumns);
        m_cells.append(cell);
    }

    auto *scroll = new QScrollArea;
    scroll->setWidget(grid);
    scroll->setWidgetResizable(false);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);

    m_customButton = new QPushButton(pfLocalized("自定义"));
    m_customButton->setObjectName(QStringLiteral("pfCustomBtn"));
    connect(m_customButton, &QPushButton::clicked, this, [this] {
        if (pfStampPickClick)
            pfStampPickClick();
    });

    auto *layout = new QVBoxLayout(this);
    // The three columns of cells and the scroll bar take the popover's whole width.
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(scroll, 1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(6, 0, 6, 0);
    buttonRow->addStretch();
    buttonRow->addWidget(m_customButton);
    layout->addLayout(buttonRow);
}

void PFStampSelectViewController::cellChosen(int index)
{
    if (pfStampSelectClick)
        pfStampSelectClick(index);
    close();
}
