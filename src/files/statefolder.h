// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace files {

// A subfolder of the program's folder for the user's state,
// $XDG_STATE_HOME/zarvo (by default ~/.local/state/zarvo), created private to
// the user when missing. Empty, errno telling why, when it cannot be made.
QByteArray stateSubfolder(const char *name);

// The folder's absolute path with every link resolved; empty when it does
// not exist.
QByteArray canonicalFolder(const QByteArray &folder);

// A short name for a folder, or for the file name in it, that is the same for
// every spelling of the path: a hash of the folder resolved through links and
// the name. Empty, errno telling why, when the folder does not exist.
QByteArray pathKey(const QByteArray &folder, const QByteArray &name = {});

} // namespace files
