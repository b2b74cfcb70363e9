#pragma once

// One line of the clock's own on stderr, for the session's log: the program's name, then the
// text formatted as printf does. Every message the clock writes there goes through this.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
