#include "app/clock_app.h"

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <QSocketNotifier>
#include <QTimer>

#include "clock/clock_dlg.h"
#include "memo/memo_check.h"
#include "platform/application_bus.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP (log-out, kill) close the clock the way Esc does, so unsaved memo
// changes still reach the file, even while a reminder or the settings are open.
void CloseOnTerminationSignals(CClockDlg& window, QSocketNotifier*& notifier) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) {
        return;
    }
    notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
        window.EndRun();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &action, nullptr);
    }
}

// When the X connection breaks (the server ended before the session's SIGTERM got here, or
// crashed) Qt, like Xlib, ends the process with exit() from inside its event processing: no
// event, signal or destructor of ours runs then, but exit()'s handlers do, whichever path
// called it. Saving is plain file work, which needs no display.
MemoStore* g_memosToSave = nullptr;
const Services* g_savingServices = nullptr;

void SaveMemosAtExit() {
    if (g_memosToSave != nullptr) {
        SaveMemos(*g_memosToSave, *g_savingServices, nullptr, SaveMoment::Ending);
    }
}

}  // namespace

bool CClockApp::InitInstance() {
    CClockDlg dlg(m_services);
    QSocketNotifier* notifier = nullptr;
    CloseOnTerminationSignals(dlg, notifier);
    // Queued: a dialog opened in answer must not hold up the caller's reply.
    if (m_bus != nullptr) {
        QObject::connect(m_bus, &ApplicationBus::activateRequested, &dlg, &CClockDlg::Activate,
                         Qt::QueuedConnection);
        QObject::connect(m_bus, &ApplicationBus::actionRequested, &dlg, &CClockDlg::RunAction,
                         Qt::QueuedConnection);
    }
    if (!m_startAction.isEmpty()) {
        QTimer::singleShot(0, &dlg, [&dlg, this] { dlg.RunAction(m_startAction); });
    }
    static const bool registered = std::atexit(SaveMemosAtExit) == 0;
    if (registered) {
        g_memosToSave = &dlg.memoStore();
        g_savingServices = &m_services;
    }
    dlg.DoModal();
    g_memosToSave = nullptr;
    return false;
}

int CClockApp::ExitInstance() {
    return 0;
}
