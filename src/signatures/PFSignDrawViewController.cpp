#include "PFSignDrawViewController.h"

#include "PFSignColorWell.h"
#include "PFSignDrawView.h"

#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {
const QString kDrawWidthKey = QStringLiteral("signDrawWidth");
} // namespace

PFSignDrawViewController::PFSignDrawViewController(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_defaults(defaults)
{
    setObjectName(QStringLiteral("PFSignDrawViewController"));
    m_drawView = new PFSignDrawView;
    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setObjectName(QStringLiteral("pfWidthSlider"));
    m_slider->setRange(1, 12);
    m_slider->setValue(2);
    m_colorWell = new PFSignColorWell;
    m_done = new QPushButton(pfLocalized("完成"));
    m_close = new QPushButton(pfLocalized("关闭"));
    m_clear = new QPushButton(pfLocalized("清除"));

    if (m_defaults.contains(kDrawWidthKey)) {
        bool ok = false;
        const int width = m_defaults.value(kDrawWidthKey).toString().toInt(&ok);
        if (ok && width >= m_slider->minimum() && width <= m_slider->maximum()) {
            m_slider->setValue(width);
            m_drawView->pfRefreshWidth(width);
        }
    }

    auto *settings = new QHBoxLayout;
    settings->addWidget(new QLabel(pfLocalized("宽度")));
    settings->addWidget(m_slider, 1);
    settings->addWidget(new QLabel(pfLocalized("颜色")));
    settings->addWidget(m_colorWell);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(m_close);
    buttons->addWidget(m_done);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(m_drawView, 1);
    layout->addLayout(buttons);

    connect(m_slider, &QSlider::valueChanged, this, &PFSignDrawViewController::pfSliderChange);
    connect(m_colorWell, &PFSignColorWell::colorChanged, m_drawView, &PFSignDrawView::pfRefreshColor);
    connect(m_clear, &QPushButton::clicked, m_drawView, &PFSignDrawView::pfResetView);
    connect(m_done, &QPushButton::clicked, this, [this] {
        if (pfDoneEndEdit)
            pfDoneEndEdit(m_drawView->pfGetimageData(), false);
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (pfDoneEndEdit)
            pfDoneEndEdit(QImage(), true);
    });
}

void PFSignDrawViewController::pfSliderChange(int value)
{
    m_drawView->pfRefreshWidth(value);
    m_defaults.setValue(kDrawWidthKey, QString::number(value));
}
