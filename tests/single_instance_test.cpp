#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

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

TEST(SingleInstance, secondClockSaysSoAndLeavesTheFirstRunning) {
    QTemporaryDir home;
    QObject owner;
    QProcess* first = StartClock(home, &owner);
    ASSERT_TRUE(first->waitForStarted(5000));
    // Give the first clock time to take the lock and show its face.
    EXPECT_FALSE(first->waitForFinished(1500));

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
