#include "PFPagemarkEditController.h"

#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

PFPagemarkEditController::PFPagemarkEditController(const QString &title, QWidget *parent) : QWidget(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("PFPagemarkEditController"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_field = new QLineEdit(title, this);
    m_field->selectAll();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(new QLabel(pfLocalized("标签"), this));
    layout->addWidget(m_field, 1);
    setMinimumWidth(240);
    connect(m_field, &QLineEdit::returnPressed, this, &QWidget::close);
    m_field->setFocus();
}

void PFPagemarkEditController::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_done = true;
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PFPagemarkEditController::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_done)
        return;
    m_done = true;
    if (pfDoneEdit)
        pfDoneEdit(m_field->text());
}
