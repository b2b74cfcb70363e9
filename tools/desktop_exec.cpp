// Prints the Exec value that starts the program at the path given, quoted and escaped as the
// clock writes its session entry, for the install step to put in the menu's desktop entry.
#include <cstdio>

#include <QString>

#include "logic/desktop_entry.h"
#include "logic/exec_line.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    const QString value = EscapeValue(QuoteExecArgument(QString::fromLocal8Bit(argv[1])));
    std::fputs(value.toLocal8Bit().constData(), stdout);
    return 0;
}
