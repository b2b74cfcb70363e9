#pragma once

#include <optional>

#include <QString>
#include <QStringList>

// The Exec command line of a desktop entry: split into arguments as launchers do, and written.

// What an entry's own field codes stand for: %i, %c and %k.
struct ExecContext {
    QString icon;
    QString name;
    QString entryPath;
};

struct ExecCommand {
    QStringList arguments;
    bool stoppedAtFileCode = false;  // cut at the first %f, %F, %u or %U
};

// Splits an Exec value (string escapes already undone) into arguments as launchers do:
// blanks separate; double quotes group, and inside them a backslash escapes ", `, $ and \;
// %% is a percent sign; %i, %c and %k expand from the context; deprecated codes vanish. Stops at
// the first file or URL code, keeping any text before it in that argument as an argument.
// nullopt when quoting is broken, a reserved character stands unquoted, or a code is undefined.
std::optional<ExecCommand> ParseExec(const QString& exec, const ExecContext& context = {});

// One argument written so that ParseExec reads it back unchanged: quoted when it holds a
// reserved character, percent signs doubled. The result still needs EscapeValue.
QString QuoteExecArgument(const QString& argument);
