// SPDX-License-Identifier: MIT
#include "files/recovery.h"

#include "files/fileidentity.h"
#include "files/savetarget.h"
#include "files/secondname.h"
#include "platform/error.h"
#include "platform/filenames.h"

#include <QDataStream>
#include <QFile>
#include <QList>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace files {

namespace {
constexpr quint32 kCopyMagic = 0x5a52434f;
constexpr quint32 kCopyFormat = 1;
constexpr qint64 kBlockBytes = 64 * 1024;
constexpr int kMaxCreateAttempts = 8;
// Hashed into every copy: a copy written by a build whose hash differs cannot
// have its old bytes checked, only its length.
constexpr char kHashProbe[] = "zarvo recovery copy";

struct Copy {
    quint64 device = 0, inode = 0;
    qint64 oldSize = 0;
    QByteArray probe;
    QList<QByteArray> oldBlocks; // empty when the old bytes could not be read
    QByteArray text;
};

QByteArrayView block(QByteArrayView bytes, qint64 index)
{
    const qint64 start = index * kBlockBytes;
    return bytes.sliced(start, std::min(kBlockBytes, bytes.size() - start));
}

QList<QByteArray> blockHashes(QByteArrayView bytes)
{
    QList<QByteArray> hashes;
    for (qint64 index = 0; index * kBlockBytes < bytes.size(); ++index)
        hashes.append(contentHash(block(bytes, index)));
    return hashes;
}

QByteArray encoded(const Copy &copy)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kCopyMagic << kCopyFormat << copy.device << copy.inode << copy.oldSize << copy.probe << copy.oldBlocks
        << copy.text;
    return bytes;
}

std::optional<Copy> decoded(const QByteArray &bytes)
{
    QDataStream in(bytes);
    quint32 magic = 0, format = 0;
    Copy copy;
    in >> magic >> format >> copy.device >> copy.inode >> copy.oldSize >> copy.probe >> copy.oldBlocks >> copy.text;
    if (in.status() != QDataStream::Ok || magic != kCopyMagic || format != kCopyFormat || !in.atEnd())
        return std::nullopt;
    return copy;
}

qsizetype commonPrefixLength(QByteArrayView a, QByteArrayView b)
{
    const qsizetype length = std::min(a.size(), b.size());
    qsizetype same = 0;
    while (same < length && a[same] == b[same])
        ++same;
    return same;
}

// Whether the file can be as the copy's save left it when cut short: the
// start of the copy's text, then the old bytes up to the old length.
bool leftByCutSave(const Copy &copy, const struct stat &status, QByteArrayView file)
{
    if (quint64(status.st_dev) != copy.device || quint64(status.st_ino) != copy.inode)
        return false;
    const qsizetype written = commonPrefixLength(file, copy.text);
    if (file.size() == written)
        return written >= copy.oldSize; // the text went past the old end
    if (file.size() != copy.oldSize)
        return false;
    if (copy.oldBlocks.isEmpty() || copy.probe != contentHash(kHashProbe))
        return true;
    for (qint64 index = (written + kBlockBytes - 1) / kBlockBytes; index < copy.oldBlocks.size(); ++index) {
        if (contentHash(block(file, index)) != copy.oldBlocks[index])
            return false;
    }
    return true;
}

QByteArray keyOf(const QByteArray &target) { return pathKey(folderOf(target), nameOf(target)); }

// The copies kept for a key: names in the recovery folder.
QList<QByteArray> copyNames(int folder, const QByteArray &key) { return namesStartingWith(folder, key + '-'); }

// A copy we may judge: one the user owns, whose save is not running.
// Returns it open (locked) with its content, or none.
std::optional<Copy> openCopy(int folder, const QByteArray &name, FileDescriptor &fd)
{
    fd = FileDescriptor(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()
        || status.st_size > 2 * kMaxReadBytes || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return std::nullopt;
    QByteArray bytes;
    if (readAll(fd.get(), bytes, status.st_size, 2 * kMaxReadBytes) != 0)
        return std::nullopt;
    return decoded(bytes);
}

std::optional<QByteArray> readIfPresent(const QByteArray &path, struct stat &status)
{
    try {
        QByteArray bytes = readRegularFile(path);
        if (::stat(path.constData(), &status) != 0)
            return std::nullopt;
        return bytes;
    } catch (const platform::Error &) {
        return std::nullopt;
    }
}
} // namespace

RecoveryCopy::RecoveryCopy(const QByteArray &target, const struct stat &status,
                           const std::optional<QByteArray> &oldBytes, const QByteArray &bytes)
    : m_folder(openStateFolder("recovery"))
{
    const auto refuse = [](const QString &reason) {
        platform::raiseError(platform::ErrFileAccess, QStringLiteral("Cannot keep a recovery copy: ") + reason);
    };
    if (!m_folder.fd.isOpen())
        refuse(m_folder.problem);
    const QByteArray key = keyOf(target);
    if (key.isEmpty())
        refuse(qt_error_string(errno));
    Copy copy{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size), contentHash(kHashProbe),
              oldBytes ? blockHashes(*oldBytes) : QList<QByteArray>(), bytes};
    SecondNameFile written;
    int error = EEXIST;
    for (int attempt = 0; attempt < kMaxCreateAttempts && error == EEXIST; ++attempt) {
        m_name = key + '-' + randomSuffix();
        error = written.create(m_folder.fd.get(), m_folder.path, '.' + m_name, kPrivateFileMode);
    }
    if (!error)
        error = written.writeAndFlush(encoded(copy));
    if (!error)
        error = written.renameTo(m_name);
    if (error)
        refuse(qt_error_string(error));
    if (const int flushError = flushFolder(m_folder.fd.get())) {
        ::unlinkat(m_folder.fd.get(), m_name.constData(), 0);
        refuse(qt_error_string(flushError));
    }
    m_copy = written.takeDescriptor();
}

void RecoveryCopy::remove()
{
    ::unlinkat(m_folder.fd.get(), m_name.constData(), 0);
    m_copy.close();
}

void keepRecoveryCopy(const QByteArray &target, const QByteArray &bytes)
{
    struct stat status = {};
    const std::optional<QByteArray> old = readIfPresent(target, status);
    RecoveryCopy copy(target, status, old, bytes);
}

std::optional<QByteArray> pendingRecoveryCopy(const QString &scriptPath)
{
    const QByteArray target = resolvedLinkTarget(platform::fileNameToBytes(scriptPath));
    const QByteArray key = target.isEmpty() ? QByteArray() : keyOf(target);
    const StateFolder folder = key.isEmpty() ? StateFolder() : openStateFolder("recovery");
    if (!folder.fd.isOpen())
        return std::nullopt;
    // Most loads find no copy: the script is read only when there is one.
    const QList<QByteArray> names = copyNames(folder.fd.get(), key);
    if (names.isEmpty())
        return std::nullopt;
    struct stat status = {};
    const std::optional<QByteArray> file = readIfPresent(target, status);
    std::optional<QByteArray> pending;
    for (const QByteArray &name : names) {
        FileDescriptor fd;
        std::optional<Copy> copy = openCopy(folder.fd.get(), name, fd);
        if (!copy)
            continue;
        if (file && *file != copy->text && leftByCutSave(*copy, status, *file))
            pending = std::move(copy->text);
        else if (file || ::access(target.constData(), F_OK) != 0)
            ::unlinkat(folder.fd.get(), name.constData(), 0);
    }
    return pending;
}

void discardRecoveryCopy(const QString &scriptPath)
{
    const QByteArray target = resolvedLinkTarget(platform::fileNameToBytes(scriptPath));
    const QByteArray key = target.isEmpty() ? QByteArray() : keyOf(target);
    const StateFolder folder = key.isEmpty() ? StateFolder() : openStateFolder("recovery");
    if (!folder.fd.isOpen())
        return;
    for (const QByteArray &name : copyNames(folder.fd.get(), key)) {
        FileDescriptor fd;
        if (openCopy(folder.fd.get(), name, fd))
            ::unlinkat(folder.fd.get(), name.constData(), 0);
    }
}

} // namespace files
