// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <sys/stat.h>

namespace files {

// Which file a path leads to and the state it is in, so that a save can tell
// whether the file is still the one the document last read or wrote.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0, inode = 0;
    qint64 size = 0, modifiedNs = 0;
    QByteArray contentHash; // of the bytes Zarvo last read or wrote; empty when unknown
    // For a missing file: the file a save would create, links followed (a
    // link that leads nowhere yet leads there).
    QByteArray missingTarget;

    // The same file in the same state: both missing (where a save would
    // create the same file, when both know it), or the same device, inode, size and
    // modification time, and the same content hash where both know one.
    bool sameAs(const FileIdentity &other) const;
};

// The identity of the file the path leads to, links followed; the bytes are
// not read, so no hash. Not existing when the path leads to no file (or to
// one that cannot be looked at).
FileIdentity currentIdentity(const QString &path);
// The current identity with the hash of bytes: what a load records after
// reading them.
FileIdentity identityOfBytes(const QString &path, const QByteArray &bytes);

// The identity a file status describes, without a hash.
FileIdentity identityOfStatus(const struct stat &status);
// A fast 64-bit hash of bytes, the same in every process of one Qt build.
QByteArray contentHash(QByteArrayView bytes);

} // namespace files

Q_DECLARE_METATYPE(files::FileIdentity)
