#include "PFLinkFieldController.h"

#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PFLinkFieldController::PFLinkFieldController(const QString &hint, QWidget *parent) : QWidget(parent)
{
    m_hint = new QLabel(hint, this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("pfTextField"));
    m_cancel = new QPushButton(pfLocalized("取消"), this);
    m_ok = new QPushButton(pfLocalized("确定"), this);
    m_ok->setDefault(true);

    m_row = new QHBoxLayout;
    m_row->addWidget(m_hint);
    m_row->addWidget(m_field, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addLayout(m_row);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, this, [this] { finish(QString(), Cancel); });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        const auto [value, type] = report(m_field->text());
        finish(value, type);
    });
    connect(m_field, &QLineEdit::returnPressed, m_ok, &QPushButton::click);
}

void PFLinkFieldController::finish(const QString &value, int type)
{
    if (pfDoneEndEdit)
        pfDoneEndEdit(value, type);
}
