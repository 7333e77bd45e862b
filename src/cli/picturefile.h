// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace cli {

// Writes the bytes of a picture to out: "-" is standard output; a device, a
// FIFO or a socket is written straight into; any other path gets a
// temporary file beside it that then takes its place, so that a failure
// leaves the file as it was and no temporary file behind. Raises 75 with
// the system's reason when a write fails.
void writePictureFile(const QString &out, const QByteArray &bytes);

} // namespace cli
