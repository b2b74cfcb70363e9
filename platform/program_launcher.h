#pragma once

#include "platform/services.h"

// The file `program` names: itself when it holds a '/', else its first executable match on
// $PATH. Empty when there is none.
QString FindProgram(const QString& program);

// QProcess::startDetached with an argument vector: no shell ever sees the arguments.
class DetachedProgramLauncher : public ProgramLauncher {
public:
    int StartDetached(const QString& program, const QStringList& arguments) override;
};
