// SPDX-License-Identifier: MIT
#include "files/fileidentity.h"

#include "files/savetarget.h"
#include "platform/filenames.h"

#include <QHash>
#include <QtEndian>

namespace files {

bool FileIdentity::sameAs(const FileIdentity &other) const
{
    if (!exists || !other.exists)
        return exists == other.exists
            && (missingTarget.isEmpty() || other.missingTarget.isEmpty() || missingTarget == other.missingTarget);
    const bool hashesAgree =
        contentHash.isEmpty() || other.contentHash.isEmpty() || contentHash == other.contentHash;
    return device == other.device && inode == other.inode && size == other.size
        && modifiedNs == other.modifiedNs && hashesAgree;
}

FileIdentity currentIdentity(const QString &path)
{
    struct stat status;
    const QByteArray rawPath = platform::fileNameToBytes(path);
    if (::stat(rawPath.constData(), &status) == 0)
        return identityOfStatus(status);
    FileIdentity missing;
    missing.missingTarget = resolvedLinkTarget(rawPath);
    return missing;
}

FileIdentity identityOfBytes(const QString &path, const QByteArray &bytes)
{
    FileIdentity identity = currentIdentity(path);
    identity.contentHash = contentHash(bytes);
    return identity;
}

FileIdentity identityOfStatus(const struct stat &status)
{
    FileIdentity identity;
    identity.exists = true;
    identity.device = quint64(status.st_dev);
    identity.inode = quint64(status.st_ino);
    identity.size = qint64(status.st_size);
    identity.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return identity;
}

QByteArray contentHash(QByteArrayView bytes)
{
    // Seed 0 keeps the hash free of the per-process random seed of Qt's hashes.
    const quint64 hash = qToBigEndian(quint64(qHash(bytes, size_t(0))));
    return QByteArray(reinterpret_cast<const char *>(&hash), sizeof hash);
}

} // namespace files
