#include "PFAccessibleRoles.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QWidget>

namespace {
const char *const kRoleProperty = "pfAccessibleRole";

class AccessibleRoleWidget : public QAccessibleWidget {
public:
    AccessibleRoleWidget(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role)
    {
        if (role == QAccessible::PageTab)
            addControllingSignal(QStringLiteral("toggled(bool)"));
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? widget()->toolTip() : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget()); button && role() == QAccessible::PageTab) {
            state.selectable = true;
            state.selected = button->isChecked();
            state.checkable = false;
            state.checked = false;
        }
        return state;
    }

    QStringList actionNames() const override
    {
        if (role() == QAccessible::PageTab)
            return {pressAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (auto *button = qobject_cast<QAbstractButton *>(widget()); button && name == pressAction()) {
            button->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};
} // namespace

void PFAccessibleRoles::setRole(QWidget *widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(&PFAccessibleRoles::factory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, int(role));
    // With a reader attached, the widget may already have its toolkit interface (made when it
    // was created or named); drop it so the next query gets ours.
    if (QAccessible::isActive()) {
        QAccessibleInterface *existing = QAccessible::queryAccessibleInterface(widget);
        if (existing && existing->role() != role)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    }
}

QAccessibleInterface *PFAccessibleRoles::factory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new AccessibleRoleWidget(widget, QAccessible::Role(role.toInt()));
}
