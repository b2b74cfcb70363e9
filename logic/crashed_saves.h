#pragma once

#include <QString>
#include <QStringList>

// What crashed saves of the file at path left in its folder: only names the saves of
// atomic_file.h give (.<name>.kelvarine-XXXXXX[-<hash>-<hash>], exactly) are looked at. Such a
// temporary that holds the file's bytes or a version the clock made or knew (its name says which)
// is removed; any other (someone else's version, swapped out when the crash came) is kept as a
// version, and its path added to `kept`. Everything else stays, however alike its name: an earlier
// scheme's temporaries (<name>.XXXXXX) cannot be told from the user's own files. Call it only while
// no save of that file can run, that is, under the lock.
void CleanUpAfterCrashedSaves(const QString& path, QStringList& kept);
