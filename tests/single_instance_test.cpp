#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "logic/user_file.h"
#include "platform/application_bus.h"
#include "platform/single_instance.h"
#include "tests/test_support.h"

namespace {

TEST(SingleInstanceLock, onlyOneHolderAtATimeAndReleasedWithTheHolder) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/kelvarine"));
    {
        SingleInstanceLock first(folder);
        ASSERT_TRUE(first.acquired());
        SingleInstanceLock second(folder);
        EXPECT_FALSE(second.acquired());
        EXPECT_TRUE(second.heldElsewhere());
    }
    // The lock goes with its holder, however it ends; it leaves nothing behind.
    SingleInstanceLock again(folder);
    EXPECT_TRUE(again.acquired());
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    struct stat info = {};
    ::stat(QFile::encodeName(folder).constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(SingleInstanceLock, followsAFolderReplacedUnderItUnlessAnotherClockHoldsTheNewOne) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("kelvarine"));
    SingleInstanceLock held(folder);
    ASSERT_TRUE(held.acquired());
    EXPECT_TRUE(held.Follow(false));
    ASSERT_TRUE(QDir().rename(folder, folder + ".old"));
    EXPECT_TRUE(held.Follow(false));  // nothing at the path: the lock stays, no folder is made
    EXPECT_FALSE(QDir(folder).exists());
    ASSERT_TRUE(QDir().mkdir(folder));  // a restore puts a new one in its place
    EXPECT_TRUE(held.Follow(false));
    EXPECT_TRUE(SingleInstanceLock(folder).heldElsewhere());
    EXPECT_TRUE(SingleInstanceLock(folder + ".old").acquired());  // let go
    ASSERT_TRUE(QDir().rename(folder, folder + ".older"));
    SingleInstanceLock other(folder);  // a second clock, started meanwhile, makes the new one
    ASSERT_TRUE(other.acquired());
    EXPECT_FALSE(held.Follow(true));
}

TEST(SingleInstanceLock, aFolderThatCannotBeLockedSaysWhy) {
    SingleInstanceLock lock(QStringLiteral("/proc/version/kelvarine"));
    EXPECT_FALSE(lock.acquired());
    EXPECT_FALSE(lock.heldElsewhere());
    EXPECT_EQ(lock.reason(), QStringLiteral("Not a directory"));
}

// Later starts find the clock of their memo folder by its bus name, which the bus takes only as
// elements of [A-Za-z0-9_-] not starting with a digit, 255 characters at most.
TEST(SingleInstance, eachMemoFolderHasAValidBusNameOfItsOwnHoweverSpelt) {
    QTemporaryDir home;
    const QString data = home.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(data) && QFile::link(data, home.filePath(QStringLiteral("link"))));
    const QRegularExpression valid(
        QStringLiteral("^[A-Za-z_-][A-Za-z0-9_-]*(\\.[A-Za-z_-][A-Za-z0-9_-]*)+$"));
    std::set<QString> names;
    for (const QString& folder : {data, DecodePath("/\xff.\n 0"), data + QString(5000, u'x')}) {
        const QString name = BusNameFor(folder);
        EXPECT_TRUE(valid.match(name).hasMatch() && name.size() <= 255) << name.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(BusNameFor(home.filePath(QStringLiteral("link/"))), BusNameFor(data));
}

QProcess* StartClock(const QTemporaryDir& home, QObject* parent,
                     const std::map<QString, QString>& differences = {}) {
    auto* clock = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", home.filePath("run"));
    for (const auto& [name, value] : differences) {
        value.isNull() ? env.remove(name) : env.insert(name, value);
    }
    clock->setProcessEnvironment(env);
    clock->start(QStringLiteral(KELVARINE_BINARY), {});
    return clock;
}

// Whether process `pid` holds a flock on the file at `path`, as the kernel lists it. Looking
// never takes the lock, so it cannot turn the clock away.
bool HoldsLock(qint64 pid, const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return false;
    }
    std::ifstream locks("/proc/locks");
    const std::string inode = ":" + std::to_string(st.st_ino);
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string id, kind, mode, access, owner, file;
        fields >> id >> kind >> mode >> access >> owner >> file;
        if (kind == "FLOCK" && owner == std::to_string(pid) && file.ends_with(inode)) {
            return true;
        }
    }
    return false;
}

// Whether process `pid` has its own handler for `signal`.
bool CatchesSignal(qint64 pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("SigCgt:")) {
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
        }
    }
    return false;
}

TEST(SingleInstance, secondClockOnTheSameMemosSaysSoAndLeavesTheFirstRunning) {
    QTemporaryDir home;
    QObject owner;
    // A pipe for the INI file must not hold the start-up.
    ASSERT_TRUE(QDir().mkpath(home.filePath("config/kelvarine")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(home.filePath("config/kelvarine/kelvarine.ini")), 0644),
              0);
    QProcess* first = StartClock(home, &owner);
    ASSERT_TRUE(first->waitForStarted(5000));
    // Running means: the lock taken, and a termination request already goes to the clock.
    const QString lockPath = home.filePath("data/kelvarine");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return first->state() == QProcess::Running && HoldsLock(first->processId(), lockPath) &&
                   CatchesSignal(first->processId(), SIGTERM);
        },
        30000))
        << first->readAllStandardError().toStdString();

    // Whatever else differs: the memos are the same, so is the lock.
    for (const QString& runtime : {home.filePath("elsewhere"), QString()}) {
        QProcess* second = StartClock(home, &owner, {{"XDG_RUNTIME_DIR", runtime}});
        ASSERT_TRUE(second->waitForFinished(10000));
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->exitCode(), 0);
        EXPECT_TRUE(second->readAllStandardError().contains("already running"));
    }
    EXPECT_EQ(first->state(), QProcess::Running);
    QByteArray told;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            told += first->readAllStandardError();
            return told.contains("named pipe");
        },
        10000))
        << told.toStdString();

    // A lock that cannot be taken stops the start: it says so and never runs unlocked.
    WriteFile(home.filePath("blocked"), "");
    QProcess* unlocked = StartClock(home, &owner, {{"XDG_DATA_HOME", home.filePath("blocked")}});
    QByteArray said;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            said += unlocked->readAllStandardError();
            return said.contains("cannot lock the folder of its memos");
        },
        10000))
        << said.toStdString();
    EXPECT_FALSE(CatchesSignal(unlocked->processId(), SIGTERM));
    unlocked->kill();
    unlocked->waitForFinished(5000);

    // A termination request closes the clock the way Esc does.
    first->terminate();
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
}

}  // namespace
