#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/program_launcher.h"
#include "platform/shell_opener.h"
#include "platform/xdg_mime_defaults.h"
#include "tests/test_support.h"

namespace {

void WriteProgram(const QString& path, const QByteArray& bytes) {
    WriteFile(path, bytes);
    QFile file(path);
    ASSERT_TRUE(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

class ShellOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WriteProgram(Program(), "#!/bin/sh\n");
        WriteFile(Entry("mailer.desktop"),
                  "[Desktop Entry]\nExec=\"" + Program().toUtf8() + "\" --compose %u\n");
        WriteFile(Entry("lost.desktop"), "[Desktop Entry]\nExec=/nonexistent/mailer %u\n");
        WriteFile(Entry("unlisted.desktop"), "[Desktop Entry]\nExec=kelvarine-no-mailer %u\n");
        WriteFile(Entry("broken.desktop"), "[Desktop Entry]\nExec=\"mailer %u\n");
    }
    QString Program() const { return dir.filePath("bin dir/mailer"); }
    QString Entry(const char* id) const { return dir.filePath("data/applications/") + id; }

    QTemporaryDir dir;
    ScopedEnv dataHome{"XDG_DATA_HOME", QFile::encodeName(dir.filePath("data"))};
    ScopedEnv dataDirs{"XDG_DATA_DIRS", QFile::encodeName(dir.filePath("none"))};
    FakeMimeDefaults mime;
    std::vector<QUrl> handedOver;
    bool handOverWorks = true;
    XdgShellOpener opener{mime, [this](const QUrl& url) {
                              handedOver.push_back(url);
                              return handOverWorks;
                          }};
};

TEST_F(ShellOpenerTest, NamesWhyAMailLinkCannotOpen) {
    const struct {
        const char* handler;  // nullptr: the desktop cannot be asked
        bool handOverWorks;
        int code;
    } cases[] = {
        {"mailer.desktop", true, kLaunchStarted},
        {"mailer.desktop", false, kLaunchFailed},
        {"", true, kLaunchNoAssociation},
        {"gone.desktop", true, kLaunchAssocIncomplete},
        {"broken.desktop", true, kLaunchAssocIncomplete},
        {"lost.desktop", true, kLaunchFileNotFound},
        {"unlisted.desktop", true, kLaunchFileNotFound},
        {nullptr, true, kLaunchStarted},
        {nullptr, false, kLaunchFailed},
    };
    const QString target = "mailto:bugs@kelvarine.example?subject=Clock";
    for (const auto& c : cases) {
        const std::string name = c.handler ? c.handler : "(no desktop)";
        mime.reachable = c.handler != nullptr;
        mime.defaults["x-scheme-handler/mailto"] = c.handler ? c.handler : "";
        handOverWorks = c.handOverWorks;
        handedOver.clear();
        EXPECT_EQ(opener.Open(target), c.code) << name;
        // Only a registration that checks out, or none known, reaches the desktop's opener.
        const bool handed = c.code == kLaunchStarted || c.code == kLaunchFailed;
        ASSERT_EQ(handedOver.size(), handed ? 1u : 0u) << name;
        if (handed) {
            EXPECT_EQ(handedOver[0], QUrl(target)) << name;
        }
    }
    EXPECT_EQ(mime.asked.back(), QStringLiteral("x-scheme-handler/mailto"));

    // Without a scheme a target is a file, here one that is not there.
    mime.asked.clear();
    EXPECT_EQ(opener.Open("Report bugs to me"), kLaunchFileNotFound);
    EXPECT_EQ(opener.Open("  "), kLaunchFileNotFound);
    EXPECT_TRUE(mime.asked.empty());
}

TEST_F(ShellOpenerTest, AsksXdgMimeAndGivesUpOnSilence) {
    const QString bin = dir.filePath("fake-bin");
    ScopedEnv path{"PATH", QFile::encodeName(bin) + ":/usr/bin:/bin"};
    const auto tool = [&](const QByteArray& body) {
        WriteProgram(bin + "/xdg-mime", "#!/bin/sh\n" + body);
    };
    XdgMimeDefaults query(500);

    tool("[ \"$*\" = 'query default text/html' ] && echo ' web.desktop '\nexit 0\n");
    EXPECT_EQ(query.DefaultApplication("text/html"), QStringLiteral("web.desktop"));
    EXPECT_EQ(query.DefaultApplication("x-scheme-handler/mailto"), QString());
    tool("exit 4\n");
    EXPECT_EQ(query.DefaultApplication("text/html"), std::nullopt);
    // Silent past the query's time: given up on. Had the query waited for the tool to end,
    // the tool's clean exit without a word would have answered "no default" (an empty name).
    tool("exec sleep 10\n");
    EXPECT_EQ(query.DefaultApplication("text/html"), std::nullopt);
    QFile::remove(bin + "/xdg-mime");
    ScopedEnv bare{"PATH", QFile::encodeName(bin)};
    EXPECT_EQ(query.DefaultApplication("text/html"), std::nullopt);
}

TEST_F(ShellOpenerTest, LauncherPassesArgumentsVerbatimWithoutAShell) {
    const QString script = dir.filePath("bin dir/record");
    WriteProgram(script,
                 "#!/bin/sh\nout=$1; shift\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done "
                 "> \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    const QString out = dir.filePath("args.txt");
    const QStringList arguments = {"a b", "$(touch pwned)", "\"q\"", "*", ""};
    DetachedProgramLauncher launcher;
    ASSERT_EQ(launcher.StartDetached(script, QStringList{out} + arguments), kLaunchStarted);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 5000));
    EXPECT_EQ(ReadFile(out), QByteArray("[a b]\n[$(touch pwned)]\n[\"q\"]\n[*]\n[]\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("pwned")));

    WriteFile(dir.filePath("plain.txt"), "not a program");
    EXPECT_EQ(launcher.StartDetached(dir.filePath("missing"), {}), kLaunchFileNotFound);
    EXPECT_EQ(launcher.StartDetached("kelvarine-no-such-program", {}), kLaunchFileNotFound);
    EXPECT_EQ(launcher.StartDetached(dir.filePath("plain.txt"), {}), kLaunchAccessDenied);
    EXPECT_EQ(launcher.StartDetached(dir.path(), {}), kLaunchAccessDenied);
}

}  // namespace
