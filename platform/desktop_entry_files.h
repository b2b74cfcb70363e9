#pragma once

#include <QString>
#include <QStringList>

// The file that a desktop-file ID ("org.example.Browser.desktop") names in the first of
// `applicationDirs` that has it; each '-' in the ID may stand for a subfolder. Empty when none
// has it, or when the ID is no plain file name ending in ".desktop".
QString FindDesktopEntry(const QString& id, const QStringList& applicationDirs);
