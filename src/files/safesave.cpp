// SPDX-License-Identifier: MIT
#include "files/safesave.h"

#include "files/posixfile.h"
#include "files/recovery.h"
#include "files/savetarget.h"
#include "files/temporaryfiles.h"
#include "platform/error.h"
#include "platform/filenames.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace files {

namespace {
constexpr mode_t kNewFileMode = 0666;     // less the user's umask, as for any new file
constexpr mode_t kPrivateFileMode = 0600; // until the replaced file's mode is set
constexpr mode_t kPermissionBits = 07777;

// Gives the temporary file the owner, group and mode of the file it replaces;
// false when the owner or group cannot be kept.
bool takeOwnerAndMode(int fd, const struct stat &replaced)
{
    struct stat created;
    if (::fstat(fd, &created) != 0)
        return false;
    if ((created.st_uid != replaced.st_uid || created.st_gid != replaced.st_gid)
        && ::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
        return false;
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    return ::fchmod(fd, replaced.st_mode & kPermissionBits) == 0;
}

// A partial reservation may have lengthened the file: it is cut back, and
// the file holds its old bytes.
void reserveSpace(int fd, off_t oldSize, const QByteArray &target, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const int error = ::posix_fallocate(fd, 0, off_t(bytes.size()));
    if (!error)
        return;
    if (bytes.size() > oldSize)
        (void)::ftruncate(fd, oldSize);
    removeRecoveryCopy(target);
    raiseSystemError(error);
}

// For a file whose folder refuses new files, that has other hard links, or
// whose owner a new file could not keep. The file is never truncated first:
// the text goes to a recovery copy, the space is reserved, the new bytes go
// over the old ones, and only then is the file cut to its new length.
void writeInPlace(const SaveTarget &target, const QByteArray &bytes)
{
    // Read and write where the file allows it: where a file system cannot
    // reserve space itself, posix_fallocate reads each block to reserve it.
    FileDescriptor fd(::open(target.path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isOpen() && errno == EACCES)
        fd = FileDescriptor(::open(target.path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0)
        raiseSystemError(errno);
    if (!S_ISREG(status.st_mode))
        raiseNotRegularFile();
    keepRecoveryCopy(target.path, bytes);
    reserveSpace(fd.get(), status.st_size, target.path, bytes);
    int error = writeAllAt(fd.get(), bytes.constData(), bytes.size(), 0);
    if (!error && ::ftruncate(fd.get(), off_t(bytes.size())) != 0)
        error = errno;
    if (!error)
        error = fd.close();
    // The file may now hold part of the new text: the copy stays for recovery.
    if (error)
        raiseSystemError(error);
    removeRecoveryCopy(target.path);
}

void writeAndReplace(TemporaryFile &temporary, const QByteArray &target, const QByteArray &bytes)
{
    int error = writeAllAt(temporary.fd.get(), bytes.constData(), bytes.size(), 0);
    if (!error)
        error = temporary.fd.close();
    if (!error && ::rename(temporary.path.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.path.constData());
        raiseSystemError(error);
    }
}
} // namespace

// The data is not forced to disk (fsync) at each save: a save runs at every
// keystroke, and forcing it costs more than the write itself. The rename keeps
// the save atomic for the program and for a full disk, and the usual Linux
// file systems order the data before a rename that replaces a file.
void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const SaveTarget target = inspectSaveTarget(platform::fileNameToBytes(path));
    // Other hard links keep sharing the file only if it is written in place.
    if (target.exists && target.status.st_nlink > 1)
        return writeInPlace(target, bytes);
    TemporaryFile temporary =
        createTemporaryFile(folderOf(target.path), target.exists ? kPrivateFileMode : kNewFileMode);
    if (!temporary.fd.isOpen()) {
        if (!target.exists)
            raiseSystemError(temporary.error);
        return writeInPlace(target, bytes); // the folder refuses new files
    }
    if (target.exists && !takeOwnerAndMode(temporary.fd.get(), target.status)) {
        temporary.fd.close();
        ::unlink(temporary.path.constData());
        return writeInPlace(target, bytes);
    }
    writeAndReplace(temporary, target.path, bytes);
}

} // namespace files
