// Starts a program and prints the milliseconds until the X server maps the first new
// top-level window (a window manager's frame counts): how long a user waits to see it.
// Usage: first_map PROGRAM [ARGS...]; the program is left running, its pid on stderr.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

static double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

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
    // The program's output goes nowhere: whoever reads ours must not wait for it to end.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[1], &files, nullptr, argv + 1, environ) != 0) {
        std::perror("first_map");
        return 2;
    }
    std::fprintf(stderr, "%d\n", pid);
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
