// SPDX-License-Identifier: MIT
#pragma once

#include "files/posixfile.h"

#include <QByteArray>
#include <QString>

namespace files {

// The program's folder for the user's state, $XDG_STATE_HOME/zarvo (by
// default ~/.local/state/zarvo), holds recovery copies, records of temporary
// files and edit locks. Whoever can write into it could make a save write
// the script elsewhere or restore planted text, so every folder of it is
// created private to the user (0700) and checked at each use: a real folder
// (not a link), owned by the user, writable by nobody else. A folder that
// fails the check is not used.

// One folder of the state folder, open: the place its files are created in
// (openat and the like), so that the folder checked is the folder used.
struct StateFolder {
    FileDescriptor fd; // not open when the folder is not safe to use
    QByteArray path;
    // Why the folder is not used ("the state folder PATH belongs to another
    // user"); empty when fd is open.
    QString problem;
};

// Opens $XDG_STATE_HOME/zarvo/name, creating what is missing, and checks it
// and the program's folder above it.
StateFolder openStateFolder(const char *name);

// Why the state folder cannot be used, as one sentence for the status line;
// empty when it is safe.
QString stateFolderProblem();

// The folder's absolute path with every link resolved; empty when it does
// not exist.
QByteArray canonicalFolder(const QByteArray &folder);

// A short name for a folder, or for the file name in it, that is the same for
// every spelling of the path: a hash of the folder resolved through links and
// the name. Empty, errno telling why, when the folder does not exist.
QByteArray pathKey(const QByteArray &folder, const QByteArray &name = {});

} // namespace files
