#include "PFWidthViewController.h"

#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

PFWidthViewController::PFWidthViewController(QWidget *parent)
    : PFPopover(QSize(240, 60), parent), m_slider(new QSlider(Qt::Horizontal, this)), m_field(new QLineEdit(this))
{
    setObjectName(QStringLiteral("PFWidthViewController"));
    m_slider->setRange(kMinimumWidth, kMaximumWidth);
    m_field->setReadOnly(true);
    m_field->setFixedWidth(36);
    m_field->setAlignment(Qt::AlignCenter);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(new QLabel(pfLocalized("宽度"), this));
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_field);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_field->setText(QString::number(value));
        if (pfDoneEdit)
            pfDoneEdit(value);
    });
}

void PFWidthViewController::pfSetLineWidth(double width)
{
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(qRound(width));
    m_field->setText(QString::asprintf("%.0f", width));
}
