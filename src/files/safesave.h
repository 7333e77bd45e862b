// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace files {

// Replaces a whole file with the given bytes so that it holds either its old
// content or the new one, never a mixture: the bytes go to a temporary file in
// the same folder, which then takes the file's place with the file's owner,
// group and mode. A link is saved through, by its raw target name, to the file
// it leads to. A file that has other hard links, sits in a folder that
// refuses new files, or has an owner a new file could not keep is written in
// place instead, never truncated first and with a recovery copy kept meanwhile
// (files/recovery.h).
//
// Raises 75 with the reason as description when the file cannot be written:
// "Permission denied" for a file we may not write, "Not a regular file" for a
// device, FIFO, socket or folder, the system's text for an unresolvable link,
// a full disk or a file-size limit. The file is then left as it was; only an
// in-place write that fails after its space was reserved (an I/O error) can
// leave part of the new text, which its recovery copy then holds whole.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace files
