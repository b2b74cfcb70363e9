// Preloaded (LD_PRELOAD), it turns every file system into one that cannot swap two names nor
// rename without replacing (renameat2 with flags: EINVAL), as some FUSE and network mounts, but
// still gives a file a second name: where a save keeps others' versions by looking before a
// plain rename. Everything else goes through.
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>

int renameat2(int oldDir, const char* oldPath, int newDir, const char* newPath, unsigned flags) {
    if (flags != 0) {
        errno = EINVAL;
        return -1;
    }
    return renameat(oldDir, oldPath, newDir, newPath);
}
