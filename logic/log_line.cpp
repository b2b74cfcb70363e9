#include "logic/log_line.h"

#include <cstdarg>
#include <cstdio>

void LogLine(const char* format, ...) {
    // One write for the line, so lines from two threads never interleave.
    char text[1024];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "kelvarine: %s\n", text);
    std::fflush(stderr);
}
