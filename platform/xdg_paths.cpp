#include "platform/xdg_paths.h"

#include <QDir>

namespace {

QString AbsoluteOrEmpty(const char* variable) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QString();
}

QString HomeDir(const char* variable, const char* fallbackUnderHome) {
    const QString value = AbsoluteOrEmpty(variable);
    return !value.isEmpty()
               ? value
               : QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}

}  // namespace

QString XdgConfigHome() {
    return HomeDir("XDG_CONFIG_HOME", ".config");
}

QString XdgDataHome() {
    return HomeDir("XDG_DATA_HOME", ".local/share");
}

QString XdgRuntimeDir() {
    return AbsoluteOrEmpty("XDG_RUNTIME_DIR");
}

QStringList XdgDataDirs() {
    QStringList dirs = {XdgDataHome()};
    QString list = qEnvironmentVariable("XDG_DATA_DIRS");
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
