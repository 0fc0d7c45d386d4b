#include "PFSignColorWell.h"

#include <QHBoxLayout>
#include <QToolButton>

PFSignColorWell::PFSignColorWell(QWidget *parent)
    : QWidget(parent),
      m_colors{Qt::black, QColor(26, 40, 140), QColor(160, 20, 20), QColor(20, 100, 40), QColor(90, 90, 90)},
      m_color(Qt::black)
{
    setObjectName(QStringLiteral("pfColorWell"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (int i = 0; i < m_colors.size(); ++i) {
        auto *swatch = new QToolButton(this);
        swatch->setCheckable(true);
        swatch->setAutoExclusive(true);
        swatch->setFixedSize(22, 22);
        swatch->setChecked(i == 0);
        swatch->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid #999; }"
                                             "QToolButton:checked { border: 3px solid #3a7bd5; }")
                                  .arg(m_colors[i].name()));
        connect(swatch, &QToolButton::clicked, this, [this, i] { choose(i); });
        row->addWidget(swatch);
        m_swatches.append(swatch);
    }
    row->addStretch();
}

void PFSignColorWell::choose(int index)
{
    m_color = m_colors.value(index, Qt::black);
    emit colorChanged(m_color);
}
