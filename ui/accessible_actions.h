#pragma once

#include <QAccessible>

class QWidget;

// Lets assistive technology see a widget as `role` and trigger what it offers through its
// actions (QWidget::actions()): each action with an object name is an accessible action of that
// name, called by its text. Triggered later, from the event loop, so that a dialog an action
// opens does not hold up the screen reader that asked for it. Call before the widget's
// accessible name or anything else of its accessibility is set.
void ExposeToAssistiveTechnology(QWidget& widget, QAccessible::Role role);
