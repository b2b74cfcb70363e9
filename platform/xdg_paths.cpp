#include "platform/xdg_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include <QDir>

#include "logic/user_file.h"

namespace {

// Paths are bytes: whatever a variable holds names the same file here.
QString EnvironmentPath(const char* variable) {
    return DecodePath(qgetenv(variable));
}

QString AbsoluteOrEmpty(const char* variable) {
    const QString value = EnvironmentPath(variable);
    return QDir::isAbsolutePath(value) ? value : QString();
}

QString HomeDir(const char* variable, const char* fallbackUnderHome) {
    const QString value = AbsoluteOrEmpty(variable);
    return !value.isEmpty() ? value
                            : HomeFolder() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}

}  // namespace

QString HomeFolder() {
    const QString home = AbsoluteOrEmpty("HOME");
    if (!home.isEmpty()) {
        return home;
    }
    // Started without HOME (by a service manager, say): the account's own, not "/".
    std::vector<char> buffer(16384);
    passwd entry = {};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return DecodePath(found->pw_dir);
    }
    return QStringLiteral("/");
}

QString XdgConfigHome() {
    return HomeDir("XDG_CONFIG_HOME", ".config");
}

QString XdgDataHome() {
    return HomeDir("XDG_DATA_HOME", ".local/share");
}

QStringList XdgDataDirs() {
    QStringList dirs = {XdgDataHome()};
    QString list = EnvironmentPath("XDG_DATA_DIRS");
    if (list.isEmpty()) {
        list = QStringLiteral("/usr/local/share:/usr/share");
    }
    for (const QString& dir : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir)) {
            dirs.push_back(dir);
        }
    }
    return dirs;
}

QStringList ApplicationDirs() {
    QStringList dirs;
    for (const QString& dir : XdgDataDirs()) {
        dirs.push_back(dir + QStringLiteral("/applications"));
    }
    return dirs;
}
