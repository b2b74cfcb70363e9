#include "platform/startup_guard.h"

#include <cstdio>
#include <cstdlib>

#include <QString>

#include "logic/log_line.h"

StartupGuard::StartupGuard() : m_previous(qInstallMessageHandler(&StartupGuard::Handle)) {}

StartupGuard::~StartupGuard() {
    qInstallMessageHandler(m_previous);
    for (const Held& held : s_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        m_previous(held.type, context, held.message);
    }
    s_held.clear();
}

void StartupGuard::Handle(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type != QtFatalMsg) {
        s_held.push_back({type, QByteArray(context.category), message});
        return;
    }
    // What Qt said first is the cause ("could not connect to display", "Could not find the Qt
    // platform plugin"); its fatal text only says that nothing could start.
    const QString cause = !s_held.empty() ? s_held.front().message : message;
    LogLine("cannot start Qt's display support: %s",
            qPrintable(cause.section(QLatin1Char('\n'), 0, 0).trimmed()));
    std::fflush(stderr);
    std::_Exit(1);
}
