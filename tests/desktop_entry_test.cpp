#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "logic/desktop_entry.h"
#include "logic/exec_line.h"
#include "platform/desktop_entry_files.h"
#include "platform/link_open.h"
#include "tests/test_support.h"

namespace {

TEST(DesktopEntryTest, ParsesOnlyWellFormedEntries) {
    const struct {
        const char* name;
        QByteArray text;
        bool valid;
    } cases[] = {
        {"comments, blanks, CR LF, locales, later groups",
         "# made by hand\r\n\r\n[Desktop Entry]\r\nName[de]=Netz\r\nExec = web %u\r\n"
         "[Desktop Action new]\nExec=other\n",
         true},
        {"NUL byte", QByteArray("[Desktop Entry]\nExec=a\0b\n", 24), false},
        {"invalid UTF-8", "[Desktop Entry]\nName=\xff\xfe\n", false},
        {"another group first", "[Other]\nA=1\n[Desktop Entry]\nExec=web\n", false},
        {"line without '='", "[Desktop Entry]\nExec web\n", false},
        {"bad key", "[Desktop Entry]\nEx ec=web\n", false},
        {"no group", "# nothing\n", false},
    };
    for (const auto& c : cases) {
        const std::optional<DesktopEntry> entry = DesktopEntry::Parse(c.text);
        EXPECT_EQ(entry.has_value(), c.valid) << c.name;
        if (entry && c.valid) {
            EXPECT_EQ(entry->Value("Exec"), QStringLiteral("web %u")) << c.name;
            EXPECT_EQ(entry->Value("Name[de]"), QStringLiteral("Netz")) << c.name;
        }
    }
    const auto escaped = DesktopEntry::Parse("[Desktop Entry]\nExec=a\\sb\\\\c\\td\\\"e\n");
    ASSERT_TRUE(escaped);
    EXPECT_EQ(escaped->Value("Exec"), QStringLiteral("a b\\c\td\\\"e"));
}

TEST(DesktopEntryTest, SplitsExecLines) {
    const ExecContext context{"web-icon", "Web", "/apps/web.desktop"};
    const struct {
        const char* exec;
        std::optional<QStringList> arguments;  // nullopt: rejected
        bool stopped;
    } cases[] = {
        {"web %u", QStringList{"web"}, true},
        {"\"/opt/My Web/web\" --new-tab %U", QStringList{"/opt/My Web/web", "--new-tab"}, true},
        {"web --url=%u --after", QStringList{"web", "--url="}, true},
        {"web \"%u\"", QStringList{"web"}, true},
        {"web  --plain", QStringList{"web", "--plain"}, false},
        {"web \"a \\\"q\\\" \\` \\$ \\\\\"", QStringList{"web", "a \"q\" ` $ \\"}, false},
        {"web 100%% %d %i %c %k %f",
         QStringList{"web", "100%", "--icon", "web-icon", "Web", "/apps/web.desktop"}, true},
        {"web \"\" %u", QStringList{"web", ""}, true},
        {"web %u %x", QStringList{"web"}, true},  // nothing after the cut counts
        {"web \"open", std::nullopt, false},
        {"web 'single'", std::nullopt, false},
        {"web $HOME", std::nullopt, false},
        {"web a|b", std::nullopt, false},
        {"web %x", std::nullopt, false},
        {"web 100%", std::nullopt, false},
        {"web \"\\x\"", std::nullopt, false},
        {"web x%i", std::nullopt, false},
    };
    for (const auto& c : cases) {
        const std::optional<ExecCommand> command = ParseExec(QString::fromUtf8(c.exec), context);
        ASSERT_EQ(command.has_value(), c.arguments.has_value()) << c.exec;
        if (command) {
            EXPECT_EQ(command->arguments, *c.arguments) << c.exec;
            EXPECT_EQ(command->stoppedAtFileCode, c.stopped) << c.exec;
        }
    }
    EXPECT_EQ(ParseExec("web %i")->arguments, QStringList{"web"});  // no icon, no arguments
}

class DesktopEntryFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Apps(int n) const {
        return dir.filePath(QStringLiteral("share%1/applications").arg(n));
    }
    QStringList Dirs() const { return {Apps(1), Apps(2)}; }

    QTemporaryDir dir;
};

TEST_F(DesktopEntryFilesTest, FindsIdsAlongTheDirectoriesInOrder) {
    WriteFile(Apps(1) + "/kde4/web.desktop", "[Desktop Entry]\n");
    WriteFile(Apps(2) + "/kde4-web.desktop", "[Desktop Entry]\n");
    WriteFile(Apps(2) + "/only.desktop", "[Desktop Entry]\n");
    ASSERT_TRUE(QDir().mkpath(Apps(1) + "/only.desktop"));  // a folder is no entry
    WriteFile(dir.filePath("share1/evil.desktop"), "[Desktop Entry]\n");

    EXPECT_EQ(FindDesktopEntry("kde4-web.desktop", Dirs()), Apps(1) + "/kde4/web.desktop");
    EXPECT_EQ(FindDesktopEntry("only.desktop", Dirs()), Apps(2) + "/only.desktop");
    for (const char* id : {"..-evil.desktop", "../evil.desktop", "kde4/web.desktop", "web",
                           ".desktop", "missing.desktop"}) {
        EXPECT_EQ(FindDesktopEntry(id, Dirs()), QString()) << id;
    }
}

TEST(LinkFallbackTest, BuildsTheCommandFromTheEntry) {
    const QString target = "mailto:bugs@kelvarine.example?subject=a \"b\" $(id)";
    const struct {
        const char* name;
        QByteArray text;
        std::optional<QStringList> command;
    } cases[] = {
        {"quoted program", "[Desktop Entry]\nExec=\"/opt/My Web/web\" --new-window %u\n",
         QStringList{"/opt/My Web/web", "--new-window", target}},
        {"blank before the code, text after it", "[Desktop Entry]\nExec=web  %U --after\n",
         QStringList{"web", target}},
        {"no code", "[Desktop Entry]\nExec=web --plain\n", QStringList{"web", "--plain", target}},
        {"no Exec", "[Desktop Entry]\nName=Web\n", std::nullopt},
        {"nothing before the code", "[Desktop Entry]\nExec=%u\n", std::nullopt},
        {"broken quoting", "[Desktop Entry]\nExec=\"web %u\n", std::nullopt},
        {"not an entry", "Exec=web %u\n", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FallbackCommandFromEntry(c.text, "/apps/web.desktop", target), c.command)
            << c.name;
    }
}

TEST(LinkFallbackTest, RefusesWhatTheBuffersCannotHold) {
    const auto entry = [](int execBytes) {
        return "[Desktop Entry]\nExec=" + QByteArray(execBytes - 3, 'w') + " %u\n";
    };
    EXPECT_TRUE(FallbackCommandFromEntry(entry(259), {}, "t"));
    EXPECT_FALSE(FallbackCommandFromEntry(entry(260), {}, "t"));
    // Command "www", a blank, the target: 519 bytes fit, 520 do not.
    const QByteArray text = "[Desktop Entry]\nExec=www %u\n";
    EXPECT_TRUE(FallbackCommandFromEntry(text, {}, QString(515, u'x')));
    EXPECT_FALSE(FallbackCommandFromEntry(text, {}, QString(516, u'x')));
}

TEST_F(DesktopEntryFilesTest, BrowserLookupFailsOnMissingOrOversizedEntries) {
    FakeMimeDefaults mime;
    mime.defaults["text/html"] = "web.desktop";
    const QString path = Apps(1) + "/web.desktop";
    WriteFile(path, "[Desktop Entry]\nExec=web %u\n");
    EXPECT_EQ(BrowserFallbackCommand(mime, Dirs(), "t"), (QStringList{"web", "t"}));
    EXPECT_EQ(mime.asked, std::vector<QString>{"text/html"});

    mime.reachable = false;
    EXPECT_FALSE(BrowserFallbackCommand(mime, Dirs(), "t"));
    mime.reachable = true;
    mime.defaults["text/html"] = "";
    EXPECT_FALSE(BrowserFallbackCommand(mime, Dirs(), "t"));
    // IDs of 259 and 260 bytes; a dash stands for a folder, as names are shorter than that.
    for (const int length : {259, 260}) {
        const QString folder(125, u'w');
        const QString name = QString(length - 134, u'w') + ".desktop";
        WriteFile(Apps(1) + "/" + folder + "/" + name, "[Desktop Entry]\nExec=web %u\n");
        mime.defaults["text/html"] = folder + "-" + name;
        EXPECT_EQ(BrowserFallbackCommand(mime, Dirs(), "t").has_value(), length == 259);
    }

    mime.defaults["text/html"] = "web.desktop";
    QFile::remove(path);
    EXPECT_FALSE(BrowserFallbackCommand(mime, Dirs(), "t"));  // registered, but gone
    WriteFile(path, "[Desktop Entry]\nExec=web %u\n" + QByteArray(1 << 20, '#'));
    EXPECT_FALSE(BrowserFallbackCommand(mime, Dirs(), "t"));
    QFile::remove(path);
    QDir().mkpath(path);
    EXPECT_FALSE(BrowserFallbackCommand(mime, Dirs(), "t"));
}

}  // namespace
