#include <csignal>
#include <cstdio>

#include <QApplication>

#include "app/clock_app.h"
#include "platform/platform_services.h"
#include "platform/single_instance.h"

int main(int argc, char** argv) {
    // A file size limit then fails the write (EFBIG) instead of killing the clock mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    // Two top-level windows cannot be placed or kept together by a Wayland client.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvarine"));

    PlatformServices platform;
    // Two clocks would each rewrite the memo file from their own list and lose memos.
    SingleInstanceLock lock(platform.services().paths.lockFile);
    if (lock.heldElsewhere()) {
        std::fprintf(stderr, "kelvarine: already running\n");
        return 0;
    }

    CClockApp theApp(platform.services());
    theApp.InitInstance();
    return theApp.ExitInstance();
}
