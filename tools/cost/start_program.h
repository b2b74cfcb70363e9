// What the cost tools share: a monotonic clock in milliseconds, and starting the program they
// time with its output going nowhere (whoever reads theirs must not wait for it to end).
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

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
