// SPDX-License-Identifier: MIT
#include "files/safesave.h"

#include "files/fileattributes.h"
#include "files/posixfile.h"
#include "files/savefile.h"
#include "files/savesteps.h"
#include "files/secondname.h"
#include "files/systemcalls.h"
#include "files/temporaryfiles.h"
#include "platform/error.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace files {

namespace {
constexpr mode_t kNewFileMode = 0666;     // less the user's umask, as for any new file

// The folder the new file is made in; a folder we may write but not read
// (a drop box) is opened as a path only.
FileDescriptor openFolder(const QByteArray &path)
{
    const auto open = [&](int flags) {
        return sys::retrying([&] { return sys::open(path.constData(), flags | O_DIRECTORY | O_CLOEXEC); });
    };
    FileDescriptor folder(open(O_RDONLY));
    if (!folder.isOpen() && errno == EACCES)
        folder = FileDescriptor(open(O_PATH));
    return folder;
}

FileIdentity identityOfWritten(int fd, const QByteArray &bytes)
{
    struct stat status;
    if (::fstat(fd, &status) != 0)
        raiseSystemError(errno);
    FileIdentity identity = identityOfStatus(status);
    identity.contentHash = contentHash(bytes);
    return identity;
}

// Gives the written temporary file the name of the file it replaces (or the
// free name, where a save expects the file to be missing and must not
// replace one that appeared meanwhile). False when the file is a mount point
// of its own (a bind-mounted file), which cannot be replaced.
bool takeItsPlace(SaveJob &job, SecondNameFile &temporary, int folder)
{
    const FileIdentity written = identityOfWritten(temporary.fd(), job.bytes);
    if (const int closeError = temporary.close())
        raiseSystemError(closeError);
    checkExpectedState(job, false);
    const bool mustBeMissing = job.expected && !job.expected->exists;
    const int error = temporary.renameTo(nameOf(job.target.path), mustBeMissing ? RENAME_NOREPLACE : 0);
    if ((error == EBUSY || error == EXDEV) && job.target.exists)
        return false;
    if (error == EEXIST && mustBeMissing)
        throw FileChanged{currentIdentity(job.path)};
    if (error)
        raiseSystemError(error);
    job.written = written;
    // EBADF: a folder opened as a path only, which cannot be flushed.
    if (const int flushError = flushFolder(folder); flushError && flushError != EBADF)
        raiseSystemError(flushError);
    return true;
}
} // namespace

// The new file is forced to the disk before it takes the old one's place,
// and the folder after it, so that a power cut leaves the old file or the
// new one on any file system, not an empty one.
void replaceFile(SaveJob &job)
{
    const SaveTarget &target = job.target;
    // Other hard links keep sharing the file only if it is written in place.
    if (target.exists && target.status.st_nlink > 1)
        return writeInPlace(job);
    const QByteArray folderPath = folderOf(target.path);
    const FileDescriptor folder = openFolder(folderPath);
    SecondNameFile temporary;
    const int error = folder.isOpen()
        ? createTemporaryFile(temporary, folder.get(), folderPath, target.exists ? kPrivateFileMode : kNewFileMode)
        : errno;
    if (error && !target.exists)
        raiseSystemError(error);
    // A folder that refuses new files, or a file whose owner, attributes or
    // access control list a new file could not keep.
    if (error || (target.exists && !carryOverAttributes(temporary.fd(), target.path, target.status))) {
        temporary.remove();
        return writeInPlace(job);
    }
    if (const int writeError = temporary.writeAndFlush(job.bytes))
        raiseSystemError(writeError);
    if (!takeItsPlace(job, temporary, folder.get())) {
        temporary.remove();
        writeInPlace(job);
    }
}

void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const SaveResult result = saveFile({path, bytes, std::nullopt});
    if (result.status != SaveResult::Status::Saved)
        platform::raiseError(result.errorNumber, result.description);
}

} // namespace files
