#include "PFTabButton.h"

#include "PFAccessibleRoles.h"

PFTabButton::PFTabButton(QWidget *parent) : QToolButton(parent)
{
    setCheckable(true);
    PFAccessibleRoles::setRole(this, QAccessible::PageTab);
}
