// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace files {

// A save that has to write over a file in place first keeps the text it is
// about to write as a recovery copy in the user's state folder
// ($XDG_STATE_HOME/zarvo/recovery) and removes the copy once the write has
// completed. A program killed in the middle of the write thus loses nothing:
// the file holds its old text, or the copy holds the new one.

// The text of the recovery copy kept for the script at scriptPath (links
// followed), when the file no longer holds that text: what an interrupted save
// was writing. None when there is no copy; a copy the file already holds is
// removed, since the save it belongs to did complete.
std::optional<QByteArray> pendingRecoveryCopy(const QString &scriptPath);
// Removes the recovery copy kept for the script at scriptPath, if any.
void discardRecoveryCopy(const QString &scriptPath);

// For the in-place save, on the file it writes (links already followed):
// keeps bytes as the file's recovery copy, replacing an older one; raises 75
// when the copy cannot be written.
void keepRecoveryCopy(const QByteArray &target, const QByteArray &bytes);
void removeRecoveryCopy(const QByteArray &target);

} // namespace files
