// SPDX-License-Identifier: MIT
#pragma once

#include "files/posixfile.h"
#include "files/statefolder.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/stat.h>

namespace files {

// A save that has to write over a file in place first keeps the text it is
// about to write as a recovery copy in the user's state folder
// ($XDG_STATE_HOME/zarvo/recovery) and removes the copy once the write has
// completed. A program killed in the middle of the write thus loses nothing:
// the file holds its old text, or the copy holds the new one.
//
// With the text, a copy keeps what the write can leave in the file: its
// device and inode, and its old length and the hashes of its old bytes, block
// by block. The write puts the new bytes over the old ones from the start, so
// the file it cut short begins with part of the copy and goes on with the old
// bytes. A copy is offered only while the file is still in such a state;
// once another program changed, replaced or removed the file, the copy is
// stale and quietly removed.
//
// Each copy has a name of its own (the file's key and six random
// characters), so that two programs writing one file never share one; a copy
// is locked while its save runs, and copies the user does not own are left
// alone.

// The text of the recovery copy kept for the script at scriptPath (links
// followed) while the file is as the interrupted save left it. None when
// there is no such copy; a copy the file already holds (its save did
// complete) and a stale copy are removed.
std::optional<QByteArray> pendingRecoveryCopy(const QString &scriptPath);
// Removes the recovery copies kept for the script at scriptPath, if any,
// except those of saves still running.
void discardRecoveryCopy(const QString &scriptPath);

// The copy an in-place save keeps while it writes.
class RecoveryCopy {
public:
    // Keeps bytes as the copy for the file at target (links already
    // followed), whose status is given and which holds oldBytes (none when it
    // cannot be read). The copy is on the disk when this returns. Raises 75,
    // "Cannot keep a recovery copy: " and the reason, when it cannot be kept.
    RecoveryCopy(const QByteArray &target, const struct stat &status, const std::optional<QByteArray> &oldBytes,
                 const QByteArray &bytes);
    // Leaves the copy for recovery.
    ~RecoveryCopy() = default;
    RecoveryCopy(const RecoveryCopy &) = delete;
    RecoveryCopy &operator=(const RecoveryCopy &) = delete;

    // The write completed: the copy goes.
    void remove();

private:
    StateFolder m_folder;
    FileDescriptor m_copy; // open and locked while the save runs
    QByteArray m_name;
};

// What a save into target cut short would leave: a copy of bytes for the
// file as it is now. Raises as RecoveryCopy does.
void keepRecoveryCopy(const QByteArray &target, const QByteArray &bytes);

} // namespace files
