#include "PFSaveAlertController.h"

#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PFSaveAlertController::PFSaveAlertController(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PFSaveAlertController"));
    setWindowModality(Qt::WindowModal);
    m_message = new QLabel(this);
    QFont bold = m_message->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    m_message->setFont(bold);
    m_message->setWordWrap(true);
    m_message->setFixedWidth(330);
    auto *hint = new QLabel(pfLocalized("如果不保存"), this);

    const char *titles[3] = {"不保存", "取消", "保存"};
    auto *row = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QPushButton(pfLocalized(titles[i]), this);
        m_buttons[i]->setAutoDefault(false);
        connect(m_buttons[i], &QPushButton::clicked, this, [this, i] { answer(i + 1); });
        if (i == 0)
            row->addStretch();
        row->addWidget(m_buttons[i]);
    }
    m_buttons[2]->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(60, 20, 60, 20);
    layout->addWidget(m_message);
    layout->addWidget(hint);
    layout->addStretch();
    layout->addLayout(row);
}

void PFSaveAlertController::setMessage(const QString &message)
{
    m_message->setText(message);
    // The sheet is 450 wide and as tall as the message needs plus room for the rest.
    const QRect measured = m_message->fontMetrics().boundingRect(QRect(0, 0, 330, 10000), Qt::TextWordWrap, message);
    resize(450, measured.height() + 110);
}

QString PFSaveAlertController::message() const { return m_message->text(); }

QPushButton *PFSaveAlertController::button(Answer answer) const { return m_buttons[answer - 1]; }

void PFSaveAlertController::reject() { answer(Cancel); }

void PFSaveAlertController::answer(int code)
{
    if (pfDoneEdit)
        pfDoneEdit(code);
}
