#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "logic/user_file.h"
#include "platform/autostart_store.h"
#include "platform/platform_services.h"
#include "tests/test_support.h"

namespace {

class AutostartStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    }
    QString Folder() const { return dir.filePath("config/autostart"); }
    QString Path() const { return Folder() + "/kelvarine.desktop"; }
    void Write(const QByteArray& bytes) { WriteFile(Path(), bytes); }
    QByteArray Read() const { return ReadFile(Path()); }

    QTemporaryDir dir;
    XdgAutostartStore store{Path()};
};

const QString kProgram = "/opt/kelvarine/bin/kelvarine";

TEST_F(AutostartStoreTest, WritesAValidEntryThatReadsBackTicked) {
    ASSERT_TRUE(store.WriteEntry(kProgram));
    EXPECT_EQ(Read(), QByteArray("[Desktop Entry]\nType=Application\nName=Kelvarine\n"
                                 "Exec=/opt/kelvarine/bin/kelvarine\n"
                                 "TryExec=/opt/kelvarine/bin/kelvarine\n"));
    EXPECT_TRUE(StartsWithSession(store, kProgram.toUpper()));  // letter case aside
    EXPECT_FALSE(StartsWithSession(store, kProgram + "-old"));

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    for (const QString& program :
         {kProgram, QString("/home/a user/My Apps/kelvarine"), QString("/opt/\"q\"/$HOME/`id`/k"),
          QString("/opt/100%u/k"), QString("/opt/back\\slash/k"), QString("/opt/tab\tk")}) {
        ASSERT_TRUE(store.WriteEntry(program));
        EXPECT_TRUE(StartsWithSession(store, program)) << Read().toStdString();
        if (!validator.isEmpty()) {
            QProcess validate;
            validate.start(validator, {Path()});
            ASSERT_TRUE(validate.waitForFinished(10000));
            EXPECT_EQ(validate.exitCode(), 0)
                << Read().toStdString() << validate.readAllStandardOutput().toStdString();
        }
    }
    if (validator.isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
}

TEST_F(AutostartStoreTest, ForeignEntriesShowClearedAndStayUntouched) {
    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Other\n";
    const struct {
        const char* name;
        QByteArray text;
        bool ticked;
    } cases[] = {
        {"ours, quoted", head + "Exec=\"" + kProgram.toUtf8() + "\"\n", true},
        {"with an argument", head + "Exec=" + kProgram.toUtf8() + " --quiet\n", false},
        {"with a field code", head + "Exec=" + kProgram.toUtf8() + " %u\n", false},
        {"a moved copy", head + "Exec=/home/me/kelvarine\n", false},
        {"switched off", head + "Hidden=true\nExec=" + kProgram.toUtf8() + "\n", false},
        {"disabled", head + "X-GNOME-Autostart-enabled=false\nExec=" + kProgram.toUtf8() + "\n",
         false},
        {"no Exec", head, false},
        {"not an entry", "Exec=" + kProgram.toUtf8() + "\n", false},
    };
    for (const auto& c : cases) {
        Write(c.text);
        EXPECT_EQ(StartsWithSession(store, kProgram), c.ticked) << c.name;
        EXPECT_EQ(Read(), c.text) << c.name;
    }
    // Ticking the box takes the entry over; unticking removes it and keeps the folder.
    ASSERT_TRUE(store.WriteEntry(kProgram));
    EXPECT_TRUE(StartsWithSession(store, kProgram));
    ASSERT_TRUE(store.Remove());
    EXPECT_FALSE(QFileInfo::exists(Path()));
    EXPECT_TRUE(QFileInfo(Folder()).isDir());
    EXPECT_TRUE(store.Remove());  // nothing left to remove
}

TEST_F(AutostartStoreTest, HostileFilesShowClearedWithoutBlocking) {
    const QByteArray ours = AutostartEntryText(kProgram);
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"huge", [&] { Write(ours + QByteArray(1 << 20, '#')); }},
        {"binary", [&] { Write(ours + QByteArray("\0\x01\xff", 3)); }},
        {"invalid UTF-8", [&] { Write(ours + "Name[x]=\xc3\x28\n"); }},
        {"directory", [&] { QDir().mkpath(Path()); }},
        {"pipe", [&] { ::mkfifo(QFile::encodeName(Path()).constData(), 0644); }},
    };
    for (const auto& c : cases) {
        QDir(Path()).removeRecursively();
        QFile::remove(Path());
        QDir().mkpath(Folder());
        c.make();
        // A read that waited for a writer to the pipe would never end; a minute is no speed
        // target, only how long the test waits before it says so and lets the reader go.
        auto answer =
            std::async(std::launch::async, [&] { return StartsWithSession(store, kProgram); });
        if (answer.wait_for(std::chrono::minutes(1)) != std::future_status::ready) {
            ADD_FAILURE() << c.name << ": blocked";
            const int writer = ::open(QFile::encodeName(Path()).constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) {
                ::close(writer);
            }
        }
        EXPECT_FALSE(answer.get()) << c.name;
    }
    // A folder where the entry belongs is neither removed nor written over.
    QFile::remove(Path());
    QDir().mkpath(Path() + "/inside");
    EXPECT_FALSE(store.Remove());
    EXPECT_FALSE(store.WriteEntry(kProgram));
    EXPECT_TRUE(QFileInfo(Path() + "/inside").isDir());

    QDir(Path()).removeRecursively();
    Write(ours);
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::Permissions()));
    EXPECT_EQ(RunUnprivileged([&] { return StartsWithSession(store, kProgram) ? 1 : 0; }), 0);
}

TEST(AutostartPathTest, FollowsXdgConfigHome) {
    {
        ScopedEnv config{"XDG_CONFIG_HOME", QByteArray("/tmp/cfg")};
        EXPECT_EQ(DefaultAutostartPath(), QStringLiteral("/tmp/cfg/autostart/kelvarine.desktop"));
    }
    ScopedEnv relative{"XDG_CONFIG_HOME", QByteArray("relative/cfg")};
    EXPECT_EQ(DefaultAutostartPath(), QDir::homePath() + "/.config/autostart/kelvarine.desktop");

    // Without HOME: the account's home, not the root folder.
    ScopedEnv noHome{"HOME", std::nullopt};
    EXPECT_EQ(EncodePath(DefaultAutostartPath()),
              QByteArray(::getpwuid(::getuid())->pw_dir) + "/.config/autostart/kelvarine.desktop");
}

TEST(XdgPathsTest, PathsAreTheirBytesEvenWhereTheyAreNoUtf8) {
    for (const QByteArray bytes :
         {"/plain/path", "/caf\xc3\xa9/\xf0\x9f\x98\x80", "/x\xff\xfe", "/overlong\xc0\xaf",
          "/surrogate\xed\xa0\x80", "/cut\xe2\x82", "/past\xf4\x90\x80\x80"}) {
        EXPECT_EQ(EncodePath(DecodePath(bytes)), bytes) << bytes.toHex().constData();
        EXPECT_EQ(PathIsText(DecodePath(bytes)), QString::fromUtf8(bytes).toUtf8() == bytes);
    }
    // The memos of a data folder so named are found there, not in a look-alike.
    QTemporaryDir dir;
    const QByteArray data = QFile::encodeName(dir.path()) + "/data\xff\xfe";
    ASSERT_EQ(MakeFolders(data + "/kelvarine"), 0);
    std::ofstream((data + "/kelvarine/memo.txt").toStdString()) << "2026-12-24 09:00 presents\n";
    {
        ScopedEnv env{"XDG_DATA_HOME", data};
        EXPECT_EQ(ReadUserFile(DefaultPaths().memoFile).bytes, "2026-12-24 09:00 presents\n");
    }
    std::filesystem::remove_all(data.toStdString());  // QTemporaryDir cannot name it
}

}  // namespace
