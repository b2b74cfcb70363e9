#pragma once

#include <QString>
#include <QStringList>

// The base directories of the desktop, read from the environment on each call, as the bytes
// they are (see DecodePath). Relative values are invalid by the base-directory rules and count
// as unset.

// $HOME, or the account's home folder from the password database when HOME is unset.
QString HomeFolder();

// $XDG_CONFIG_HOME, default ~/.config.
QString XdgConfigHome();

// $XDG_DATA_HOME, default ~/.local/share.
QString XdgDataHome();

// $XDG_DATA_HOME (default ~/.local/share) first, then each of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), most important first.
QStringList XdgDataDirs();

// The "applications" folder under each data directory, in the same order.
QStringList ApplicationDirs();
