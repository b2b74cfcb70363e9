#pragma once

// The versions of a file a save finds in its place that are not the one it knows: kept beside
// the file as <name>.<modification time>[-n], never lost.

#include <cstdint>
#include <functional>

#include <QByteArray>
#include <QStringList>

#include "logic/save_target.h"

namespace atomic_save {

// Puts a version under the first free name <name>.<time>[-n] by `place` (0 or an errno),
// trying the next name while the one tried exists.
WriteResult KeepAs(const Target& target, std::int64_t mtimeNs,
                   const std::function<int(const QByteArray&)>& place, QStringList& kept);

// Whether a file holds the version the caller knows: the same bytes and, when it is the very
// file the caller saw, not written since (a writer that has just emptied an empty file leaves
// the bytes as they were, but not the time).
bool IsKnown(const FileVersion& known, const UserFile& file);

// After the exchange `temp` names what was in the file's place: dropped when it is the known
// version, kept when it is anyone else's, swapped back when it is no regular file.
WriteResult SettleSwappedOut(const Target& target, QByteArray& temp, const FileVersion& known,
                             QStringList& kept);

// The version open as `fd` kept beside the file: a second name of it, else a copy.
WriteResult KeepOpenVersion(const Target& target, int fd, const UserFile& version,
                            QStringList& kept);

}  // namespace atomic_save
