#include <csignal>
#include <cstdio>

#include <optional>

#include <QApplication>
#include <QLoggingCategory>
#include <QTranslator>

#include "app/clock_app.h"
#include "logic/command_line.h"
#include "logic/log_line.h"
#include "logic/resource_ids.h"
#include "logic/user_file.h"
#include "platform/application_bus.h"
#include "platform/platform_services.h"
#include "platform/qt_translations.h"
#include "platform/single_instance.h"
#include "platform/startup_guard.h"
#include "platform/x11_desktop.h"
#include "ui/calendar_accessible.h"
#include "ui/tell.h"

namespace {

// A clock that has just taken the lock needs a moment before it answers on the bus.
constexpr int kWaitForRunningClockMs = 3000;

}  // namespace

int main(int argc, char** argv) {
    // A file size limit then fails the write (EFBIG) instead of killing the clock mid-save.
    std::signal(SIGXFSZ, SIG_IGN);

    // Read before the application object exists: it would need a display, and abort without.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(QString::fromLocal8Bit(argv[i]));
    }
    const CommandLineOutcome command =
        ReadCommandLine(arguments, [](const char* name) { return qEnvironmentVariable(name); });
    std::fputs(command.out.toLocal8Bit().constData(), stdout);
    std::fputs(command.err.toLocal8Bit().constData(), stderr);
    if (!command.run) {
        return command.exitStatus;
    }

    const bool xReachable = !command.xDisplay.isEmpty() && x11::CanConnect(command.xDisplay);
    const bool overriding = xReachable && !command.overriddenPlatform.isEmpty();
    if (overriding) {
        LogLine("QT_QPA_PLATFORM=%s ignored: the clock needs X11 and uses the X display %s",
                command.overriddenPlatform.toLocal8Bit().constData(),
                command.xDisplay.toLocal8Bit().constData());
    } else if (!xReachable && !command.xDisplay.isEmpty() && command.overriddenPlatform.isEmpty()) {
        // (Without X to fall back on, an overridden platform is tried as asked.)
        LogLine("cannot open the X display %s", command.xDisplay.toLocal8Bit().constData());
        return 1;
    }
    // Two top-level windows cannot be placed or kept together by a Wayland client.
    if (overriding || (xReachable && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    std::optional<StartupGuard> startup(std::in_place);
    QApplication app(argc, argv);
    startup.reset();
    // Window managers send client messages Qt does not handle (openbox, at every start:
    // _KDE_WM_CHANGE_STATE), and Qt warns of each; QT_LOGGING_RULES still shows them.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.xcb.warning=false"));
    QApplication::setApplicationName(QStringLiteral("kelvarine"));
    QApplication::setApplicationVersion(QStringLiteral(KELVARINE_VERSION));
    // Lets desktops match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVARINE_APP_ID));
    // The memo dialog's calendar reads as dates under the days' names.
    InstallCalendarAccessibility();
    QTranslator ownTranslations;
    QTranslator qtTranslations;
    InstallTranslations(ownTranslations, qtTranslations);

    PlatformServices platform;
    // Two clocks would each rewrite the memo file from their own list and lose memos: a second
    // start hands its wish to the clock that runs, as a desktop's launcher expects.
    const QString memoFolder = FolderOf(platform.services().paths.memoFile);
    std::optional<SingleInstanceLock> lock(std::in_place, memoFolder);
    ApplicationBus bus(BusNameFor(memoFolder));  // the clock of this folder, not of another
    if (lock->heldElsewhere()) {
        switch (AskRunningClock(bus.name(), command.action, kWaitForRunningClockMs)) {
            case BusRequest::Delivered:
                break;
            case BusRequest::NoBus:
                LogLine("already running (no session bus to reach it)");
                break;
            case BusRequest::NoClock:
                LogLine("already running");
                break;
        }
        return 0;
    }
    if (!lock->acquired()) {
        // Running unlocked could let a second clock write the same memos.
        const QString text =
            QCoreApplication::translate("main",
                                        "The clock cannot lock the folder of its memos, %1: %2.\n\n"
                                        "It does not start, so that no second clock can write "
                                        "the same memo file.")
                .arg(memoFolder, lock->reason());
        Tell(platform.services(), nullptr, text);
        return 1;
    }
    const ApplicationBus::Registration registration = bus.Register();
    // The name's owner is a clock that still serves this folder's path from the folder a restore
    // moved away; it takes this folder's lock as it handles the request, so the start is its,
    // and the lock is let go first: held, that clock would take itself for the one replaced.
    if (registration == ApplicationBus::Registration::NameOwned) {
        lock.reset();
        if (AskRunningClock(bus.name(), command.action, 0) == BusRequest::Delivered) {
            LogLine(
                "the clock of this memo folder runs in process %u: the start "
                "went to it",
                bus.ownerPid());
            return 0;
        }
        lock.emplace(memoFolder);
        if (!lock->acquired()) {
            LogLine("already running");
            return 0;
        }
    }
    if (registration != ApplicationBus::Registration::Done) {
        LogLine("later starts cannot reach this clock: %s", bus.reason().toLocal8Bit().constData());
    }

    // The lock follows the memo folder should it be moved or replaced while the clock runs.
    Services services = platform.services();
    services.memoFolderLock = &*lock;
    CClockApp theApp(services, &bus, command.action);
    theApp.InitInstance();
    return theApp.ExitInstance();
}
