// SPDX-License-Identifier: MIT
#pragma once

#include "files/fileidentity.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <optional>

namespace files {

struct SaveRequest {
    QString path;
    QByteArray bytes;
    // The state the file must still be in; unset: no check (Save As to a new
    // name, or the user chose to overwrite).
    std::optional<FileIdentity> expected;
};

struct SaveResult {
    enum class Status { Saved, Conflict, Failed } status = Status::Failed;
    // The file as this save left it, when the save changed it: after Saved,
    // and after a Failed save that wrote part of the file or could not flush
    // it. The next save of the file expects this state. Not existing when
    // the file was left untouched.
    FileIdentity written;
    // The file as the save found it, when Conflict.
    FileIdentity found;
    int errorNumber = 0; // when Failed: 75 with the reason, 7 for memory
    QString description; // when Failed or Conflict: the reason in words
};

// Writes the bytes into the file at the path, links followed by their raw
// target names, unless the request expects a state the file is no longer in
// (another program changed, replaced, deleted or created it, or a link that
// appeared now leads elsewhere): then nothing is written and the result is
// Conflict. The state is checked before the save and again right before the
// new bytes take the file's place.
//
// The file holds its old bytes or the new ones, never a mixture: the bytes
// go to a temporary file in the same folder, forced to the disk, which then
// takes the file's place with the file's owner, group, mode, access control
// list and extended attributes; the folder is forced to the disk after it.
// Where the file has other hard links, its folder refuses new files, or a
// new file could not keep what the old one carries or take its place (a
// bind-mounted file), the bytes are written in place instead: never
// truncated first, with the space reserved without changing the file's
// length and a recovery copy kept meanwhile (files/recovery.h). Without a
// safe state folder such a save is refused.
//
// Failed leaves the file as it was, except an in-place write that fails
// after it began: the file may then hold part of the new bytes, and the
// recovery copy holds them whole. Synchronous; never throws.
SaveResult saveFile(const SaveRequest &request);

} // namespace files

Q_DECLARE_METATYPE(files::SaveResult)
