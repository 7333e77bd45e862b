// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <sys/types.h>

namespace files {

// Files only the user may read and write: recovery copies, records, locks,
// and a temporary file until it takes the mode of the file it replaces.
constexpr mode_t kPrivateFileMode = 0600;

// Owns a file descriptor and closes it once.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now; returns the errno of a failed close (a late write error on
    // some file systems), 0 otherwise.
    int close();

private:
    int m_fd;
};

// Raises 75 with the system's text for the errno value.
[[noreturn]] void raiseSystemError(int errorCode);
// Raises 75 for a path that names a folder, device, FIFO or socket.
[[noreturn]] void raiseNotRegularFile();

// The folder part and the last name of a path, both as bytes; the folder of
// a bare name is ".".
QByteArray folderOf(const QByteArray &path);
QByteArray nameOf(const QByteArray &path);

// Writes every byte from offset on, retrying short writes. Returns 0, or the
// errno of the write that failed.
int writeAllAt(int fd, const char *data, qint64 size, qint64 offset);
// The largest file read whole; a larger script is refused before reading.
constexpr qint64 kMaxReadBytes = qint64(256) * 1024 * 1024;

// Reads a whole regular file. Raises 53 for a missing file, 76 for a missing
// folder, and 75 for any other failure: with the description "Not a regular
// file" for a device, FIFO or socket (refused before any open that could
// block) and "File is larger than 256 MB" beyond kMaxReadBytes. Memory
// exhaustion while reading raises 7, "Out of memory".
QByteArray readRegularFile(const QByteArray &path);

// Reads a whole file as readRegularFile does, and also what is no regular
// file but can be read to its end: a pipe or FIFO (/dev/stdin, a shell's
// <(...)), a terminal or another device, refused with 75 beyond
// kMaxReadBytes. A folder is refused with 75, a missing file with 53.
QByteArray readFileOrStream(const QByteArray &path);
// Reads standard input to its end, within kMaxReadBytes.
QByteArray readStandardInput();

// Reads from fd up to its end, at most limit + 1 bytes so that the caller can
// tell a file over the limit. Returns 0 or the errno of the failed read.
int readAll(int fd, QByteArray &out, qint64 sizeHint, qint64 limit);

} // namespace files
