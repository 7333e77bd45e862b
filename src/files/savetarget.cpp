// SPDX-License-Identifier: MIT
#include "files/savetarget.h"

#include "files/posixfile.h"
#include "platform/error.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace files {

namespace {
// The system's own limit on links followed in one path.
constexpr int kMaxLinkDepth = 40;

// The path a link points to, relative targets taken from the link's folder.
// Empty with errno set when the link cannot be read.
QByteArray linkTarget(const QByteArray &link)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), buffer, sizeof buffer);
    if (length < 0 || length == ssize_t(sizeof buffer)) {
        errno = length < 0 ? errno : ENAMETOOLONG;
        return {};
    }
    const QByteArray target(buffer, length);
    return target.startsWith('/') ? target : folderOf(link) + '/' + target;
}

// Resolves links; returns the errno that stops the resolution, 0 on success.
int resolve(const QByteArray &path, SaveTarget &target)
{
    target.path = path;
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        if (::lstat(target.path.constData(), &target.status) != 0) {
            if (errno != ENOENT)
                return errno;
            // A file to create: only its folder must exist.
            struct stat folder;
            if (::stat(folderOf(target.path).constData(), &folder) != 0)
                return errno;
            return S_ISDIR(folder.st_mode) ? 0 : ENOTDIR;
        }
        if (!S_ISLNK(target.status.st_mode)) {
            target.exists = true;
            return 0;
        }
        target.path = linkTarget(target.path);
        if (target.path.isEmpty())
            return errno;
    }
    return ELOOP;
}

// Why we may not write the file: an errno value, 0 when we may.
int writeRefusal(const SaveTarget &target)
{
    // Root may write anything; a file marked read-only for everyone is taken
    // as the wish that it stays as it is.
    if (::geteuid() == 0)
        return (target.status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 ? 0 : EACCES;
    return ::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}
} // namespace

SaveTarget inspectSaveTarget(const QByteArray &path)
{
    SaveTarget target;
    if (const int error = resolve(path, target))
        raiseSystemError(error);
    if (!target.exists)
        return target;
    if (!S_ISREG(target.status.st_mode))
        raiseNotRegularFile();
    if (const int refusal = writeRefusal(target))
        raiseSystemError(refusal);
    return target;
}

QByteArray resolvedLinkTarget(const QByteArray &path)
{
    SaveTarget target;
    return resolve(path, target) == 0 ? target.path : QByteArray();
}

} // namespace files
