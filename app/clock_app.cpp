#include "app/clock_app.h"

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include <QSocketNotifier>
#include <QTimer>

#include "clock/clock_dlg.h"
#include "logic/atomic_file.h"
#include "memo/memo_check.h"
#include "platform/application_bus.h"

namespace {

int g_signalPipe[2] = {-1, -1};
// The memos the handler looks at; set before it is installed.
std::atomic<const MemoStore*> g_storeToEnd{nullptr};
static_assert(std::atomic<const MemoStore*>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free,
              "read in the signal handler");

// SIGTERM, SIGINT and SIGHUP must end the clock within a second whatever the GUI thread is
// doing: reading a large memo file, filling the memo dialog, saving. So the handler itself ends
// the process at once (_exit, which is async-signal-safe) when that loses nothing: no memo
// change is waiting for the file and no file is being written. Every write replaces its file in
// one step, so nothing half written remains anyway. Only when something would be lost does the
// event loop end the run, which saves first; then the GUI thread is saving or about to, and no
// other work of it takes long.
void OnTerminationSignal(int) {
    const MemoStore* store = g_storeToEnd.load();
    if ((store == nullptr || !store->dirty()) && !FileWriteInProgress()) {
        ::_exit(0);
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP (log-out, kill) end the clock; unsaved memo changes still reach the
// file, closing it the way Esc does, even while a reminder or the settings are open.
void CloseOnTerminationSignals(CClockDlg& window, QSocketNotifier*& notifier) {
    g_storeToEnd = &window.memoStore();
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
    g_storeToEnd = nullptr;
    return false;
}

int CClockApp::ExitInstance() {
    return 0;
}
