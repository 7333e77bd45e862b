// SPDX-License-Identifier: MIT
#include "files/recovery.h"

#include "files/posixfile.h"
#include "files/savetarget.h"
#include "files/statefolder.h"
#include "platform/error.h"
#include "platform/filenames.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace files {

namespace {
constexpr mode_t kPrivateFileMode = 0600;

// Where the copy of the file at target lives; empty, errno telling why, when
// there is no state folder.
QByteArray copyPathFor(const QByteArray &target)
{
    const QByteArray key = pathKey(folderOf(target), nameOf(target));
    const QByteArray folder = key.isEmpty() ? QByteArray() : stateSubfolder("recovery");
    return folder.isEmpty() ? QByteArray() : folder + '/' + key;
}

// Written whole under a second name, then renamed: a copy is never half there.
int writeCopy(const QByteArray &copyPath, const QByteArray &bytes)
{
    const QByteArray partial = copyPath + ".partial";
    FileDescriptor fd(::open(partial.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kPrivateFileMode));
    if (!fd.isOpen())
        return errno;
    int error = writeAllAt(fd.get(), bytes.constData(), bytes.size(), 0);
    if (::ftruncate(fd.get(), bytes.size()) != 0 && !error)
        error = errno;
    if (const int closeError = fd.close(); !error)
        error = closeError;
    if (!error && ::rename(partial.constData(), copyPath.constData()) != 0)
        error = errno;
    if (error)
        ::unlink(partial.constData());
    return error;
}

std::optional<QByteArray> readIfPresent(const QByteArray &path)
{
    try {
        return readRegularFile(path);
    } catch (const platform::Error &) {
        return std::nullopt;
    }
}
} // namespace

void keepRecoveryCopy(const QByteArray &target, const QByteArray &bytes)
{
    const QByteArray copyPath = copyPathFor(target);
    const int error = copyPath.isEmpty() ? errno : writeCopy(copyPath, bytes);
    if (error)
        platform::raiseError(platform::ErrFileAccess, QStringLiteral("Cannot keep a recovery copy: ") + qt_error_string(error));
}

void removeRecoveryCopy(const QByteArray &target)
{
    const QByteArray copyPath = copyPathFor(target);
    if (!copyPath.isEmpty())
        ::unlink(copyPath.constData());
}

std::optional<QByteArray> pendingRecoveryCopy(const QString &scriptPath)
{
    const QByteArray target = resolvedLinkTarget(platform::fileNameToBytes(scriptPath));
    const QByteArray copyPath = target.isEmpty() ? QByteArray() : copyPathFor(target);
    std::optional<QByteArray> copy = copyPath.isEmpty() ? std::nullopt : readIfPresent(copyPath);
    if (copy && readIfPresent(target) == copy) {
        ::unlink(copyPath.constData());
        return std::nullopt;
    }
    return copy;
}

void discardRecoveryCopy(const QString &scriptPath)
{
    const QByteArray target = resolvedLinkTarget(platform::fileNameToBytes(scriptPath));
    if (!target.isEmpty())
        removeRecoveryCopy(target);
}

} // namespace files
