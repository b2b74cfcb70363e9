#include "app/clock_app.h"

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

#include <QSocketNotifier>
#include <QTimer>

#include "clock/clock_dlg.h"
#include "memo/memo_keeper.h"
#include "platform/application_bus.h"

namespace {

// The handler's end of the way to the event loop: all a signal handler may safely do is write.
int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP (log-out, kill, Ctrl+C) end the clock the way Quit does, even while
// a reminder or the settings are open, so an open memo dialog's memos and unsaved changes reach
// the file first.
void CloseOnTerminationSignals(CClockDlg& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
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

}  // namespace

bool CClockApp::InitInstance() {
    MemoKeeper memos(m_services);
    memos.FinishAtExit();
    CClockDlg dlg(m_services, memos);
    CloseOnTerminationSignals(dlg);
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
    dlg.DoModal();
    // However the run ended, the session's end quitting every event loop included.
    memos.Finish();
    return false;
}

int CClockApp::ExitInstance() {
    return 0;
}
