#include "panel/sourcefiles.h"

#include "panel/mainwindow.h"
#include "platform/filedialog.h"
#include "platform/localerules.h"
#include "platform/scripteditor.h"
#include "platform/scriptfile.h"
#include "platform/textsave.h"
#include "platform/toolkiterror.h"

#include <QLabel>
#include <QMessageBox>

namespace panel {

namespace {
const QString kLoadGuard = QStringLiteral("NOTUSERFIRED");
const QString kModified = QStringLiteral("MODIFIED");
constexpr int kMarkerPanel = 2;
constexpr int kSizePanel = 3;

void setMarker(MainWindow &window, const QString &text) { window.statusPanel(kMarkerPanel)->setText(text); }

void reportSaveFailure(MainWindow &window, const QString &path, const platform::ToolkitError &error)
{
    window.setStatus(QStringLiteral("Error saving source ") + path + QStringLiteral(": ") + error.description());
}

// Both menu dialogs start with an empty name box, no filter, the system's
// default folder and no default extension.
QString chooseFile(MainWindow &window, int mode, const QString &title)
{
    return platform::ShowFileDialog(&window, mode, title, QString(), QString(), QString(), QString());
}

void autosave(MainWindow &window)
{
    const QString path = window.tag();
    try {
        SaveSource(window, path);
    } catch (const platform::ToolkitError &error) {
        reportSaveFailure(window, path, error);
        setMarker(window, kModified);
    }
}
} // namespace

bool LoadSource(MainWindow &window, const QString &path)
{
    platform::ScriptEditor *editor = window.editor();
    editor->setTag(kLoadGuard);
    try {
        const platform::DecodedText decoded = platform::readTextFile(path);
        editor->setText(decoded.text);
        editor->setTag(QString());
        window.setSourceEncoding(decoded.encoding);
        window.setSourceLineBreak(decoded.lineBreak);
        // The editor now holds exactly the file: nothing is left unsaved.
        setMarker(window, QString());
        window.setStatus(QStringLiteral("Source code loaded. Waiting..."));
        return true;
    } catch (const platform::ToolkitError &error) {
        editor->setTag(QString());
        if (error.number() == platform::ErrFileNotFound)
            window.setStatus(QStringLiteral("Error loading source ") + path + QStringLiteral("."));
        else
            window.setStatus(QStringLiteral("Error loading source ") + path + QStringLiteral(": ")
                             + error.description() + QStringLiteral("."));
        return false;
    }
}

void SaveSource(MainWindow &window, const QString &path)
{
    // Kept from save to save: a fresh buffer per keystroke costs far more in
    // page faults than the encoding itself.
    static QByteArray bytes;
    const platform::TextEncoding used =
        window.editor()->encodeTextInto(window.sourceEncoding(), bytes, window.sourceLineBreak());
    // Only a missing final line break is added, so loading a file and saving
    // it again leaves it as it was.
    if (!bytes.endsWith('\n') && !bytes.endsWith('\r'))
        bytes.append(platform::lineBreakBytes(window.sourceLineBreak()));
    platform::writeFileAtomically(path, bytes);
    // A text the file's code page cannot hold went out as UTF-8: keep UTF-8
    // from now on, so the file does not switch back and forth.
    window.setSourceEncoding(used);
    setMarker(window, QString());
}

void rtbEdit_Change(MainWindow &window)
{
    platform::ScriptEditor *editor = window.editor();
    // The load's own assignment is neither saved back nor an edit.
    if (editor->tag() != kLoadGuard) {
        if (window.autosaveChecked())
            autosave(window);
        else
            setMarker(window, kModified);
    }
    window.statusPanel(kSizePanel)->setText(platform::formatGroupedCount(editor->textLength())
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
    // The path changes only with a successful load, so that the next autosave
    // cannot write the old file's text over the chosen one.
    if (LoadSource(window, path))
        window.setTag(path);
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
    } catch (const platform::ToolkitError &error) {
        reportSaveFailure(window, path, error);
        return;
    }
    window.setTag(path);
    window.setStatus(QStringLiteral(
        "New save file created. All future modifications will be saved into the selected file."));
}

bool confirmUnsavedChanges(MainWindow &window)
{
    if (window.statusPanel(kMarkerPanel)->text() != kModified)
        return true;
    QMessageBox box(QMessageBox::Warning, window.windowTitle(),
                    QStringLiteral("The source file ") + window.tag()
                        + QStringLiteral(" has changes that are not saved.\nSave them now?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window);
    box.setObjectName(QStringLiteral("unsavedChangesQuestion"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        try {
            SaveSource(window, window.tag());
            return true;
        } catch (const platform::ToolkitError &error) {
            reportSaveFailure(window, window.tag(), error);
            return false;
        }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace panel
