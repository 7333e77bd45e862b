#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Replaces a whole file with the given bytes so that it holds either its old
// content or the new one, never a mixture: the bytes go to a temporary file in
// the same folder, which then takes the file's place. Only where the folder
// refuses new files but the file itself is writable is the file written in
// place. Raises 75 with the reason as description when the file cannot be
// written; the file is then left as it was.
void writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace platform
