// SPDX-License-Identifier: MIT
#pragma once

#include "files/posixfile.h"

#include <QByteArray>
#include <QList>
#include <sys/types.h>

namespace files {

// A file written whole under a second name and then renamed to its own, so
// that its own name never shows it half written: the temporary file of a
// save, a recovery copy, the record of a temporary file's name.
//
// The second name is created exclusively in an open folder, never through a
// link, and the file is locked (flock) as long as it is open, so that a
// cleaner can tell a file in use from one a killed program left. Until it
// is renamed the file is this process's to remove: the destructor removes
// it, and so does removeOwnTemporaryFiles().
class SecondNameFile {
public:
    SecondNameFile() = default;
    ~SecondNameFile() { remove(); }
    SecondNameFile(const SecondNameFile &) = delete;
    SecondNameFile &operator=(const SecondNameFile &) = delete;

    // Creates the file name in the folder, whose path is folderPath, with
    // mode; returns 0 or the errno value. The folder must stay open while
    // this object lives.
    int create(int folder, const QByteArray &folderPath, const QByteArray &name, mode_t mode);
    int fd() const { return m_fd.get(); }
    // Writes the bytes from the start, then forces them to the disk.
    int writeAndFlush(QByteArrayView bytes);
    // Gives the file its own name in the same folder, replacing a file of
    // that name (or, with RENAME_NOREPLACE, failing with EEXIST where one
    // is). The file stays open and locked.
    int renameTo(const QByteArray &name, unsigned int flags = 0);
    // Closes the file; returns the errno of a failed close (a late write
    // error on some file systems).
    int close() { return m_fd.close(); }
    // The open file, once renamed, for the caller to keep (and its lock).
    FileDescriptor takeDescriptor() { return std::move(m_fd); }
    // Removes the file while it still has its second name.
    void remove();

private:
    int m_folder = -1;
    FileDescriptor m_fd;
    QByteArray m_name; // empty once renamed or removed
    QByteArray m_path;
};

// Six random letters and digits, for a second name nobody can guess.
QByteArray randomSuffix();
inline constexpr int kRandomSuffixLength = 6;

// The names in an open folder that start with prefix.
QList<QByteArray> namesStartingWith(int folder, const QByteArray &prefix);

// Forces a folder's entries (a rename, a new file) to the disk.
int flushFolder(int folder);

// Removes every file this process created under a second name and has not
// renamed or removed yet: what saves cut short would leave. For the exit
// path, once the save thread is idle.
void removeOwnTemporaryFiles();

} // namespace files
