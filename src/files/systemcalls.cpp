// SPDX-License-Identifier: MIT
#include "files/systemcalls.h"

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace files {

namespace {
std::atomic<SystemCallFaults *> g_faults = nullptr;

// The errno value a test chose for this call, set into errno; 0 when none.
int injected(const char *call)
{
    SystemCallFaults *faults = g_faults.load();
    const int error = faults ? faults->failureFor(call) : 0;
    if (error)
        errno = error;
    return error;
}
} // namespace

void setSystemCallFaults(SystemCallFaults *faults) { g_faults = faults; }

namespace sys {
int open(const char *path, int flags, mode_t mode)
{
    return injected("open") ? -1 : ::open(path, flags, mode);
}

int openat(int folder, const char *name, int flags, mode_t mode)
{
    return injected("open") ? -1 : ::openat(folder, name, flags, mode);
}

ssize_t pwrite(int fd, const void *data, size_t size, off_t offset)
{
    return injected("write") ? -1 : ::pwrite(fd, data, size, offset);
}

int fdatasync(int fd) { return injected("fdatasync") ? -1 : ::fdatasync(fd); }

int fsync(int fd) { return injected("fsync") ? -1 : ::fsync(fd); }

int renameat2(int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags)
{
    return injected("rename") ? -1 : ::renameat2(fromFolder, from, toFolder, to, flags);
}

int ftruncate(int fd, off_t length) { return injected("ftruncate") ? -1 : ::ftruncate(fd, length); }

int fallocate(int fd, int mode, off_t offset, off_t length)
{
    return injected("fallocate") ? -1 : ::fallocate(fd, mode, offset, length);
}

int fchown(int fd, uid_t owner, gid_t group) { return injected("fchown") ? -1 : ::fchown(fd, owner, group); }

int fchmod(int fd, mode_t mode) { return injected("fchmod") ? -1 : ::fchmod(fd, mode); }

ssize_t llistxattr(const char *path, char *names, size_t size)
{
    return injected("llistxattr") ? -1 : ::llistxattr(path, names, size);
}

ssize_t lgetxattr(const char *path, const char *name, void *value, size_t size)
{
    return injected("lgetxattr") ? -1 : ::lgetxattr(path, name, value, size);
}

int fsetxattr(int fd, const char *name, const void *value, size_t size, int flags)
{
    return injected("fsetxattr") ? -1 : ::fsetxattr(fd, name, value, size, flags);
}

int close(int fd)
{
    if (const int error = injected("close")) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return ::close(fd);
}
} // namespace sys

} // namespace files
