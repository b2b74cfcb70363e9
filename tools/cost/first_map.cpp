// Starts a program and prints the milliseconds until the X server maps the first new
// top-level window (a window manager's frame counts): how long a user waits to see it.
// Usage: first_map PROGRAM [ARGS...]; the program is left running, its pid on stderr.
#include <X11/Xlib.h>
#include <sys/select.h>
#include <unistd.h>

#include <cstdio>

#include "start_program.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_map PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "first_map: no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const double start = NowMs();
    if (StartProgram(argv + 1, "first_map") < 0) {
        return 2;
    }
    const int fd = ConnectionNumber(display);
    while (NowMs() - start < 10000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display)) {
                std::printf("%.0f\n", NowMs() - start);
                return 0;
            }
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval wait{0, 10000};
        select(fd + 1, &fds, nullptr, nullptr, &wait);
    }
    std::printf("timeout\n");
    return 1;
}
