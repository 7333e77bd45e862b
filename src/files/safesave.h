// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace files {

// saveFile() without an expected state, raising instead of reporting: 75
// with the reason as description when the file cannot be written
// ("Permission denied" for a file we may not write, "Not a regular file" for
// a device, FIFO, socket or folder, the system's text for an unresolvable
// link, a full disk or a file-size limit), 7 when memory runs out.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace files
