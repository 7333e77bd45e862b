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

// Writes the bytes into the file at the path, links followed, unless the
// request expects a state the file is no longer in (another program changed,
// replaced, deleted or created it, or a link that appeared now leads
// elsewhere): then nothing is written and the result is Conflict. A replacing
// save flushes the new file before it takes the old one's place; a save that
// must write in place keeps a recovery copy meanwhile (files/recovery.h).
// Synchronous; never throws.
SaveResult saveFile(const SaveRequest &request);

} // namespace files

Q_DECLARE_METATYPE(files::SaveResult)
