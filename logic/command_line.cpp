#include "logic/command_line.h"

#include <QCommandLineParser>

namespace {

const QString kName = QStringLiteral("kelvarine");

CommandLineOutcome End(int status, QString out, QString err) {
    return {false, status, std::move(out), std::move(err), {}, {}, {}};
}

// The user's text in a message of one line: line breaks and other control characters as
// escapes.
QString OneLine(const QString& text) {
    QString line;
    for (const QChar c : text) {
        if (c == u'\n') {
            line += QStringLiteral("\\n");
        } else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                   c == QChar::ParagraphSeparator) {
            line += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            line += c;
        }
    }
    return line;
}

CommandLineOutcome UsageError(const QString& what) {
    return End(2, {}, QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(kName, OneLine(what)));
}

// Whether every platform plugin Qt might pick talks to an X or Wayland server. A list such as
// "wayland;xcb" is tried in order; "offscreen", "vnc" and the like need no server.
bool NeedsDisplayServer(const QString& platforms) {
    if (platforms.isEmpty()) {
        return true;
    }
    for (const QString& entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        if (name != u"xcb" && !name.startsWith(u"wayland")) {
            return false;
        }
    }
    return true;
}

}  // namespace

CommandLineOutcome ReadCommandLine(const QStringList& arguments, const EnvironmentReader& env) {
    QCommandLineParser parser;
    // Qt's own options are single-dash words (-platform offscreen), so no option bundling.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A round analog clock that stays on top of the desktop and rings dated "
                       "memos.\nDouble-click the centre of the face for the settings, anywhere "
                       "else for the memos; Esc quits. Started while a clock runs, it brings "
                       "that clock to the front."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption memos(QStringLiteral("memos"),
                                   QStringLiteral("Open the memos (in the running clock, if one "
                                                  "runs)."));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Open the settings (in the running clock, "
                                                     "if one runs)."));
    const QCommandLineOption platform(
        QStringLiteral("platform"),
        QStringLiteral("Qt platform plugin to use, as QT_QPA_PLATFORM (e.g. xcb, offscreen)."),
        QStringLiteral("name"));
    const QCommandLineOption display(QStringLiteral("display"),
                                     QStringLiteral("X display to use instead of DISPLAY."),
                                     QStringLiteral("display"));
    // Added by X session managers when they restart a program; Qt reads it.
    QCommandLineOption session(QStringLiteral("session"), QString(), QStringLiteral("id"));
    session.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, memos, settings, platform, display, session});

    if (!parser.parse(arguments)) {
        return UsageError(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    }
    if (parser.isSet(help)) {
        // The parser names the executable only once an application object exists.
        const QString options = parser.helpText().section(QLatin1Char('\n'), 1);
        return End(0, QStringLiteral("Usage: %1 [options]\n").arg(kName) + options, {});
    }
    if (parser.isSet(version)) {
        return End(0, QStringLiteral("%1 %2\n").arg(kName, QLatin1String(KELVARINE_VERSION)), {});
    }

    if (parser.isSet(memos) && parser.isSet(settings)) {
        return UsageError(QStringLiteral("--memos and --settings exclude each other."));
    }
    const QString action = parser.isSet(memos)      ? QStringLiteral("memos")
                           : parser.isSet(settings) ? QStringLiteral("settings")
                                                    : QString();

    const QString platforms =
        parser.isSet(platform) ? parser.value(platform) : env("QT_QPA_PLATFORM");
    const QString xDisplay = parser.isSet(display) ? parser.value(display) : env("DISPLAY");
    const bool haveWayland = !env("WAYLAND_DISPLAY").isEmpty();
    if (xDisplay.isEmpty() && !haveWayland && NeedsDisplayServer(platforms)) {
        return End(1, {},
                   QStringLiteral("%1: no display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n")
                       .arg(kName));
    }
    // The clock runs on X, as a Wayland client cannot place its windows: a Wayland platform
    // exported for the whole session gives way to xcb when there is an X display. Only the
    // command line's -platform is taken as meant for the clock itself.
    const bool firstIsX = platforms.section(QLatin1Char(';'), 0, 0) == u"xcb";
    const bool overridden = !parser.isSet(platform) && !platforms.isEmpty() && !firstIsX &&
                            NeedsDisplayServer(platforms) && !xDisplay.isEmpty();
    const bool onX = platforms.isEmpty() || firstIsX || overridden;
    if (onX && xDisplay.isEmpty()) {
        return End(1, {},
                   QStringLiteral("%1: needs an X display (XWayland), and this Wayland session "
                                  "offers none: DISPLAY is not set.\n")
                       .arg(kName));
    }
    CommandLineOutcome outcome;
    outcome.action = action;
    outcome.xDisplay = onX ? xDisplay : QString();
    outcome.overriddenPlatform = overridden ? platforms : QString();
    return outcome;
}
