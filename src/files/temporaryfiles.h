// SPDX-License-Identifier: MIT
#pragma once

#include "files/posixfile.h"

#include <QByteArray>
#include <sys/types.h>

namespace files {

// The file a save writes before it takes the place of the file it replaces.
struct TemporaryFile {
    FileDescriptor fd;
    QByteArray path;
    int error = 0; // the errno value when fd could not be opened
};

// Creates the temporary file for a save into folder: exclusively, with the
// given mode, and locked (flock) while it is written, under a short name of
// ours (".zarvo-" and six letters or digits) that fits beside any file name.
// Its fd is not open, error telling why, when the folder refuses new files.
//
// A program killed during a save leaves its temporary file behind. So each
// running program takes one name per folder and records it in the state
// folder ($XDG_STATE_HOME/zarvo/temporaries), the record locked for the
// program's life. The first save into a folder removes the files named by
// records of programs that have ended, and only those: a file is never taken
// as ours for its name's pattern, nor while a running program holds it.
TemporaryFile createTemporaryFile(const QByteArray &folder, mode_t mode);

} // namespace files
