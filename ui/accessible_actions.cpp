#include "ui/accessible_actions.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QLabel>
#include <QWidget>

namespace {

constexpr char kRoleProperty[] = "kelvarineAccessibleRole";

class WidgetActionsAccessible : public QAccessibleWidget {
public:
    WidgetActionsAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    // A label is called by its text, as Qt's own accessible label is.
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        const auto* label = qobject_cast<const QLabel*>(widget());
        return t == QAccessible::Name && own.isEmpty() && label != nullptr ? label->text() : own;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        for (const QAction* action : widget()->actions()) {
            if (!action->objectName().isEmpty() && action->isEnabled()) {
                names << action->objectName();
            }
        }
        return names;
    }

    QString localizedActionName(const QString& name) const override {
        if (const QAction* action = Find(name)) {
            return action->iconText();  // the text without its mnemonic and ellipsis
        }
        return QAccessibleWidget::localizedActionName(name);
    }

    QString localizedActionDescription(const QString& name) const override {
        if (const QAction* action = Find(name)) {
            return action->toolTip();
        }
        return QAccessibleWidget::localizedActionDescription(name);
    }

    void doAction(const QString& name) override {
        if (QAction* action = Find(name)) {
            QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QAction* Find(const QString& name) const {
        for (QAction* action : widget()->actions()) {
            if (action->objectName() == name && action->isEnabled()) {
                return action;
            }
        }
        return nullptr;
    }
};

QAccessibleInterface* WidgetActionsFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = object != nullptr ? object->property(kRoleProperty) : QVariant();
    if (widget == nullptr || !role.isValid()) {
        return nullptr;
    }
    return new WidgetActionsAccessible(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void ExposeToAssistiveTechnology(QWidget& widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(WidgetActionsFactory);
        return true;
    }();
    (void)installed;
    widget.setProperty(kRoleProperty, static_cast<int>(role));
}
