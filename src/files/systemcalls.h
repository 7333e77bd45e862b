// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>
#include <sys/types.h>

namespace files {

// The system calls that change files during a save, in one place, so that
// tests can make any of them fail. Each behaves as the call of its name; a
// close that fails still releases the descriptor, as on Linux.
namespace sys {
int open(const char *path, int flags, mode_t mode = 0);
int openat(int folder, const char *name, int flags, mode_t mode = 0);
ssize_t pwrite(int fd, const void *data, size_t size, off_t offset);
int fdatasync(int fd);
int fsync(int fd);
int renameat2(int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags);
int ftruncate(int fd, off_t length);
int fallocate(int fd, int mode, off_t offset, off_t length);
int fchown(int fd, uid_t owner, gid_t group);
int fchmod(int fd, mode_t mode);
ssize_t llistxattr(const char *path, char *names, size_t size);
ssize_t lgetxattr(const char *path, const char *name, void *value, size_t size);
int fsetxattr(int fd, const char *name, const void *value, size_t size, int flags);
int close(int fd);

// Makes the call again while a signal interrupts it (EINTR).
template <typename Call>
auto retrying(Call call)
{
    auto result = call();
    while (result < 0 && errno == EINTR)
        result = call();
    return result;
}
} // namespace sys

// For tests: asked before each of those calls whether it shall fail.
class SystemCallFaults {
public:
    virtual ~SystemCallFaults() = default;
    // The errno value the named call fails with; 0 lets it run.
    virtual int failureFor(const char *call) = 0;
};

// Installs the faults for every thread; nullptr removes them.
void setSystemCallFaults(SystemCallFaults *faults);

} // namespace files
