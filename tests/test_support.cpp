#include "tests/test_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include "hands/hands_dlg.h"
#include "memo/memo_dlg.h"

namespace {

template <typename Window>
Window& WindowOf(const QWidget& clock, const char* name) {
    auto* window = clock.findChild<Window*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (window == nullptr || !window->isWindow()) {
        throw std::runtime_error(std::string("the clock has no window named ") + name);
    }
    return *window;
}

}  // namespace

CHandsDlg& OverlayOf(const QWidget& clock) {
    // A plain window, not a widget: among the application's windows, the one this clock owns.
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        auto* hands = qobject_cast<CHandsDlg*>(window);
        if (hands != nullptr && hands->objectName() == QLatin1String("hands") &&
            hands->owner() == &clock) {
            return *hands;
        }
    }
    throw std::runtime_error("the clock has no window named hands");
}

CMemoDlg& MemoDialogOf(const QWidget& clock) {
    return WindowOf<CMemoDlg>(clock, "IDD_MEMO");
}

void FakeAlarm::Start() {
    log.push_back("start");
    playing = true;
}

void FakeAlarm::Stop() {
    log.push_back("stop");
    playing = false;
}

std::optional<bool> ScriptedQuestion::AskYesNo(QWidget*, const QString& caption,
                                               const QString& text) {
    asked.push_back(text);
    lastCaption = caption;
    if (script.empty()) {
        return false;
    }
    Answer answer = script.front();
    script.erase(script.begin());
    if (answer.whileOpen) {
        answer.whileOpen();
    }
    if (answer.unanswered) {
        return std::nullopt;
    }
    return answer.yes;
}

void ScriptedQuestion::Warn(QWidget*, const QString& caption, const QString& text) {
    warnings.push_back({caption, text});
}

std::optional<QString> MemoryProfile::Read(const QString& group, const QString& key) const {
    const auto it = values.find({group, key});
    if (it == values.end()) {
        return std::nullopt;
    }
    return it->second;
}

WriteResult MemoryProfile::Write(const QString& group, const QString& key, const QString& value) {
    if (failWrites) {
        return {false, QStringLiteral("Permission denied")};
    }
    values[{group, key}] = value;
    return {};
}

TestServices::TestServices() {
    services.time = &time;
    services.alarm = &alarm;
    services.question = &question;
    services.profile = &profile;
    services.paths = {dir.filePath(QStringLiteral("data/memo.txt")),
                      dir.filePath(QStringLiteral("config/kelvarine.ini")),
                      dir.filePath(QStringLiteral("bin with blanks/kelvarine"))};
}

#include "platform/autostart_store.h"

ScopedEnv::ScopedEnv(const char* name, const std::optional<QByteArray>& value) : m_name(name) {
    if (qEnvironmentVariableIsSet(name)) {
        m_old = qgetenv(name);
    }
    if (value) {
        qputenv(name, *value);
    } else {
        qunsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (m_old) {
        qputenv(m_name, *m_old);
    } else {
        qunsetenv(m_name);
    }
}

int FakeShellOpener::Open(const QString& target) {
    targets.push_back(target);
    return result;
}

std::optional<QString> FakeMimeDefaults::DefaultApplication(const QString& mimeType) {
    asked.push_back(mimeType);
    if (!reachable) {
        return std::nullopt;
    }
    const auto it = defaults.find(mimeType);
    return it == defaults.end() ? QString() : it->second;
}

int RecordingLauncher::StartDetached(const QString& program, const QStringList& arguments) {
    started.push_back(QStringList{program} + arguments);
    return result;
}

WriteResult MemoryAutostart::WriteEntry(const QString& program) {
    ++writes;
    if (failWrites) {
        return {false, QStringLiteral("Permission denied")};
    }
    entry = AutostartEntryText(program);
    return {};
}

bool MemoryAutostart::Remove() {
    ++removes;
    entry.reset();
    return true;
}
