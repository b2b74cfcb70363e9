#include "platform/program_launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString FindProgram(const QString& program) {
    if (program.isEmpty()) {
        return {};
    }
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

int DetachedProgramLauncher::StartDetached(const QString& program, const QStringList& arguments) {
    const QString path = FindProgram(program);
    if (path.isEmpty()) {
        // A file that is there but cannot be run is refused, not missing.
        return program.contains(u'/') && QFileInfo::exists(program) ? kLaunchAccessDenied
                                                                    : kLaunchFileNotFound;
    }
    return QProcess::startDetached(path, arguments) ? kLaunchStarted : kLaunchFailed;
}
