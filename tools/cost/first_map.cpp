// Starts a program and prints the milliseconds until the X server maps the first new
// top-level window (a window manager's frame counts): how long a user waits to see it.
// Usage: first_map PROGRAM [ARGS...]; the program is left running, its pid on stderr.
#include <X11/Xlib.h>

#include <cstdio>

#include "cost_support.h"

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
    if (NextMapped(display, {}, start, 10000) != None) {
        std::printf("%.0f\n", NowMs() - start);
        return 0;
    }
    std::printf("timeout\n");
    return 1;
}
