#include <map>

#include <gtest/gtest.h>

#include "logic/command_line.h"

namespace {

struct Env {
    std::map<QString, QString> env;
    CommandLineOutcome operator()(QStringList arguments) const {
        arguments.prepend("/usr/bin/kelvarine");
        return ReadCommandLine(arguments, [this](const char* name) {
            const auto it = env.find(QString::fromLatin1(name));
            return it == env.end() ? QString() : it->second;
        });
    }
};

const Env kNoDisplay{};
const Env kX11{{{"DISPLAY", ":0"}}};

bool IsOneLine(const QString& text) {
    return text.endsWith('\n') && text.count('\n') == 1;
}

TEST(CommandLine, helpAndVersionAnswerWithoutADisplay) {
    for (const char* option : {"--help", "-h", "-help"}) {
        const CommandLineOutcome help = kNoDisplay({option});
        EXPECT_FALSE(help.run) << option;
        EXPECT_EQ(help.exitStatus, 0) << option;
        EXPECT_TRUE(help.err.isEmpty()) << option;
        EXPECT_TRUE(help.out.startsWith("Usage: kelvarine [options]\n")) << help.out.toStdString();
        for (const char* listed :
             {"--help", "--version", "--memos", "--settings", "--platform <name>", "--display"}) {
            EXPECT_TRUE(help.out.contains(listed)) << listed;
        }
        EXPECT_FALSE(help.out.contains("--session"));  // for session managers only
    }
    for (const char* option : {"--version", "-v"}) {
        const CommandLineOutcome version = kX11({option});
        EXPECT_FALSE(version.run);
        EXPECT_EQ(version.exitStatus, 0);
        EXPECT_EQ(version.out, QString("kelvarine " KELVARINE_VERSION "\n"));
        EXPECT_TRUE(version.err.isEmpty());
    }
    // Help wins over whatever else is wrong, as it is what the user asked for.
    EXPECT_EQ(kNoDisplay({"--version", "--help"}).out.left(6), "Usage:");
}

TEST(CommandLine, anythingElseIsAOneLineUsageError) {
    const struct {
        QStringList arguments;
        const char* names;
    } cases[] = {
        {{"--frobnicate"}, "'frobnicate'"},
        {{"-x"}, "'x'"},
        {{"-hv"}, "'hv'"},  // no bundling of short options
        {{"memo.txt"}, "'memo.txt'"},
        {{"--help=yes"}, "help"},
        {{"-platform"}, "platform"},  // its value is missing
        {{"--memos", "--settings"}, "--memos and --settings"},
        {{"two\nlines"}, "'two\\nlines'"},  // still one line
        {{"--bell\a"}, "bell\\u0007"},
    };
    for (const auto& c : cases) {
        const CommandLineOutcome outcome = kX11(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_FALSE(outcome.run) << what;
        EXPECT_EQ(outcome.exitStatus, 2) << what;
        EXPECT_TRUE(outcome.out.isEmpty()) << what;
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.startsWith("kelvarine: ")) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains(c.names)) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains("--help")) << outcome.err.toStdString();
    }
}

TEST(CommandLine, withoutOptionsTheClockStartsAsBefore) {
    for (const Env& run : {kX11, Env{{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}}}) {
        const CommandLineOutcome outcome = run({});
        EXPECT_TRUE(outcome.run);
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_TRUE(outcome.err.isEmpty());
        EXPECT_EQ(outcome.xDisplay, ":0");  // tried before Qt is
    }
    EXPECT_EQ(kX11({"-display", ":7"}).xDisplay, ":7");
    EXPECT_TRUE(kX11({}).action.isEmpty());
    EXPECT_EQ(kX11({"--memos"}).action, "memos");
    EXPECT_EQ(kX11({"--settings"}).action, "settings");
    // Qt's own options reach Qt.
    EXPECT_TRUE(kX11({"-session", "1234abcd"}).run);
    EXPECT_TRUE(kX11({"-display", ":1", "--platform=xcb"}).run);

    // A desktop platform exported for the session gives way to X wherever there is X; what the
    // command line names, or a platform without a display, is kept.
    const struct {
        Env run;
        QStringList arguments;
        QString overridden, xDisplay;
    } platforms[] = {
        {Env{{{"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":0"}}}, {}, "wayland", ":0"},
        {Env{{{"QT_QPA_PLATFORM", "wayland;xcb"}}}, {"-display", ":3"}, "wayland;xcb", ":3"},
        {Env{{{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "w-0"}}}, {}, "", ""},
        {Env{{{"QT_QPA_PLATFORM", "xcb;wayland"}, {"DISPLAY", ":0"}}}, {}, "", ":0"},
        {Env{{{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", ":0"}}}, {}, "", ""},
        {Env{{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":0"}}}, {"-platform", "wayland"}, "", ""},
    };
    for (const auto& c : platforms) {
        const CommandLineOutcome outcome = c.run(c.arguments);
        EXPECT_EQ(outcome.overriddenPlatform, c.overridden) << c.overridden.toStdString();
        EXPECT_EQ(outcome.xDisplay, c.xDisplay) << c.overridden.toStdString();
    }
}

TEST(CommandLine, withoutAnyDisplayItSaysSoInsteadOfStarting) {
    const CommandLineOutcome none = kNoDisplay({});
    EXPECT_FALSE(none.run);
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(IsOneLine(none.err)) << none.err.toStdString();
    EXPECT_TRUE(none.err.contains("DISPLAY") && none.err.contains("WAYLAND_DISPLAY"))
        << none.err.toStdString();
    // A Wayland session without XWayland: the clock says what it needs.
    const CommandLineOutcome waylandOnly = Env{{{"WAYLAND_DISPLAY", "wayland-0"}}}({});
    EXPECT_EQ(waylandOnly.exitStatus, 1);
    EXPECT_TRUE(IsOneLine(waylandOnly.err) && waylandOnly.err.contains("XWayland"))
        << waylandOnly.err.toStdString();

    const struct {
        Env run;
        QStringList arguments;
        bool starts;
    } cases[] = {
        // Plugins that need no display server.
        {Env{{{"QT_QPA_PLATFORM", "offscreen"}}}, {}, true},
        {Env{{{"QT_QPA_PLATFORM", "offscreen:configfile=/tmp/s.json"}}}, {}, true},
        {Env{{{"QT_QPA_PLATFORM", "wayland;vnc"}}}, {}, true},
        {kNoDisplay, {"-platform", "offscreen"}, true},
        // Plugins that do, with nothing to connect to.
        {Env{{{"QT_QPA_PLATFORM", "xcb"}}}, {}, false},
        {Env{{{"QT_QPA_PLATFORM", "wayland-egl;xcb"}}}, {}, false},
        {Env{{{"QT_QPA_PLATFORM", "offscreen"}}}, {"-platform", "xcb"}, false},  // this wins
        {Env{{{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}}}, {}, false},
        // A display named on the command line.
        {Env{{{"QT_QPA_PLATFORM", "xcb"}}}, {"-display", ":5"}, true},
        // Wayland asked for by name, where there is one.
        {Env{{{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}}, {}, true},
        {Env{{{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}}, {}, false},
    };
    for (const auto& c : cases) {
        const CommandLineOutcome outcome = c.run(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString() + " / " +
                                 (c.run.env.empty() ? "" : c.run.env.begin()->second.toStdString());
        EXPECT_EQ(outcome.run, c.starts) << what;
        EXPECT_EQ(outcome.exitStatus, c.starts ? 0 : 1) << what;
    }
}

}  // namespace
