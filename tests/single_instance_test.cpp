#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/single_instance.h"

namespace {

TEST(SingleInstanceLock, onlyOneHolderAtATimeAndReleasedWithTheHolder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run/kelvarine.lock"));
    {
        SingleInstanceLock first(path);
        ASSERT_TRUE(first.acquired());
        SingleInstanceLock second(path);
        EXPECT_FALSE(second.acquired());
        EXPECT_TRUE(second.heldElsewhere());
    }
    // The lock goes with its holder, however it ends; the file left behind blocks nobody.
    SingleInstanceLock again(path);
    EXPECT_TRUE(again.acquired());
}

TEST(SingleInstanceLock, unusableLockPathDoesNotClaimAnotherClockRuns) {
    SingleInstanceLock lock(QStringLiteral("/proc/version/kelvarine.lock"));
    EXPECT_FALSE(lock.acquired());
    EXPECT_FALSE(lock.heldElsewhere());
}

QProcess* StartClock(const QTemporaryDir& home, QObject* parent) {
    auto* clock = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", home.filePath("run"));
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

TEST(SingleInstance, secondClockSaysSoAndLeavesTheFirstRunning) {
    QTemporaryDir home;
    QObject owner;
    QProcess* first = StartClock(home, &owner);
    ASSERT_TRUE(first->waitForStarted(5000));
    // Running means: the lock taken, and a termination request already goes to the clock.
    const QString lockPath = home.filePath("run/kelvarine.lock");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return first->state() == QProcess::Running && HoldsLock(first->processId(), lockPath) &&
                   CatchesSignal(first->processId(), SIGTERM);
        },
        30000))
        << first->readAllStandardError().toStdString();

    QProcess* second = StartClock(home, &owner);
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardError().contains("already running"));
    EXPECT_EQ(first->state(), QProcess::Running);

    // A termination request closes the clock the way Esc does.
    first->terminate();
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
}

}  // namespace
