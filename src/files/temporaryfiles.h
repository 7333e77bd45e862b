// SPDX-License-Identifier: MIT
#pragma once

#include "files/secondname.h"

#include <QByteArray>
#include <sys/types.h>

namespace files {

// Creates the temporary file of a save into a folder (open as folder, its
// path folderPath) with mode, under a short name of ours (".zarvo-" and six
// letters or digits) that fits beside any file name. Returns 0, or the errno
// value when the folder refuses new files.
//
// A program killed during a save leaves its temporary file behind. So each
// running program takes one name per folder and records it in the state
// folder ($XDG_STATE_HOME/zarvo/temporaries), the record locked for the
// program's life. The first save into a folder removes the files named by
// records of programs that have ended, and only those: a file is never taken
// as ours for its name's pattern, nor while a running program holds it, nor
// on a record the user does not own or one naming a file elsewhere. Without
// a safe state folder nothing is recorded: saves still work, only a kill's
// leftover stays.
int createTemporaryFile(SecondNameFile &file, int folder, const QByteArray &folderPath, mode_t mode);

} // namespace files
