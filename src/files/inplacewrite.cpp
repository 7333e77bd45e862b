// SPDX-License-Identifier: MIT
#include "files/posixfile.h"
#include "files/recovery.h"
#include "files/savesteps.h"
#include "files/systemcalls.h"
#include "platform/error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace files {

namespace {
constexpr qint64 kBlockUnitBytes = 512; // of st_blocks

// Opens the file for writing without following a link; read and write where
// the file allows it, since the old bytes go into the recovery copy.
FileDescriptor openForWriting(const QByteArray &path, bool &readable)
{
    const auto openAs = [&](int mode) {
        return sys::retrying([&] { return sys::open(path.constData(), mode | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); });
    };
    FileDescriptor fd(openAs(O_RDWR));
    readable = fd.isOpen();
    if (!fd.isOpen() && errno == EACCES)
        fd = FileDescriptor(openAs(O_WRONLY));
    return fd;
}

std::optional<QByteArray> oldBytesOf(int fd, const struct stat &status, bool readable)
{
    QByteArray bytes;
    if (!readable || readAll(fd, bytes, status.st_size, kMaxReadBytes) != 0 || bytes.size() != status.st_size)
        return std::nullopt;
    return bytes;
}

// Space for the new bytes without changing the file's length, so that no
// moment of the write shows bytes neither text holds. Where the file
// system cannot reserve, its free space is checked instead. A reservation
// that failed halfway is given back, and the file keeps its old times.
int reserveSpace(int fd, const struct stat &status, qint64 size)
{
    if (size == 0)
        return 0;
    if (sys::retrying([&] { return sys::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)); }) == 0)
        return 0;
    int error = errno;
    if (error == EOPNOTSUPP || error == ENOSYS) {
        struct statvfs disk;
        const qint64 needed = size - qint64(status.st_blocks) * kBlockUnitBytes;
        if (::fstatvfs(fd, &disk) != 0 || qint64(disk.f_bavail) * qint64(disk.f_frsize) >= needed)
            return 0;
        return ENOSPC;
    }
    struct stat now;
    if (::fstat(fd, &now) == 0 && now.st_blocks > status.st_blocks
        && sys::retrying([&] { return sys::ftruncate(fd, status.st_size); }) == 0) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
        ::futimens(fd, times);
    }
    return error;
}

// The file's identity after the write, with the hash of what it holds when
// the write completed.
FileIdentity identityAfterWrite(int fd, const QByteArray &bytes, bool complete)
{
    struct stat status;
    if (::fstat(fd, &status) != 0)
        return {};
    FileIdentity identity = identityOfStatus(status);
    if (complete)
        identity.contentHash = contentHash(bytes);
    return identity;
}

// The new bytes over the old ones from the start, then the length, then
// the flush. Returns 0 or the errno of the step that failed.
int overwrite(int fd, const QByteArray &bytes)
{
    if (const int error = writeAllAt(fd, bytes.constData(), bytes.size(), 0))
        return error;
    if (sys::retrying([&] { return sys::ftruncate(fd, off_t(bytes.size())); }) != 0)
        return errno;
    return sys::retrying([&] { return sys::fdatasync(fd); }) == 0 ? 0 : errno;
}

void checkOpenFile(const SaveJob &job, const struct stat &status)
{
    if (!S_ISREG(status.st_mode))
        raiseNotRegularFile();
    if (!job.expected)
        return;
    FileIdentity found = identityOfStatus(status);
    found.contentHash = job.expected->contentHash; // compared before the open
    if (!found.sameAs(*job.expected))
        throw FileChanged{found};
}
} // namespace

// The file is never truncated first: the text goes to a recovery copy, the
// space is reserved, the new bytes go over the old ones, and only then is
// the file cut to its new length. The copy goes once the file is whole on
// the disk, never before the last error check.
void writeInPlace(SaveJob &job)
{
    bool readable = false;
    FileDescriptor fd = openForWriting(job.target.path, readable);
    struct stat status;
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0)
        raiseSystemError(errno);
    checkOpenFile(job, status);
    RecoveryCopy copy(job.target.path, status, oldBytesOf(fd.get(), status, readable), job.bytes);
    if (const int error = reserveSpace(fd.get(), status, job.bytes.size())) {
        copy.remove();
        raiseSystemError(error);
    }
    int error = overwrite(fd.get(), job.bytes);
    job.written = identityAfterWrite(fd.get(), job.bytes, error == 0);
    if (!error)
        error = fd.close();
    if (error)
        raiseSystemError(error); // the copy stays: the file may be torn
    copy.remove();
}

} // namespace files
