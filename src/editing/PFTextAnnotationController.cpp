#include "PFTextAnnotationController.h"

#include "PFNoteIcons.h"

#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

PFTextAnnotationController::PFTextAnnotationController(QWidget *parent)
    : QWidget(parent, Qt::Popup), m_text(new QPlainTextEdit(this)),
      m_iconButton(new QPushButton(pfLocalized("图标"), this)), m_menu(new QMenu(pfLocalized("图标"), this))
{
    setObjectName(QStringLiteral("PFTextAnnotationController"));
    setAttribute(Qt::WA_DeleteOnClose);
    for (int position = 0; position < PFNoteIcons::kCount; ++position) {
        QAction *action = m_menu->addAction(
            QIcon(QStringLiteral(":/resources/icons/%1.svg").arg(QLatin1String(PFNoteIcons::imageName(position)))),
            pfLocalized(PFNoteIcons::labelKey(position)));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, position] { choose(position); });
    }
    m_iconButton->setMenu(m_menu);

    auto *bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(m_iconButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_text);
    layout->addLayout(bar);
    resize(240, 160);
    pfSelectIndex(0);
}

void PFTextAnnotationController::pfSelectIndex(int iconType)
{
    m_position = PFNoteIcons::pfSelectIndex(iconType);
    const QList<QAction *> actions = m_menu->actions();
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == m_position);
}

void PFTextAnnotationController::pfSetText(const QString &text)
{
    if (!text.isEmpty())
        m_text->setPlainText(text);
}

QString PFTextAnnotationController::text() const
{
    return m_text->toPlainText();
}

void PFTextAnnotationController::choose(int position)
{
    pfSelectIndex(PFNoteIcons::iconTypeForPosition(position));
    if (pfTitleEndEdit)
        pfTitleEndEdit(text(), position + 100);
}

void PFTextAnnotationController::showAbove(const QRect &anchor)
{
    move(anchor.center().x() - width() / 2, anchor.top() - height());
    show();
    m_text->setFocus(Qt::PopupFocusReason);
}

void PFTextAnnotationController::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Closing the popover ends the text editing.
    if (m_reported)
        return;
    m_reported = true;
    if (pfTitleEndEdit)
        pfTitleEndEdit(text(), m_position);
}
