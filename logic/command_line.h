#pragma once

#include <functional>

#include <QString>
#include <QStringList>

// The command line, read before any window exists: help and version need no display and must
// not take the one-clock lock, and a missing display, or a Wayland session without the X
// display the clock needs, is said in one line rather than by Qt's abort.

struct CommandLineOutcome {
    bool run = true;     // start the clock; otherwise end at once with exitStatus
    int exitStatus = 0;  // 0 for help and version, 2 for a usage error, 1 without a display
    QString out;         // for stdout
    QString err;         // for stderr, one line
    QString action;      // a dialog to open once the clock runs: "memos", "settings" or none
    QString xDisplay;    // the X display Qt will open, to try first; empty when not on X
    // QT_QPA_PLATFORM as the environment gave it, when it names a desktop platform other than
    // xcb: the clock uses xcb instead wherever xDisplay can be reached.
    QString overriddenPlatform;
};

// Reads one environment variable; empty when unset.
using EnvironmentReader = std::function<QString(const char* name)>;

// `arguments` as the process got them, its name first. Qt's own -platform, -display and
// -session pass through to the application object.
CommandLineOutcome ReadCommandLine(const QStringList& arguments, const EnvironmentReader& env);
