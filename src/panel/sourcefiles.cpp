#include "panel/sourcefiles.h"

#include "editor/scripteditor.h"
#include "panel/mainwindow.h"
#include "panel/namedfiles.h"
#include "panel/recentscripts.h"
#include "panel/recoveryoffer.h"
#include "panel/scriptdocument.h"
#include "platform/error.h"
#include "platform/filedialog.h"
#include "platform/localerules.h"
#include "platform/messagebox.h"

#include <QFileInfo>
#include <QLabel>

namespace panel {

namespace {
constexpr int kSizePanel = 3;
} // namespace

SourceFiles::SourceFiles(MainWindow &window) : QObject(&window), m_window(window) {}

void SourceFiles::reportSaveFailure(const QString &path, const platform::Error &error)
{
    m_window.setStatus(QStringLiteral("Error saving source ") + path + QStringLiteral(": ") + error.description());
}

// Both menu dialogs start in the current script's folder, with an empty
// name box, no filter and no default extension.
QString SourceFiles::chooseFile(int mode, const QString &title)
{
    const QString folder = QFileInfo(m_window.document().path()).absolutePath();
    return platform::showFileDialog(&m_window, mode, title, QString(), QString(), folder, QString());
}

bool SourceFiles::saveNow()
{
    ScriptDocument &document = m_window.document();
    const std::optional<platform::Error> failure = document.saveTo(document.path());
    if (!failure)
        return true;
    reportSaveFailure(document.path(), *failure);
    document.setModified(true);
    return false;
}

bool SourceFiles::load(const QString &path)
{
    ScriptDocument &document = m_window.document();
    try {
        document.load(path);
    } catch (const platform::Error &error) {
        if (error.number() == platform::ErrFileNotFound) {
            m_window.setStatus(QStringLiteral("Error loading source ") + path + QStringLiteral("."));
            return false;
        }
        QString status = QStringLiteral("Error loading source ") + path + QStringLiteral(": ") + error.description()
            + QStringLiteral(".");
        // A file that is there, and could be written, but could not be shown
        // must not be replaced by the editor's text at the next keystroke.
        const QFileInfo file(path);
        if (document.path() == path && m_window.autosaveChecked() && file.isFile() && file.isWritable()) {
            m_window.holdAutosave();
            status += QStringLiteral(" Autosave is off, so the file is not overwritten.");
        }
        m_window.setStatus(status);
        return false;
    }
    rememberScript(path);
    showSize();
    if (document.saveChanges().isEmpty()) {
        m_window.releaseAutosave();
        m_window.setStatus(QStringLiteral("Source code loaded. Waiting..."));
    } else {
        // Nothing is rewritten until the user saves on purpose.
        m_window.holdAutosave();
        m_window.setStatus(document.saveChanges() + QStringLiteral(" Autosave is off until you save on purpose."));
    }
    offerRecoveryCopy(m_window);
    return true;
}

void SourceFiles::textChanged()
{
    ScriptDocument &document = m_window.document();
    // The load's own assignment is neither saved back nor an edit; the load
    // shows the size it read once it is done.
    if (document.isLoading())
        return;
    if (m_window.autosaveChecked())
        saveNow();
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
    if (const std::optional<platform::Error> failure = m_window.document().saveTo(path)) {
        reportSaveFailure(path, *failure);
        return;
    }
    const QString oldFolder = QFileInfo(m_window.document().path()).absolutePath();
    m_window.document().setPath(path);
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

} // namespace panel
