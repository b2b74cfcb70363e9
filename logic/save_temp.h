#pragma once

// The new file of a save, written beside the one it replaces, and the names such files have.

#include <QByteArray>
#include <QCryptographicHash>
#include <QList>

#include "logic/save_target.h"

namespace atomic_save {

// A short hash of a version's bytes, for temporary names. It only tells the clock's own
// versions from others, so the quickest of the hashes serves: a save hashes two whole files,
// which takes SHA-256 0.8 s for 64 MB (BLAKE2b 0.2 s). Earlier versions named theirs with
// SHA-256, which a clean-up still knows.
QByteArray ShortHash(const QByteArray& bytes,
                     QCryptographicHash::Algorithm algorithm = QCryptographicHash::Blake2b_256);

// Whether the name is exactly one WriteTemp gives (".<name>.kelvarine-XXXXXX[-<hash>-<hash>]");
// `versions` then gets its short hashes, if any. Only such a name is the clock's own: anything else
// beside the file, however alike, may be the user's.
bool IsTempName(const Target& target, const QByteArray& name, QList<QByteArray>& versions);

// The bytes in a new file of the folder, on the disk, named `tempName` only once they are all
// there. The file stays open in `file`. `versions`, when given, names the clock's own versions
// ("-<new>-<known>" short hashes), so that the next start can tell them from someone else's
// after a crash. `timeTells`: whether the file's modification time tells a later write apart.
WriteResult WriteTemp(const Target& target, const QByteArray& bytes, const QByteArray& versions,
                      Fd& file, QByteArray& tempName, bool& timeTells);

}  // namespace atomic_save
