#pragma once

#include <QObject>
#include <QString>

namespace platform {
class Error;
}

namespace panel {

class MainWindow;

// The control panel's commands on its script file: the load, the autosave
// at every edit, Save (Ctrl+S), New..., Open..., Open Recent and Save As...,
// and the question about unsaved edits. Each reports in the status line.
class SourceFiles : public QObject {
    Q_OBJECT
public:
    explicit SourceFiles(MainWindow &window);

    // Replaces the editor content with the whole file, makes it the current
    // source file and reports in the status line. A file that cannot be read
    // leaves the editor and the current file as they were and is reported
    // too. Returns whether the file was loaded.
    bool load(const QString &path);

    // Saves the editor into the current file now, as the autosave does: a
    // failure is reported in the status line and the edits stay marked as
    // unsaved until a save succeeds. Returns whether it saved.
    bool saveNow();

    // The editor's change handling: saves while the autosave mark is set
    // (except for a load's own assignment), marks "MODIFIED" otherwise, shows
    // the size.
    void textChanged();

    // Asks for a new script's name as Save As... does, then makes it the
    // current file, empty, and writes it.
    void newFile();
    void open();
    void openRecent(const QString &path);
    // Saves into a file the user chooses, which becomes the current file,
    // and offers to copy the pictures the script names along when the new
    // file's folder lacks them.
    void saveAs();

    // The current file is one that does not exist yet (a new script named
    // on the command line): the editor is empty, and the first save creates it.
    void startNewFile(const QString &path);

    // When the editor holds unsaved edits, asks whether to save them first.
    // Returns false when the user cancels or the save fails: the caller must
    // then leave everything as it is.
    bool confirmUnsavedChanges();

private:
    void reportSaveFailure(const QString &path, const platform::Error &error);
    QString chooseFile(int mode, const QString &title);
    void showSize();

    MainWindow &m_window;
};

} // namespace panel
