#include "platform/textsave.h"

#include "platform/toolkiterror.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {
// A link is saved through: the file it points to is replaced, not the link.
QString resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymbolicLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

std::filesystem::path fsPath(const QString &path) { return std::filesystem::path(path.toStdU16String()); }

// Writes every byte or raises 75 with the reason. Unbuffered, so a write cut
// short (a full disk) fails here instead of in a buffer nobody checks; the
// reason is read before close(), which clears it.
void writeAll(QFile &file, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.close();
            raiseError(ErrFileAccess, reason);
        }
        data += written;
        left -= written;
    }
}

// A new file beside the target, created exclusively under a fresh name.
bool openTemporary(QFile &temporary, const QString &target)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary.setFileName(target + QStringLiteral(".")
                              + QString::number(QRandomGenerator::global()->generate(), 36)
                              + QStringLiteral(".tmp"));
        if (temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (!temporary.exists())
            return false;
    }
    return false;
}

// Only for a file in a folder that refuses new files: the file is truncated
// first, so this is the one save that is not atomic.
bool writeInPlace(const QString &target, const QByteArray &bytes)
{
    const QFileInfo info(target);
    if (!info.isFile() || !info.isWritable() || QFileInfo(info.path()).isWritable())
        return false;
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        raiseError(ErrFileAccess, file.errorString());
    writeAll(file, bytes);
    file.close();
    return true;
}
} // namespace

// The data is not forced to disk (fsync) at each save: a save runs at every
// keystroke, and forcing it costs more than the write itself. The rename keeps
// the save atomic for the program and for a full disk, and the usual Linux
// file systems order the data before a rename that replaces a file.
void writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QString target = resolvedTarget(path);
    QFile temporary;
    if (!openTemporary(temporary, target)) {
        if (writeInPlace(target, bytes))
            return;
        raiseError(ErrFileAccess, temporary.errorString());
    }
    const QFileInfo existing(target);
    if (existing.isFile())
        temporary.setPermissions(existing.permissions());
    try {
        writeAll(temporary, bytes);
    } catch (const ToolkitError &) {
        temporary.remove();
        throw;
    }
    temporary.close();
    std::error_code error;
    std::filesystem::rename(fsPath(temporary.fileName()), fsPath(target), error);
    if (error) {
        temporary.remove();
        raiseError(ErrFileAccess, QString::fromStdString(error.message()));
    }
}

} // namespace platform
