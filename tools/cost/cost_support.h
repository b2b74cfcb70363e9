// What the cost tools share: a monotonic clock in milliseconds, starting the program they time
// with its output going nowhere (whoever reads theirs must not wait for it to end), and waiting
// for the X server to map a new top-level window.
#pragma once

#include <X11/Xlib.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <set>

extern char** environ;

inline double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Starts argv[0] with its arguments and prints its pid on stderr; -1 when it cannot start.
inline pid_t StartProgram(char** argv, const char* tool) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, argv[0], &files, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&files);
    if (!started) {
        std::perror(tool);
        return -1;
    }
    std::fprintf(stderr, "%d\n", pid);
    return pid;
}

// The next top-level window mapped (a window manager's frame counts) that is not in `seen`, or
// None once `timeoutMs` have passed since `start`. The root window must be selected for
// SubstructureNotify.
inline Window NextMapped(Display* display, const std::set<Window>& seen, double start,
                         double timeoutMs) {
    const int fd = ConnectionNumber(display);
    while (NowMs() - start < timeoutMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display) &&
                seen.count(event.xmap.window) == 0) {
                return event.xmap.window;
            }
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval wait{0, 5000};
        select(fd + 1, &fds, nullptr, nullptr, &wait);
    }
    return None;
}
