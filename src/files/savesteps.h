// SPDX-License-Identifier: MIT
#pragma once

// The steps of a save, shared by saveFile() (files/savefile.cpp), the
// replacing write (safesave.cpp) and the in-place write (inplacewrite.cpp).

#include "files/fileidentity.h"
#include "files/savetarget.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace files {

struct SaveJob {
    QString path; // as the request names it
    SaveTarget target;
    QByteArray bytes;
    std::optional<FileIdentity> expected;
    FileIdentity written; // set once the save has changed the file
};

// Thrown when the file is not in the state the job expects.
struct FileChanged {
    FileIdentity found;
};

// Throws FileChanged unless the path still leads to the file in the expected
// state (no check without one). compareBytes: also read the file and compare
// the hash of its bytes.
void checkExpectedState(const SaveJob &job, bool compareBytes);

// Writes the bytes over the file in place, with a recovery copy meanwhile.
// Raises 75 on failure; throws FileChanged when the open file is not the
// expected one.
void writeInPlace(SaveJob &job);

// Replaces the file with a new one holding the bytes, or creates it; falls
// back to writeInPlace where the new file could not keep what the old one
// carries or could not take its place. Raises and throws as writeInPlace.
void replaceFile(SaveJob &job);

} // namespace files
