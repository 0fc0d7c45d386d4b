#include "PFTabList.h"

#include "PFAccessibleRoles.h"

PFTabList::PFTabList(QWidget *parent) : QWidget(parent) { PFAccessibleRoles::setRole(this, QAccessible::PageTabList); }
