#pragma once

#include <QAccessible>

class QWidget;

namespace platform::qt {

// Gives a widget the role a screen reader announces for it, where its class has the wrong one
// (a picture box's frame reads as a window's frame; an announcement is a notification). Set it
// before anything asks for the widget's accessibility, right after creating it.
void setAccessibleRole(QWidget *widget, QAccessible::Role role);

} // namespace platform::qt
