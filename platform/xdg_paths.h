#pragma once

#include <QString>
#include <QStringList>

// The base directories of the desktop, read from the environment on each call. Relative values
// are invalid by the base-directory rules and count as unset.

// $XDG_CONFIG_HOME, default ~/.config.
QString XdgConfigHome();

// $XDG_DATA_HOME, default ~/.local/share.
QString XdgDataHome();

// $XDG_RUNTIME_DIR; empty when unset (it has no default).
QString XdgRuntimeDir();

// $XDG_DATA_HOME (default ~/.local/share) first, then each of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), most important first.
QStringList XdgDataDirs();

// The "applications" folder under each data directory, in the same order.
QStringList ApplicationDirs();
