#include "clock/clock_actions.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("CClockDlg", text);
}

}  // namespace

ClockActions::ClockActions(QWidget& window, const Handlers& handlers) : m_window(window) {
    const struct {
        QAction& action;
        const char* name;
        const char* text;
        const char* tip;
        std::function<void()> run;
    } actions[] = {
        {m_memos, "memos", QT_TRANSLATE_NOOP("CClockDlg", "备忘事件…"),
         QT_TRANSLATE_NOOP("CClockDlg", "显示备忘列表"), UnlessModal(handlers.memos)},
        {m_settings, "settings", QT_TRANSLATE_NOOP("CClockDlg", "设置…"),
         QT_TRANSLATE_NOOP("CClockDlg", "选择皮肤和开机自动启动"), UnlessModal(handlers.settings)},
        {m_quit, "quit", QT_TRANSLATE_NOOP("CClockDlg", "退出"),
         QT_TRANSLATE_NOOP("CClockDlg", "关闭时钟"), handlers.quit},
    };
    for (const auto& a : actions) {
        a.action.setObjectName(QLatin1String(a.name));
        a.action.setText(Tr(a.text));
        a.action.setToolTip(Tr(a.tip));
        QObject::connect(&a.action, &QAction::triggered, &window, a.run);
        window.addAction(&a.action);
    }
}

void ClockActions::ShowMenu(QPoint screenPoint) {
    if (m_menu == nullptr) {
        m_menu = new QMenu(&m_window);
        m_menu->addActions({&m_memos, &m_settings});
        m_menu->addSeparator();
        m_menu->addAction(&m_quit);
    }
    m_menu->popup(screenPoint);
}

void ClockActions::Run(const QString& name) {
    for (QAction* action : m_window.actions()) {
        if (action->objectName() == name) {
            action->trigger();
            return;
        }
    }
    Activate();
}

std::function<void()> ClockActions::UnlessModal(std::function<void()> handler) {
    return [this, handler = std::move(handler)] {
        if (QApplication::activeModalWidget() != nullptr) {
            Activate();  // a box is waiting for an answer first
        } else {
            handler();
        }
    };
}

void ClockActions::Activate() {
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}
