#pragma once

#include <QString>

namespace panel {

class MainWindow;

// Replaces the editor content with the whole file, makes it the current
// source file and reports in the status line. A file that cannot be read
// leaves the editor and the current file as they were and is reported too.
// Returns whether the file was loaded.
bool LoadSource(MainWindow &window, const QString &path);

// Writes the editor text into the file at path, followed by one line break
// unless the text already ends with one, and clears the modification marker.
// The file is replaced atomically; on failure it is left as it was and a
// platform::Error carries the reason.
void SaveSource(MainWindow &window, const QString &path);

// The editor's change handling: saves while the autosave mark is set (except
// for a load's own assignment), marks "MODIFIED" otherwise, shows the size.
void rtbEdit_Change(MainWindow &window);

// Saves the editor into the current file now, as the autosave does: a failure
// is reported in the status line and the edits stay marked as unsaved until
// a save succeeds. Returns whether it saved.
bool saveCurrentSource(MainWindow &window);

void mOPEN_Click(MainWindow &window);
void mSAVEAS_Click(MainWindow &window);

// When the editor holds unsaved edits, asks whether to save them first.
// Returns false when the user cancels or the save fails: the caller must then
// leave everything as it is.
bool confirmUnsavedChanges(MainWindow &window);

} // namespace panel
