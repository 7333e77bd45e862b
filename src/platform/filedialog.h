// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

namespace platform {

enum FileDialogMode : int { FileDialogSave = 0, FileDialogOpen = 1 };

// Shows the Open dialog (mode 1) or the Save As dialog (any other mode), modal
// to owner, and returns the full path the user chose, or empty text when the
// user cancels. The Open dialog accepts only an existing file; the Save As
// dialog only a name in an existing folder, and asks before it returns a file
// that exists already. filter is either Qt's own form ("Scripts (*.txt);;All
// (*)") or description and pattern pairs each ended by a NUL character.
// Raises 5 for a fileName over 250 characters, before any dialog shows.
QString showFileDialog(QWidget *owner, int mode, const QString &title, const QString &fileName,
                       const QString &filter, const QString &initialDir, const QString &defaultExt);

} // namespace platform
