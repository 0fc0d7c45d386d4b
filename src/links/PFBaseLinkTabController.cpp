#include "PFBaseLinkTabController.h"

#include "PFLinkEmailController.h"
#include "PFLinkNumController.h"
#include "PFLinkURLController.h"

#include "platform/store/Localization.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

PFBaseLinkTabController::PFBaseLinkTabController(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pfLinkTab"));
    setWindowTitle(pfLocalized("链接"));
    m_tabs = new QTabWidget(this);
    m_num = new PFLinkNumController(m_tabs);
    m_email = new PFLinkEmailController(m_tabs);
    m_url = new PFLinkURLController(m_tabs);
    m_tabs->addTab(m_num, pfLocalized("Page"));
    m_tabs->addTab(m_email, pfLocalized("Email"));
    m_tabs->addTab(m_url, pfLocalized("Website"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_tabs);
    resize(470, 160);

    for (PFLinkFieldController *page : {static_cast<PFLinkFieldController *>(m_num),
                                        static_cast<PFLinkFieldController *>(m_email),
                                        static_cast<PFLinkFieldController *>(m_url)})
        page->pfDoneEndEdit = [this](const QString &value, int type) { report(value, type); };
    // The field of the tab shown takes the keyboard.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto *page = qobject_cast<PFLinkFieldController *>(m_tabs->widget(index)))
            page->pfTextField()->setFocus();
    });
    m_num->pfTextField()->setFocus();
}

void PFBaseLinkTabController::pfSetTotalPageNum(int count) { m_num->pfSetTotalPageNum(count); }

void PFBaseLinkTabController::pfHideCon() { done(QDialog::Accepted); }

void PFBaseLinkTabController::report(const QString &value, int type)
{
    if (pfDoneLinkEdit)
        pfDoneLinkEdit(value, type);
    pfHideCon();
}
