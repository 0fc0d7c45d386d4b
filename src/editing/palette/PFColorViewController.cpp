#include "PFColorViewController.h"

#include "PFColorButton.h"

#include "settings/PFManager.h"
#include "platform/store/Localization.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>

namespace {
const QList<QColor> &presetColors()
{
    static const QList<QColor> colors{QColor(0, 0, 0),     QColor(255, 59, 48),  QColor(255, 149, 0),
                                      QColor(255, 204, 0), QColor(52, 199, 89),  QColor(0, 122, 255),
                                      QColor(175, 82, 222), QColor(255, 255, 255)};
    return colors;
}
} // namespace

PFColorViewController::PFColorViewController(PFManager &manager, QWidget *parent)
    : PFPopover(QSize(366, 110), parent), m_manager(manager)
{
    setObjectName(QStringLiteral("PFColorViewController"));
    pfPickColor = [this](const QColor &initial) {
        return QColorDialog::getColor(initial, this, QString(), QColorDialog::ShowAlphaChannel);
    };
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(10, 6, 10, 6);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(4);
    addRow(1, "字体L");
    addRow(2, "边框");
    addRow(3, "填充");
}

void PFColorViewController::addRow(int number, const char *caption)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const int line = int(m_rows.size());
    Row row{number, {}, nullptr, nullptr, nullptr};
    grid->addWidget(new QLabel(pfLocalized(caption), this), line, 0);
    int column = 1;
    for (const QColor &color : presetColors()) {
        auto *swatch = new PFColorButton(color, this);
        row.presets.append(swatch);
        grid->addWidget(swatch, line, column++);
    }
    row.none = new PFColorButton(Qt::transparent, this);
    row.none->setObjectName(QString::number(kNoColorTag));
    row.custom = new PFColorButton(remembered(number), this);
    row.custom->setObjectName(QString::number(kCustomColorTag));
    row.well = new QToolButton(this);
    row.well->setObjectName(QString::number(kFirstWellTag + number - 1));
    row.well->setAutoRaise(true);
    row.well->setFixedSize(22, 22);
    row.well->setIcon(QIcon(QStringLiteral(":/resources/icons/colorW.svg")));
    row.well->setToolTip(pfLocalized("ColorTo"));
    row.well->setAccessibleName(row.well->toolTip());
    grid->addWidget(row.none, line, column++);
    grid->addWidget(row.custom, line, column++);
    grid->addWidget(row.well, line, column++);
    m_rows.append(row);

    for (PFColorButton *swatch : std::as_const(row.presets))
        connect(swatch, &QToolButton::clicked, this, [this, number, swatch] {
            choose(*rowNumbered(number), swatch->pfInputColor());
        });
    connect(row.none, &QToolButton::clicked, this, [this, number] {
        choose(*rowNumbered(number), QColor(Qt::transparent));
    });
    connect(row.custom, &QToolButton::clicked, this, [this, number] {
        if (pfDoneEdit)
            pfDoneEdit(rowNumbered(number)->custom->pfInputColor(), number);
    });
    connect(row.well, &QToolButton::clicked, this, [this, number] {
        const QColor picked = pfPickColor ? pfPickColor(rowNumbered(number)->custom->pfInputColor()) : QColor();
        if (picked.isValid())
            choose(*rowNumbered(number), picked);
    });
}

void PFColorViewController::choose(Row &row, const QColor &color)
{
    row.custom->setPfInputColor(color);
    remember(row.number, color);
    if (pfDoneEdit)
        pfDoneEdit(color, row.number);
}

void PFColorViewController::pfReloadColors()
{
    for (Row &row : m_rows)
        row.custom->setPfInputColor(remembered(row.number));
}

void PFColorViewController::showEvent(QShowEvent *event)
{
    pfReloadColors();
    PFPopover::showEvent(event);
}

QColor PFColorViewController::remembered(int number) const
{
    switch (number) {
    case 1: return m_manager.pfGetFontMenuColor();
    case 2: return m_manager.pfGetBorderMenuColor();
    default: return m_manager.pfGetFillMenuColor();
    }
}

void PFColorViewController::remember(int number, const QColor &color)
{
    switch (number) {
    case 1: m_manager.pfSetFontMenuColor(color); break;
    case 2: m_manager.pfSetBorderMenuColor(color); break;
    default: m_manager.pfSetFillMenuColor(color); break;
    }
}

PFColorViewController::Row *PFColorViewController::rowNumbered(int number)
{
    for (Row &row : m_rows)
        if (row.number == number)
            return &row;
    return nullptr;
}

const PFColorViewController::Row *PFColorViewController::rowNumbered(int number) const
{
    return const_cast<PFColorViewController *>(this)->rowNumbered(number);
}

QList<PFColorButton *> PFColorViewController::presetButtons(int row) const
{
    const Row *r = rowNumbered(row);
    return r ? r->presets : QList<PFColorButton *>();
}

PFColorButton *PFColorViewController::noColorButton(int row) const
{
    const Row *r = rowNumbered(row);
    return r ? r->none : nullptr;
}

PFColorButton *PFColorViewController::customColorButton(int row) const
{
    const Row *r = rowNumbered(row);
    return r ? r->custom : nullptr;
}

QToolButton *PFColorViewController::colorWell(int row) const
{
    const Row *r = rowNumbered(row);
    return r ? r->well : nullptr;
}
