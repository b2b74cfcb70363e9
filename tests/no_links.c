// Preloaded (LD_PRELOAD), it turns every file system into one of those FUSE and network mounts
// that can neither swap two names nor rename without replacing (renameat2 with flags: EINVAL),
// nor give a file a second name (link, linkat: EPERM), nor make a nameless file (O_TMPFILE:
// EOPNOTSUPP). Everything else goes through.
#define _GNU_SOURCE
#undef _FORTIFY_SOURCE  // its inline open() would clash with the one here
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

typedef int (*OpenFn)(const char*, int, ...);
typedef int (*OpenAtFn)(int, const char*, int, ...);

static int Refuse(int error) {
    errno = error;
    return -1;
}

static int Nameless(int flags) {
    return (flags & O_TMPFILE) == O_TMPFILE;
}

// The mode, when the flags say there is one after them.
#define READ_MODE(flags)                        \
    int mode = 0;                               \
    if ((flags & O_CREAT) || Nameless(flags)) { \
        va_list args;                           \
        va_start(args, flags);                  \
        mode = va_arg(args, int);               \
        va_end(args);                           \
    }

int renameat2(int oldDir, const char* oldPath, int newDir, const char* newPath, unsigned flags) {
    return flags != 0 ? Refuse(EINVAL) : renameat(oldDir, oldPath, newDir, newPath);
}

int linkat(int oldDir, const char* oldPath, int newDir, const char* newPath, int flags) {
    (void)oldDir, (void)oldPath, (void)newDir, (void)newPath, (void)flags;
    return Refuse(EPERM);
}

int link(const char* oldPath, const char* newPath) {
    (void)oldPath, (void)newPath;
    return Refuse(EPERM);
}

int open(const char* path, int flags, ...) {
    READ_MODE(flags)
    return Nameless(flags) ? Refuse(EOPNOTSUPP)
                           : ((OpenFn)dlsym(RTLD_NEXT, "open"))(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    READ_MODE(flags)
    return Nameless(flags) ? Refuse(EOPNOTSUPP)
                           : ((OpenFn)dlsym(RTLD_NEXT, "open64"))(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    READ_MODE(flags)
    return Nameless(flags) ? Refuse(EOPNOTSUPP)
                           : ((OpenAtFn)dlsym(RTLD_NEXT, "openat"))(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
    READ_MODE(flags)
    return Nameless(flags) ? Refuse(EOPNOTSUPP)
                           : ((OpenAtFn)dlsym(RTLD_NEXT, "openat64"))(dir, path, flags, mode);
}
