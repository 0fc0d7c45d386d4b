#include "PFToolMenuView.h"

#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QToolButton>

PFToolMenuView::PFToolMenuView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PFToolMenuView"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->addStretch();
    const char *titles[] = {"导出图片", "密码保护", "水印"};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QToolButton(this);
        button->setText(pfLocalized(titles[i]));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, i] {
            if (pfToolClick)
                pfToolClick(i);
        });
        layout->addWidget(button);
    }
    layout->addStretch();
}

QToolButton *PFToolMenuView::button(int index) const
{
    return findChildren<QToolButton *>().value(index);
}
