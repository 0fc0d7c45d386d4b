#pragma once

#include <QAccessible>

class QWidget;

// Lets a plain widget tell screen readers what it is when its class says otherwise: a row of
// checkable icon buttons that acts as tabs is a page tab list of page tabs, not a group of
// unnamed check boxes. A widget without a role set here keeps the toolkit's own interface.
class PFAccessibleRoles {
public:
    // Exposes `widget` with `role` (PageTabList or PageTab). Its name is its accessible name, or
    // else its tooltip; a page tab reports its checked state as selected and can be pressed.
    static void setRole(QWidget *widget, QAccessible::Role role);

private:
    static QAccessibleInterface *factory(const QString &className, QObject *object);
};
