#include "AccessibleRole.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace platform::qt {
namespace {

constexpr char RoleProperty[] = "accessibleRole";

QAccessibleInterface *byRoleProperty(const QString &, QObject *object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(RoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Role(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget *widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(byRoleProperty);
        return true;
    }();
    (void)installed;
    widget->setProperty(RoleProperty, int(role));
}

} // namespace platform::qt
