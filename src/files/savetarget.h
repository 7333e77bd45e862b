// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <sys/stat.h>

namespace files {

// The file a save writes, found through any chain of links.
struct SaveTarget {
    QByteArray path; // as bytes: a link's target need not be valid text
    bool exists = false;
    struct stat status = {}; // of the file, when it exists
};

// Follows links by their raw names to the file a save of path must write.
// A link to a missing file in an existing folder leads to that file, which the
// save then creates, as for a plain path. Raises 75 with the system's text for
// a link loop or a missing folder, "Not a regular file" for a folder, device,
// FIFO or socket, and "Permission denied" for a file we may not write (as
// root: a file without any write permission). Nothing is written.
SaveTarget inspectSaveTarget(const QByteArray &path);

// The same file without raising: empty when the links lead nowhere.
QByteArray resolvedLinkTarget(const QByteArray &path);

} // namespace files
