// SPDX-License-Identifier: MIT
#pragma once

#include "files/fileidentity.h"
#include "files/savefile.h"
#include "files/textencoding.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QTextDocument;

namespace editing {
class PatchedEncoding;
}
namespace files {
class EditLock;
class SaveWorker;
} // namespace files

namespace panel {

class FileWatch;

// The script the control panel edits: its text (a text document laid out as
// plain text, which the editor shows), which file it is and the state that
// file was in when the document last read or wrote it, how the file's bytes
// became the text (encoding, line breaks), whether the text holds edits not
// yet saved, and the loads, reloads and saves that move the text between the
// file and the document. Saves are written by a save thread; the document
// watches the file, so that nothing another program writes is overwritten.
class ScriptDocument : public QObject {
    Q_OBJECT
public:
    // How the file stands to the text: as the document last saw it (or only
    // changed in ways it followed), changed by another program while the
    // text holds edits of its own, or gone (deleted or renamed away).
    enum class DiskState { InStep, ChangedElsewhere, Gone };

    explicit ScriptDocument(QObject *parent = nullptr);
    // Waits for the save in progress.
    ~ScriptDocument() override;

    QTextDocument *textDocument() const { return m_text; }

    // The current source path: the file that saves write and runs read. A new
    // path is taken in the state its file is in now.
    const QString &path() const { return m_path; }
    void setPath(const QString &path);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // True only while a load or a reload puts a file's text into the
    // document, so that the change this causes is neither saved back nor
    // counted as an edit.
    bool isLoading() const { return m_loading; }

    files::TextEncoding encoding() const { return m_encoding; }

    // The bytes of the text in the file's encoding and line breaks: what the
    // file holds after a load or a save, what it will hold after an edit
    // (but for the final line break a save adds to a text without one).
    qint64 textBytes();

    // Makes the document an empty script at path, not yet saved, in UTF-8
    // with CR LF line breaks, as a load would.
    void startEmpty(const QString &path);

    // What a save would change in the loaded file, for the status line; empty
    // when a save gives back exactly the bytes that were read.
    const QString &saveChanges() const { return m_saveChanges; }

    DiskState diskState() const { return m_diskState; }
    // The process of another running Zarvo that has the file open; 0 when
    // none does (or when that cannot be known).
    qint64 otherEditor() const { return m_otherEditor; }

    // Replaces the text with the file's whole content; the document is then
    // that file, unmodified, and the undo history starts afresh. Raises
    // platform::Error when the file cannot be read or has a line too long
    // for the editor, leaving the document as it was.
    void load(const QString &path);
    // Replaces the text with the current file's content as one edit that
    // undo takes back. Raises platform::Error as load() does.
    void reload();

    // Puts the text of an interrupted save's recovery copy (the file's bytes)
    // into the document as one edit that undo takes back, to be saved like
    // any edit; the copy goes once a save of the current file has completed.
    void restoreRecoveryCopy(const QByteArray &bytes);

    // Hands the text to the save thread for the current file, which writes it
    // unless another program changed the file since the document last saw
    // it; the result comes as saveFinished(). While a save is under way the
    // next one waits, and only the newest text goes. Nothing is handed on
    // while the file is not in step: the user decides first.
    void save();
    // Saves the text into the file at path and waits for the result: the
    // current file when it is as the document last saw it (or gone, which
    // the save then creates again), another file (Save As, which then becomes
    // the current one) whatever it holds.
    files::SaveResult saveTo(const QString &path);
    // Saves the text into the current file whatever another program did to
    // it, and waits for the result.
    files::SaveResult overwrite();
    // Waits at most timeoutMs (-1: as long as it takes) until every save
    // handed on, and one still waiting, is written and its result taken in.
    bool waitForSaves(int timeoutMs = -1);

    // Keeps the text as the current file's recovery copy, offered at the next
    // start while the file stays as it is: for edits the program cannot ask
    // about before it ends. Raises platform::Error when no copy can be kept.
    void keepForRecovery();
    // Removes the recovery copy the document restored or kept, its edits
    // given up; a save of the current file removes it too.
    void dropRecoveryCopy();

Q_SIGNALS:
    void modifiedChanged(bool modified);
    void pathChanged(const QString &path);
    // Around a change that replaces the whole text with one of lineCount
    // lines, so that a view can make room for it first; reloaded: the same
    // file read again, where a view keeps its place.
    void aboutToReplaceText(int lineCount);
    void textReplaced(bool reloaded);
    void saveFinished(const QString &path, const files::SaveResult &result);
    // The disk state or the other editor changed.
    void fileStateChanged();
    // The text was reloaded because another program changed the file.
    void reloadedFromDisk();

private:
    struct PendingSave {
        quint64 version = 0;
        QString path;
        qint64 textVersion = 0;
        files::TextEncoding encoding = files::TextEncoding::Utf8;
        bool becomesCurrent = false; // Save As: the file the document then is
    };

    void replaceText(const QString &text, bool undoably);
    files::FileIdentity readIn(const QString &path, bool undoably);
    void takeFile(const QString &path, const files::FileIdentity &identity);
    void setDiskState(DiskState state);
    bool holdsEdits() const { return m_textVersion != m_fileVersion; }
    void setTextBytes(qint64 bytes);
    files::TextEncoding encodeForSave();
    void startSave(const QString &path, std::optional<files::FileIdentity> expected, bool becomesCurrent);
    files::SaveResult saveAndWait(const QString &path, std::optional<files::FileIdentity> expected,
                                  bool becomesCurrent);
    void takeResult(quint64 version, const files::SaveResult &result);
    void finishSave(const PendingSave &done, const files::SaveResult &result);
    void checkFile();
    void fileChanged(const files::FileIdentity &now, bool leadsElsewhere);

    QTextDocument *m_text = nullptr;
    editing::PatchedEncoding *m_encoder = nullptr;
    files::SaveWorker *m_worker = nullptr;
    FileWatch *m_watch = nullptr;
    std::unique_ptr<files::EditLock> m_lock;
    QString m_path;
    // The file as the document last read or wrote it, and where the path's
    // links led then.
    files::FileIdentity m_identity;
    QByteArray m_target;
    files::TextEncoding m_encoding = files::TextEncoding::Utf8;
    files::LineBreak m_lineBreak = files::LineBreak::CrLf;
    bool m_modified = false;
    bool m_loading = false;
    bool m_recoveryCopyKept = false; // a copy of the current file waits
    QString m_saveChanges;
    DiskState m_diskState = DiskState::InStep;
    qint64 m_otherEditor = 0;
    // Edits count up the text's version; the file holds m_fileVersion.
    qint64 m_textVersion = 0;
    qint64 m_fileVersion = 0;
    std::optional<PendingSave> m_pending;
    files::SaveResult m_lastResult; // of the last save finished
    bool m_saveWanted = false;
    bool m_checkWanted = false;
    // textBytes() as of the text's revision m_bytesRevision; -1: unknown.
    qint64 m_textBytes = -1;
    int m_bytesRevision = -1;
    // What the last save appended to the text: its final line break.
    qsizetype m_finalBreakBytes = 0;
    // Kept from save to save: a fresh buffer per keystroke costs far more in
    // page faults than the encoding itself.
    QByteArray m_saveBuffer;
};

} // namespace panel
