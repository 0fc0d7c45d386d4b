#include "PFDrawButton.h"

PFDrawButton::PFDrawButton(int tag, const QString &normalImage, const QString &chosenImage, QWidget *parent)
    : QToolButton(parent), m_tag(tag), m_normalImage(normalImage), m_chosenImage(chosenImage)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; background: transparent; }"));
    setIcon(iconNamed(m_normalImage));
}

void PFDrawButton::pfSetChosen(bool chosen)
{
    m_chosen = chosen;
    setIcon(iconNamed(imageName()));
}

QIcon PFDrawButton::iconNamed(const QString &name)
{
    return QIcon(QStringLiteral(":/resources/icons/%1.svg").arg(name));
}
