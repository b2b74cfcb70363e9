#pragma once

#include <functional>

#include <QAction>
#include <QPoint>
#include <QString>

class QMenu;
class QWidget;

// What the clock offers besides its face: the memos, the settings and quitting. Actions of the
// window, so that assistive technology and the desktop's launcher reach them too, and its
// context menu. While a box or dialog waits for an answer, asking for the memos or the
// settings brings that to the front instead.
class ClockActions {
public:
    struct Handlers {
        std::function<void()> memos;
        std::function<void()> settings;
        std::function<void()> quit;
    };
    ClockActions(QWidget& window, const Handlers& handlers);

    void ShowMenu(QPoint screenPoint);
    // Runs the action called `name` ("memos", "settings", "quit"); any other name activates.
    void Run(const QString& name);
    // Brings the clock to the front, with any box it has open.
    void Activate();

private:
    // The handler, or Activate while a modal dialog is open.
    std::function<void()> UnlessModal(std::function<void()> handler);

    QWidget& m_window;
    QAction m_memos;
    QAction m_settings;
    QAction m_quit;
    QMenu* m_menu = nullptr;  // made at its first use, owned by the window
};
