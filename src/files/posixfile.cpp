// SPDX-License-Identifier: MIT
#include "files/posixfile.h"

#include "files/systemcalls.h"
#include "platform/error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

int FileDescriptor::close()
{
    if (m_fd < 0)
        return 0;
    // Linux releases the descriptor even when close() fails: never retry.
    const int result = sys::close(m_fd);
    m_fd = -1;
    return result == 0 || errno == EINTR ? 0 : errno;
}

void raiseSystemError(int errorCode)
{
    platform::raiseError(platform::ErrFileAccess, qt_error_string(errorCode));
}

void raiseNotRegularFile()
{
    platform::raiseError(platform::ErrFileAccess, QStringLiteral("Not a regular file"));
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

int writeAllAt(int fd, const char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t written = sys::pwrite(fd, data, size_t(size), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        data += written;
        size -= written;
        offset += written;
    }
    return 0;
}

namespace {
[[noreturn]] void raiseTooLarge()
{
    platform::raiseError(platform::ErrFileAccess, QStringLiteral("File is larger than %1 MB").arg(kMaxReadBytes >> 20));
}

// Refuses what a load must not read: anything but a regular file (a FIFO or a
// device could block or never end) and a file too large to hold.
void checkReadable(const struct stat &status)
{
    if (S_ISDIR(status.st_mode))
        platform::raiseError(platform::ErrFileAccess);
    if (!S_ISREG(status.st_mode))
        raiseNotRegularFile();
    if (status.st_size > kMaxReadBytes)
        raiseTooLarge();
}
} // namespace

QByteArray readRegularFile(const QByteArray &path)
{
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        platform::raiseFileOpenError(path, errno);
    checkReadable(status);
    // Non-blocking: a FIFO put in the file's place since the check above
    // cannot block the open; the second check then refuses it.
    FileDescriptor fd(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isOpen())
        platform::raiseFileOpenError(path, errno);
    if (::fstat(fd.get(), &status) != 0)
        platform::raiseError(platform::ErrFileAccess);
    checkReadable(status);
    QByteArray bytes;
    try {
        if (readAll(fd.get(), bytes, status.st_size, kMaxReadBytes) != 0)
            platform::raiseError(platform::ErrFileAccess);
    } catch (const std::bad_alloc &) {
        platform::raiseError(platform::ErrOutOfMemory);
    }
    if (bytes.size() > kMaxReadBytes) // it grew after the check
        raiseTooLarge();
    return bytes;
}

namespace {
// What a stream holds, up to its end; a stream has no size to check first.
QByteArray readStream(int fd)
{
    constexpr qint64 kFirstBufferBytes = 64 * 1024;
    QByteArray bytes;
    int error = 0;
    try {
        error = readAll(fd, bytes, kFirstBufferBytes, kMaxReadBytes);
    } catch (const std::bad_alloc &) {
        platform::raiseError(platform::ErrOutOfMemory);
    }
    if (error)
        raiseSystemError(error);
    if (bytes.size() > kMaxReadBytes)
        raiseTooLarge();
    return bytes;
}
} // namespace

QByteArray readFileOrStream(const QByteArray &path)
{
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        platform::raiseFileOpenError(path, errno);
    if (S_ISREG(status.st_mode))
        return readRegularFile(path);
    if (S_ISDIR(status.st_mode))
        platform::raiseError(platform::ErrFileAccess);
    // Blocking: a FIFO is read once a writer has opened it.
    FileDescriptor fd(::open(path.constData(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen())
        platform::raiseFileOpenError(path, errno);
    return readStream(fd.get());
}

QByteArray readStandardInput() { return readStream(STDIN_FILENO); }

int readAll(int fd, QByteArray &out, qint64 sizeHint, qint64 limit)
{
    constexpr qint64 kMinGrowthBytes = 64 * 1024;
    // One byte beyond the expected size, so that reaching the end of the file
    // takes no second buffer; a file that grew meanwhile grows the buffer.
    out.resize(qsizetype(std::min(sizeHint, limit) + 1));
    qsizetype filled = 0;
    while (filled <= limit) {
        if (filled == out.size())
            out.resize(qsizetype(std::min(std::max(2 * qint64(filled), kMinGrowthBytes), limit + 1)));
        const ssize_t got = ::read(fd, out.data() + filled, size_t(out.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            out.truncate(filled);
            return got < 0 ? errno : 0;
        }
        filled += got;
    }
    out.truncate(filled);
    return 0;
}

} // namespace files
