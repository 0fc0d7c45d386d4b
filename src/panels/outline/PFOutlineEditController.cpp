#include "PFOutlineEditController.h"

#include "platform/store/Localization.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

PFOutlineEditController::PFOutlineEditController(QWidget *parent) : QWidget(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("PFOutlineEditController"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("pfTitleField"));
    m_page = new QLineEdit(this);
    m_page->setObjectName(QStringLiteral("pfPageField"));
    m_page->setMaximumWidth(70);
    m_total = new QLabel(this);
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(pfLocalized("标签"), this), 0, 0);
    grid->addWidget(m_title, 0, 1, 1, 2);
    grid->addWidget(new QLabel(pfLocalized("页面L"), this), 1, 0);
    grid->addWidget(m_page, 1, 1);
    grid->addWidget(m_total, 1, 2);
    setMinimumWidth(260);

    connect(m_page, &QLineEdit::textEdited, this, [this] { m_pageTyped = true; });
    connect(m_title, &QLineEdit::returnPressed, this, &QWidget::close);
    connect(m_page, &QLineEdit::returnPressed, this, &QWidget::close);
}

void PFOutlineEditController::setValues(const QString &title, const QString &page, int pageCount)
{
    m_startTitle = title;
    m_title->setText(title);
    m_page->setText(page);
    m_total->setText(QStringLiteral("/%1").arg(pageCount));
    m_title->selectAll();
    m_title->setFocus();
}

void PFOutlineEditController::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_done = true; // nothing is changed
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PFOutlineEditController::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    commit();
}

void PFOutlineEditController::commit()
{
    const bool cancelled = m_done;
    m_done = true;
    if (!cancelled) {
        if (pfTitleEndEdit)
            pfTitleEndEdit(m_title->text(), m_title->text() != m_startTitle);
        if (pfPageEndEdit && m_pageTyped && m_page->text().trimmed().toInt() >= 1)
            pfPageEndEdit(m_page->text().trimmed());
    }
    if (pfDidClose) {
        auto didClose = std::move(pfDidClose);
        pfDidClose = nullptr;
        didClose();
    }
}
