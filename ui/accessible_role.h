#pragma once
// The role a screen reader announces for a widget whose class says nothing about what it
// shows: Qt reports any QFrame as a frame, which Orca speaks like a window.

#include <QAccessible>

class QWidget;

namespace ui {

// From now on `widget` is reported with `role`, named by its accessibleName and described
// only by its accessibleDescription (not its tooltip again). Call before the widget is
// first asked about, that is before it is shown.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace ui
