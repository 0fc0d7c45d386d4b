#include "PFPasswordEditController.h"
#include "widgets/PFEscapeCloses.h"

#include "platform/store/Localization.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PFPasswordEditController::PFPasswordEditController(QWidget *parent)
    : QWidget(parent), m_docTextField(new QLineEdit), m_printextField(new QLineEdit),
      m_copyBox(new QCheckBox(pfLocalized("复制"))), m_printBox(new QCheckBox(pfLocalized("打印L")))
{
    // A tool window closes with Escape, as a dialog does.
    PFEscapeCloses::install(this);
    resize(470, 190);
    m_docTextField->setObjectName(QStringLiteral("pfDocTextField"));
    m_printextField->setObjectName(QStringLiteral("pfPrintextField"));
    m_copyBox->setObjectName(QStringLiteral("pfPrintBtn"));
    m_printBox->setObjectName(QStringLiteral("pfCopyBtn"));
    m_docTextField->setEchoMode(QLineEdit::Password);
    m_printextField->setEchoMode(QLineEdit::Password);
    auto *save = new QPushButton(pfLocalized("保存"));
    save->setObjectName(QStringLiteral("pfSaveHint"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(pfLocalized("文档密码")), 0, 0);
    grid->addWidget(m_docTextField, 0, 1, 1, 2);
    grid->addWidget(new QLabel(pfLocalized("权限密码")), 1, 0);
    grid->addWidget(m_printextField, 1, 1, 1, 2);
    grid->addWidget(m_copyBox, 2, 1);
    grid->addWidget(m_printBox, 2, 2);
    grid->addWidget(save, 3, 2);
    connect(save, &QPushButton::clicked, this, &PFPasswordEditController::pfSaveClick);
}

void PFPasswordEditController::pfSaveClick()
{
    const QString document = m_docTextField->text();
    const QString permissions = m_printextField->text();
    if (document.isEmpty() && permissions.isEmpty()) {
        close();
        return;
    }
    if (pfDoneEdit)
        pfDoneEdit(document, permissions, m_copyBox->isChecked(), m_printBox->isChecked());
}
