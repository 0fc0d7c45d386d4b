#include "PFAboutDialog.h"

#include "platform/pdf/PDFDocument.h"
#include "platform/store/Localization.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PFAboutDialog::PFAboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pfAboutDialog"));
    setWindowTitle(pfLocalized("关于 Quirna"));
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->setContentsMargins(28, 24, 28, 18);

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/resources/desktop/org.quirna.Quirna.svg")).pixmap(96, 96));
    icon->setAlignment(Qt::AlignCenter);
    icon->setAccessibleName(QStringLiteral("Quirna"));
    layout->addWidget(icon);

    auto *name = new QLabel(QStringLiteral("<b style=\"font-size:18pt\">Quirna</b>"), this);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    m_version = new QLabel(pfLocalized("版本 %1").arg(QCoreApplication::applicationVersion()), this);
    m_version->setObjectName(QStringLiteral("pfVersion"));
    m_version->setAlignment(Qt::AlignCenter);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_version);

    auto *summary = new QLabel(pfLocalized("PDF 阅读和编辑"), this);
    summary->setAlignment(Qt::AlignCenter);
    layout->addWidget(summary);

    m_licence = new QLabel(this);
    m_licence->setObjectName(QStringLiteral("pfLicence"));
    m_licence->setWordWrap(true);
    m_licence->setAlignment(Qt::AlignCenter);
    m_licence->setOpenExternalLinks(true);
    m_licence->setTextFormat(Qt::RichText);
    m_licence->setText(QStringLiteral("<p>%1</p><p>%2</p>")
                           .arg(pfLocalized("Quirna 是自由软件，依照 GNU Affero 通用公共许可证第 3 版或更新版本发布。")
                                    .toHtmlEscaped(),
                                pfLocalized("使用 MuPDF %1（GNU AGPL 3.0）和 Qt %2（GNU LGPL 3.0）。")
                                    .arg(PDFDocument::engineVersion(), QString::fromLatin1(qVersion()))
                                    .toHtmlEscaped()));
    m_licence->setMinimumWidth(380);
    layout->addWidget(m_licence);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *aboutQt = buttons->addButton(pfLocalized("关于 Qt"), QDialogButtonBox::HelpRole);
    QPushButton *ok = buttons->addButton(pfLocalized("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(aboutQt, &QPushButton::clicked, this, [this] { QApplication::aboutQt(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
