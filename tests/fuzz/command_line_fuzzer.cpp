// The command line on any arguments and environment: it always decides, and says what it
// decided the way the manual promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QList>
#include <QStringList>

#include "logic/command_line.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // NUL-separated: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM (unset when empty), then the
    // arguments.
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    const auto part = [&parts](qsizetype i) {
        return i < parts.size() ? QString::fromUtf8(parts[i]) : QString();
    };
    QStringList arguments = {QStringLiteral("kelvarine")};
    for (qsizetype i = 3; i < parts.size(); ++i) {
        arguments << part(i);
    }
    const CommandLineOutcome outcome = ReadCommandLine(arguments, [&part](const char* name) {
        const QByteArray n(name);
        return n == "DISPLAY"           ? part(0)
               : n == "WAYLAND_DISPLAY" ? part(1)
               : n == "QT_QPA_PLATFORM" ? part(2)
                                        : QString();
    });
    if (outcome.run) {
        Require(outcome.out.isEmpty() && outcome.err.isEmpty());
        Require(outcome.action.isEmpty() || outcome.action == u"memos" ||
                outcome.action == u"settings");
    } else if (outcome.exitStatus == 0) {
        Require(!outcome.out.isEmpty() && outcome.err.isEmpty());
    } else {
        // A usage error (2) or no display (1): one line on stderr, nothing on stdout.
        Require(outcome.exitStatus == 1 || outcome.exitStatus == 2);
        Require(outcome.out.isEmpty() && outcome.err.endsWith(u'\n'));
        Require(outcome.err.count(u'\n') == 1);
    }
    return 0;
}
