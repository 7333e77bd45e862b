// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

namespace files {
struct SaveResult;
}

namespace panel {

class MainWindow;

// The control panel's commands on its script file: the load, the autosave
// at every edit, Save (Ctrl+S), New..., Open..., Open Recent and Save As...,
// the question about unsaved edits, and the bar above the editor when
// another program changed or removed the file or another Zarvo has it open.
// Each reports in the status line.
class SourceFiles : public QObject {
    Q_OBJECT
public:
    explicit SourceFiles(MainWindow &window);

    // Replaces the editor content with the whole file, makes it the current
    // source file and reports in the status line. A file that cannot be read
    // leaves the editor and the current file as they were and is reported
    // too. Returns whether the file was loaded.
    bool load(const QString &path);

    // Saves the editor into the current file now and waits for the result: a
    // failure is reported in the status line and the edits stay marked as
    // unsaved until a save succeeds. A file another program changed is not
    // saved over: the bar above the editor asks first. Returns whether it
    // saved.
    bool saveNow();

    // The editor's change handling: hands the text to the save thread while
    // the autosave mark is set and the file is as the panel last saw it
    // (except for a load's own assignment), marks "MODIFIED" otherwise,
    // shows the size.
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

    // Waits until every save handed to the save thread is written, showing
    // a progress dialog once that takes over half a second.
    void finishSaves();
    // Keeps unsaved edits as the file's recovery copy, for an end of the
    // program that cannot ask about them; says so on standard error when it
    // cannot.
    void keepUnsavedForRecovery();

private:
    void reportSave(const QString &path, const files::SaveResult &result);
    void showFileState();
    void reloadFromBar();
    QString holdAutosaveIfSavesChange();
    void overwriteFromBar();
    QString chooseFile(int mode, const QString &title);
    void showSize();

    MainWindow &m_window;
    bool m_editAnyway = false;
    bool m_stateFolderChecked = false;
};

} // namespace panel
