#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

// While the application object starts, Qt ends the process with a page of text and a core dump
// when its platform plugin is missing or cannot start. While a guard lives such a failure is one
// line on stderr and exit status 1; the messages on the way are held back, and shown as they
// were once the start has gone through.
class StartupGuard {
public:
    StartupGuard();
    ~StartupGuard();
    StartupGuard(const StartupGuard&) = delete;
    StartupGuard& operator=(const StartupGuard&) = delete;

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString message;
    };
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QtMessageHandler m_previous;
    static inline std::vector<Held> s_held;
};
