// SPDX-License-Identifier: MIT
#include "panel/sourcefiles.h"

#include "editor/scripteditor.h"
#include "files/savefile.h"
#include "files/statefolder.h"
#include "panel/filebar.h"
#include "panel/mainwindow.h"
#include "panel/namedfiles.h"
#include "panel/recentscripts.h"
#include "panel/recoveryoffer.h"
#include "panel/scriptdocument.h"
#include "platform/error.h"
#include "platform/filedialog.h"
#include "platform/filenames.h"
#include "platform/localerules.h"
#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <cstdio>

namespace panel {

namespace {
constexpr int kSizePanel = 3;
// Quit shows its progress once waiting for the last save takes this long.
constexpr int kSaveProgressAfterMs = 500;
constexpr int kSaveProgressStepMs = 50;

QString saveFailure(const QString &path, const QString &description)
{
    return QStringLiteral("Error saving source ") + path + QStringLiteral(": ") + description;
}
} // namespace

SourceFiles::SourceFiles(MainWindow &window) : QObject(&window), m_window(window)
{
    ScriptDocument *document = &window.document();
    connect(document, &ScriptDocument::saveFinished, this, &SourceFiles::reportSave);
    connect(document, &ScriptDocument::fileStateChanged, this, &SourceFiles::showFileState);
    connect(document, &ScriptDocument::reloadedFromDisk, this, [this, document] {
        const QString held = holdAutosaveIfSavesChange();
        m_window.setStatus(QStringLiteral("Source reloaded: another program changed ") + document->path()
                           + QStringLiteral(".") + (held.isEmpty() ? QString() : QLatin1Char(' ') + held));
        showSize();
    });
    FileBar *bar = window.fileBar();
    connect(bar, &FileBar::reloadClicked, this, &SourceFiles::reloadFromBar);
    connect(bar, &FileBar::overwriteClicked, this, &SourceFiles::overwriteFromBar);
    connect(bar, &FileBar::saveAsClicked, this, &SourceFiles::saveAs);
    connect(bar, &FileBar::editAnywayClicked, this, [this] {
        m_editAnyway = true;
        showFileState();
    });
}

// Both menu dialogs start in the current script's folder, with an empty
// name box, no filter and no default extension.
QString SourceFiles::chooseFile(int mode, const QString &title)
{
    const QString folder = QFileInfo(m_window.document().path()).absolutePath();
    return platform::showFileDialog(&m_window, mode, title, QString(), QString(), folder, QString());
}

void SourceFiles::reportSave(const QString &path, const files::SaveResult &result)
{
    if (result.status == files::SaveResult::Status::Failed)
        m_window.setStatus(saveFailure(path, result.description));
    else if (result.status == files::SaveResult::Status::Conflict)
        m_window.setStatus(QStringLiteral("Source not saved into ") + path + QStringLiteral(": ") + result.description);
}

bool SourceFiles::saveNow()
{
    ScriptDocument &document = m_window.document();
    if (document.diskState() == ScriptDocument::DiskState::ChangedElsewhere) {
        m_window.setStatus(QStringLiteral("Source not saved into ") + document.path()
                           + QStringLiteral(": another program changed it. Choose above the editor."));
        return false;
    }
    return document.saveTo(document.path()).status == files::SaveResult::Status::Saved;
}

bool SourceFiles::load(const QString &path)
{
    ScriptDocument &document = m_window.document();
    QString status;
    bool loaded = false;
    try {
        document.load(path);
        loaded = true;
        m_editAnyway = false;
        status = holdAutosaveIfSavesChange();
        if (status.isEmpty()) {
            m_window.releaseAutosave();
            status = QStringLiteral("Source code loaded. Waiting...");
        }
    } catch (const platform::Error &error) {
        status = QStringLiteral("Error loading source ") + path;
        if (error.number() != platform::ErrFileNotFound) {
            status += QStringLiteral(": ") + error.description() + QStringLiteral(".");
            // A file that is there, and could be written, but could not be
            // shown must not be replaced by the editor's text at the next
            // keystroke.
            if (document.path() == path && m_window.autosaveChecked() && platform::isWritableRegularFile(path)) {
                m_window.holdAutosave();
                status += QStringLiteral(" Autosave is off, so the file is not overwritten.");
            }
        } else {
            status += QStringLiteral(".");
        }
    }
    if (loaded) {
        rememberScript(path);
        showSize();
    }
    // Said once: a state folder others can write keeps no recovery copies.
    if (!m_stateFolderChecked) {
        m_stateFolderChecked = true;
        if (const QString problem = files::stateFolderProblem(); !problem.isEmpty())
            status += QLatin1Char(' ') + problem;
    }
    m_window.setStatus(status);
    showFileState();
    if (loaded)
        offerRecoveryCopy(m_window);
    return loaded;
}

void SourceFiles::textChanged()
{
    ScriptDocument &document = m_window.document();
    // The load's own assignment is neither saved back nor an edit; the load
    // shows the size it read once it is done.
    if (document.isLoading())
        return;
    if (m_window.autosaveChecked() && document.diskState() == ScriptDocument::DiskState::InStep)
        document.save();
    else
        document.setModified(true);
    showSize();
}

void SourceFiles::showSize()
{
    m_window.statusPanel(kSizePanel)->setText(platform::formatGroupedCount(m_window.document().textBytes())
                                              + QStringLiteral(" bytes"));
}

void SourceFiles::startNewFile(const QString &path)
{
    m_window.document().startEmpty(path);
    m_editAnyway = false;
    showFileState();
    showSize();
    m_window.setStatus(QStringLiteral("New file: ") + path);
}

void SourceFiles::newFile()
{
    if (!confirmUnsavedChanges())
        return;
    const QString path = chooseFile(platform::FileDialogSave, QStringLiteral("New source file..."));
    if (path.isEmpty()) {
        m_window.setStatus(QStringLiteral("New file cancelled."));
        return;
    }
    m_window.releaseAutosave();
    startNewFile(path);
    // Written at once, so that a run finds it and a file chosen to be
    // replaced no longer holds the old script.
    if (saveNow())
        rememberScript(path);
}

void SourceFiles::open()
{
    if (!confirmUnsavedChanges())
        return;
    const QString path = chooseFile(platform::FileDialogOpen, QStringLiteral("Select source file..."));
    if (path.isEmpty()) {
        m_window.setStatus(QStringLiteral("No new source file selected."));
        return;
    }
    // The document takes the new path only with a successful load, so that
    // the next autosave cannot write the old file's text over the chosen one.
    load(path);
}

void SourceFiles::openRecent(const QString &path)
{
    if (confirmUnsavedChanges())
        load(path);
}

void SourceFiles::saveAs()
{
    const QString path = chooseFile(platform::FileDialogSave, QStringLiteral("Save source file as..."));
    if (path.isEmpty()) {
        m_window.setStatus(QStringLiteral("Save As cancelled."));
        return;
    }
    const QString oldFolder = QFileInfo(m_window.document().path()).absolutePath();
    if (m_window.document().saveTo(path).status != files::SaveResult::Status::Saved)
        return;
    m_editAnyway = false;
    showFileState();
    rememberScript(path);
    showSize();
    m_window.setStatus(QStringLiteral(
        "New save file created. All future modifications will be saved into the selected file."));
    offerToCopyNamedFiles(&m_window, m_window.editor()->text(), oldFolder, QFileInfo(path).absolutePath());
}

bool SourceFiles::confirmUnsavedChanges()
{
    ScriptDocument &document = m_window.document();
    if (!document.isModified())
        return true;
    platform::MessageBox box(QMessageBox::Warning, panelTitle(),
                             QStringLiteral("The source file ") + document.path()
                                 + QStringLiteral(" has changes that are not saved.\nSave them now?"),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &m_window);
    box.setObjectName(QStringLiteral("unsavedChangesQuestion"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveNow();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void SourceFiles::finishSaves()
{
    ScriptDocument &document = m_window.document();
    if (document.waitForSaves(0))
        return;
    QProgressDialog progress(QStringLiteral("Saving ") + document.path() + QStringLiteral("..."), QString(), 0, 0,
                             &m_window);
    progress.setObjectName(QStringLiteral("saveProgress"));
    progress.setWindowTitle(panelTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kSaveProgressAfterMs);
    progress.setValue(0);
    while (!document.waitForSaves(kSaveProgressStepMs))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SourceFiles::keepUnsavedForRecovery()
{
    ScriptDocument &document = m_window.document();
    if (!document.isModified())
        return;
    try {
        document.keepForRecovery();
    } catch (const platform::Error &error) {
        std::fprintf(stderr, "zarvo: the unsaved edits of %s are lost: %s\n", qPrintable(document.path()),
                     qPrintable(error.description()));
    }
}

// The bar says what stands between the editor and the file; a panel on a
// file another Zarvo has open is read-only until the user chooses to edit.
void SourceFiles::showFileState()
{
    const ScriptDocument &document = m_window.document();
    const QString name = platform::visibleFileName(QFileInfo(document.path()).fileName());
    const bool readOnly = document.otherEditor() != 0 && !m_editAnyway;
    m_window.editor()->setReadOnly(readOnly);
    const FileBar::Buttons readOnlyButton = readOnly ? FileBar::EditAnyway : FileBar::Buttons();
    switch (document.diskState()) {
    case ScriptDocument::DiskState::ChangedElsewhere:
        m_window.fileBar()->showMessage(
            name + QStringLiteral(" was changed by another program. Your edits are kept; autosave waits until you "
                                  "choose."),
            readOnly ? FileBar::Reload | readOnlyButton : FileBar::Reload | FileBar::Overwrite | FileBar::SaveAs);
        return;
    case ScriptDocument::DiskState::Gone:
        m_window.fileBar()->showMessage(
            name + QStringLiteral(" was deleted on disk. Nothing is written until you save on purpose."),
            readOnly ? readOnlyButton : FileBar::Overwrite | FileBar::SaveAs);
        return;
    case ScriptDocument::DiskState::InStep:
        break;
    }
    m_window.fileBar()->showMessage(readOnly ? name + QStringLiteral(" is open in another Zarvo (process %1): shown "
                                                                     "read-only, following its saves.")
                                                          .arg(document.otherEditor())
                                             : QString(),
                                    readOnlyButton);
}

void SourceFiles::reloadFromBar()
{
    ScriptDocument &document = m_window.document();
    try {
        document.reload();
    } catch (const platform::Error &error) {
        m_window.setStatus(QStringLiteral("Error loading source ") + document.path() + QStringLiteral(": ")
                           + error.description() + QStringLiteral("."));
        return;
    }
    const QString held = holdAutosaveIfSavesChange();
    m_window.setStatus(QStringLiteral("Source reloaded as another program left it. Ctrl+Z brings your text back.")
                       + (held.isEmpty() ? QString() : QLatin1Char(' ') + held));
    showSize();
}

// A file a save would change (its line breaks) is not rewritten until the
// user saves on purpose; gives the words the status line adds, if any.
QString SourceFiles::holdAutosaveIfSavesChange()
{
    const QString &changes = m_window.document().saveChanges();
    if (changes.isEmpty())
        return QString();
    m_window.holdAutosave();
    return changes + QStringLiteral(" Autosave is off until you save on purpose.");
}

void SourceFiles::overwriteFromBar() { m_window.document().overwrite(); }

} // namespace panel
