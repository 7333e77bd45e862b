#include "panel/sourcefiles.h"

#include "panel/mainwindow.h"
#include "panel/recoveryoffer.h"
#include "panel/scriptdocument.h"
#include "platform/filedialog.h"
#include "platform/localerules.h"
#include "platform/messagebox.h"
#include "editor/scripteditor.h"
#include "platform/error.h"

#include <QFileInfo>
#include <QLabel>

namespace panel {

namespace {
constexpr int kSizePanel = 3;

void reportSaveFailure(MainWindow &window, const QString &path, const platform::Error &error)
{
    window.setStatus(QStringLiteral("Error saving source ") + path + QStringLiteral(": ") + error.description());
}

// Both menu dialogs start in the current script's folder, with an empty
// name box, no filter and no default extension.
QString chooseFile(MainWindow &window, int mode, const QString &title)
{
    const QString folder = QFileInfo(window.document().path()).absolutePath();
    return platform::ShowFileDialog(&window, mode, title, QString(), QString(), folder, QString());
}
} // namespace

bool saveCurrentSource(MainWindow &window)
{
    ScriptDocument &document = window.document();
    try {
        SaveSource(window, document.path());
        return true;
    } catch (const platform::Error &error) {
        reportSaveFailure(window, document.path(), error);
        document.setModified(true);
        return false;
    }
}

bool LoadSource(MainWindow &window, const QString &path)
{
    ScriptDocument &document = window.document();
    try {
        document.load(path);
    } catch (const platform::Error &error) {
        if (error.number() == platform::ErrFileNotFound) {
            window.setStatus(QStringLiteral("Error loading source ") + path + QStringLiteral("."));
            return false;
        }
        QString status = QStringLiteral("Error loading source ") + path + QStringLiteral(": ") + error.description()
            + QStringLiteral(".");
        // A file that is there, and could be written, but could not be shown
        // must not be replaced by the editor's text at the next keystroke.
        const QFileInfo file(path);
        if (document.path() == path && window.autosaveChecked() && file.isFile() && file.isWritable()) {
            window.holdAutosave();
            status += QStringLiteral(" Autosave is off, so the file is not overwritten.");
        }
        window.setStatus(status);
        return false;
    }
    if (document.saveChanges().isEmpty()) {
        window.releaseAutosave();
        window.setStatus(QStringLiteral("Source code loaded. Waiting..."));
    } else {
        // Nothing is rewritten until the user saves on purpose.
        window.holdAutosave();
        window.setStatus(document.saveChanges() + QStringLiteral(" Autosave is off until you save on purpose."));
    }
    offerRecoveryCopy(window);
    return true;
}

void SaveSource(MainWindow &window, const QString &path) { window.document().saveTo(path); }

void rtbEdit_Change(MainWindow &window)
{
    ScriptDocument &document = window.document();
    // The load's own assignment is neither saved back nor an edit.
    if (!document.isLoading()) {
        if (window.autosaveChecked())
            saveCurrentSource(window);
        else
            document.setModified(true);
    }
    window.statusPanel(kSizePanel)->setText(platform::formatGroupedCount(window.editor()->textLength())
                                            + QStringLiteral(" bytes"));
}

void mOPEN_Click(MainWindow &window)
{
    if (!confirmUnsavedChanges(window))
        return;
    const QString path = chooseFile(window, platform::FileDialogOpen, QStringLiteral("Select source file..."));
    if (path.isEmpty()) {
        window.setStatus(QStringLiteral("No new source file selected."));
        return;
    }
    // The document takes the new path only with a successful load, so that
    // the next autosave cannot write the old file's text over the chosen one.
    LoadSource(window, path);
}

void mSAVEAS_Click(MainWindow &window)
{
    const QString path = chooseFile(window, platform::FileDialogSave, QStringLiteral("Save source file as..."));
    if (path.isEmpty()) {
        window.setStatus(QStringLiteral("Save As cancelled."));
        return;
    }
    try {
        SaveSource(window, path);
    } catch (const platform::Error &error) {
        reportSaveFailure(window, path, error);
        return;
    }
    window.document().setPath(path);
    window.setStatus(QStringLiteral(
        "New save file created. All future modifications will be saved into the selected file."));
}

bool confirmUnsavedChanges(MainWindow &window)
{
    ScriptDocument &document = window.document();
    if (!document.isModified())
        return true;
    platform::MessageBox box(QMessageBox::Warning, window.windowTitle(),
                             QStringLiteral("The source file ") + document.path()
                                 + QStringLiteral(" has changes that are not saved.\nSave them now?"),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window);
    box.setObjectName(QStringLiteral("unsavedChangesQuestion"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveCurrentSource(window);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace panel
