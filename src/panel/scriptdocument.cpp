// SPDX-License-Identifier: MIT
#include "panel/scriptdocument.h"

#include "editor/patchedencoding.h"
#include "files/editlock.h"
#include "files/posixfile.h"
#include "files/recovery.h"
#include "files/savefidelity.h"
#include "files/savetarget.h"
#include "files/saveworker.h"
#include "files/textlines.h"
#include "panel/filewatch.h"
#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/localerules.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPlainTextDocumentLayout>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>
#include <new>

namespace {
// The editor lays out a line whole: a line of millions of characters takes it
// seconds per million, at the load and at every paint.
constexpr qsizetype kMaxEditorLineCharacters = qsizetype(1) << 20;
// Reads of a file that keeps changing while it is read.
constexpr int kReadAttempts = 3;

void checkLinesFitEditor(const QString &text)
{
    const qsizetype longest = files::longestLineLength(text);
    if (longest > kMaxEditorLineCharacters)
        platform::raiseError(platform::ErrFileAccess,
                             QStringLiteral("a line of %1 characters is longer than the editor can hold (%2)")
                                 .arg(platform::formatGroupedCount(longest),
                                      platform::formatGroupedCount(kMaxEditorLineCharacters)));
}

struct ReadFile {
    files::DecodedText decoded;
    files::FileIdentity identity;
};

// Reads and decodes a file with the state it was in: read again when it
// changed while being read, so that the state belongs to the bytes.
ReadFile readFile(const QString &path)
{
    for (int attempt = 1;; ++attempt) {
        const files::FileIdentity before = files::currentIdentity(path);
        const QByteArray bytes = files::readRegularFile(platform::fileNameToBytes(path));
        files::FileIdentity after = files::identityOfBytes(path, bytes);
        if (!before.sameAs(after) && attempt < kReadAttempts)
            continue;
        try {
            return {files::decodeText(bytes), after};
        } catch (const std::bad_alloc &) {
            platform::raiseError(platform::ErrOutOfMemory);
        }
    }
}

QByteArray linkTargetOf(const QString &path) { return files::resolvedLinkTarget(platform::fileNameToBytes(path)); }
} // namespace

namespace panel {

ScriptDocument::ScriptDocument(QObject *parent)
    : QObject(parent), m_text(new QTextDocument(this)), m_worker(new files::SaveWorker(this)),
      m_watch(new FileWatch(this))
{
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    m_encoder = new editing::PatchedEncoding(*m_text);
    m_encoder->setParent(this);
    connect(m_text, &QTextDocument::contentsChanged, this, [this] {
        if (!m_loading)
            ++m_textVersion;
    });
    connect(m_worker, &files::SaveWorker::finished, this, &ScriptDocument::takeResult);
    connect(m_watch, &FileWatch::changed, this, &ScriptDocument::checkFile);
}

ScriptDocument::~ScriptDocument() = default;

void ScriptDocument::setPath(const QString &path)
{
    if (path != m_path)
        takeFile(path, files::currentIdentity(path));
}

void ScriptDocument::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(m_modified);
}

void ScriptDocument::setDiskState(DiskState state)
{
    if (state == m_diskState)
        return;
    m_diskState = state;
    Q_EMIT fileStateChanged();
}

// The document is now the file at path, in the state identity describes: the
// file it watches and, when the path is new, the one it holds the lock of.
void ScriptDocument::takeFile(const QString &path, const files::FileIdentity &identity)
{
    const bool newPath = path != m_path;
    m_path = path;
    m_identity = identity;
    m_target = linkTargetOf(path);
    m_watch->watch(path);
    if (newPath || !m_lock || !m_lock->isHeld()) {
        m_lock.reset(); // our own lock on the file must not count as another's
        m_lock = std::make_unique<files::EditLock>(path);
    }
    const qint64 otherEditor = m_lock->otherProcessId();
    const bool lockChanged = otherEditor != m_otherEditor;
    m_otherEditor = otherEditor;
    if (lockChanged && m_diskState == DiskState::InStep)
        Q_EMIT fileStateChanged();
    setDiskState(DiskState::InStep);
    if (newPath)
        Q_EMIT pathChanged(m_path);
}

void ScriptDocument::replaceText(const QString &text, bool undoably)
{
    Q_EMIT aboutToReplaceText(files::paragraphCount(text));
    if (undoably) {
        QTextCursor cursor(m_text);
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
        cursor.endEditBlock();
    } else {
        m_text->setPlainText(text);
    }
    Q_EMIT textReplaced(undoably);
}

// The file's text into the document, in a load's own change.
files::FileIdentity ScriptDocument::readIn(const QString &path, bool undoably)
{
    const ReadFile read = readFile(path);
    checkLinesFitEditor(read.decoded.text);
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        replaceText(read.decoded.text, undoably);
    }
    m_encoding = read.decoded.encoding;
    m_lineBreak = read.decoded.lineBreak;
    m_saveChanges = files::describeSaveChanges(read.decoded);
    m_fileVersion = m_textVersion;
    // What the file holds, also where a save would change it.
    setTextBytes(read.decoded.byteCount);
    return read.identity;
}

void ScriptDocument::setTextBytes(qint64 bytes)
{
    m_textBytes = bytes;
    m_bytesRevision = m_text->revision();
}

qint64 ScriptDocument::textBytes()
{
    if (m_textBytes >= 0 && m_bytesRevision == m_text->revision())
        return m_textBytes;
    if (m_pending) {
        // The save thread is writing the buffer: it must stay as it is.
        setTextBytes(m_encoder->encodedSize(m_encoding, m_lineBreak));
    } else {
        // Into the save buffer, which the next save then only patches.
        m_encoder->encodeInto(m_encoding, m_saveBuffer, m_lineBreak);
        m_finalBreakBytes = 0;
        setTextBytes(m_saveBuffer.size());
    }
    return m_textBytes;
}

void ScriptDocument::load(const QString &path)
{
    waitForSaves();
    const files::FileIdentity identity = readIn(path, false);
    m_recoveryCopyKept = false;
    takeFile(path, identity);
    setModified(false);
}

void ScriptDocument::reload()
{
    takeFile(m_path, readIn(m_path, true));
    setModified(false);
}

void ScriptDocument::startEmpty(const QString &path)
{
    waitForSaves();
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        replaceText(QString(), false);
    }
    m_encoding = files::TextEncoding::Utf8;
    m_lineBreak = files::LineBreak::CrLf;
    m_saveChanges.clear();
    m_recoveryCopyKept = false;
    m_fileVersion = m_textVersion;
    setTextBytes(0);
    takeFile(path, files::currentIdentity(path));
    setModified(false);
}

void ScriptDocument::restoreRecoveryCopy(const QByteArray &bytes)
{
    // The copy's own encoding: the torn file may have read as another one
    // (a UTF-8 character cut in two reads as Windows-1252).
    const files::DecodedText decoded = files::decodeText(bytes);
    m_encoding = decoded.encoding;
    m_lineBreak = decoded.lineBreak;
    m_recoveryCopyKept = true;
    replaceText(decoded.text, true);
}

void ScriptDocument::keepForRecovery()
{
    try {
        encodeForSave();
    } catch (const std::bad_alloc &) {
        m_saveBuffer = QByteArray();
        platform::raiseError(platform::ErrOutOfMemory);
    }
    const QByteArray target = linkTargetOf(m_path);
    if (target.isEmpty())
        platform::raiseError(platform::ErrPathNotFound);
    files::keepRecoveryCopy(target, m_saveBuffer);
    m_recoveryCopyKept = true;
}

void ScriptDocument::dropRecoveryCopy()
{
    if (!m_recoveryCopyKept)
        return;
    files::discardRecoveryCopy(m_path);
    m_recoveryCopyKept = false;
}

// After the file or its folder changed: whether the file is still as the
// document last saw it, and what to do when it is not.
void ScriptDocument::checkFile()
{
    if (m_loading)
        return;
    if (m_pending) {
        m_checkWanted = true; // our own save is changing it
        return;
    }
    const files::FileIdentity now = files::currentIdentity(m_path);
    const bool leadsElsewhere = now.exists && linkTargetOf(m_path) != m_target;
    if (!leadsElsewhere && now.sameAs(m_identity))
        return;
    fileChanged(now, leadsElsewhere);
}

// A file gone is never made again behind the user's back; a file changed is
// read again when the text holds nothing newer, and otherwise left to the
// user, as is a path that now leads to another file through a link.
void ScriptDocument::fileChanged(const files::FileIdentity &now, bool leadsElsewhere)
{
    if (!now.exists) {
        m_identity = now;
        setModified(true);
        setDiskState(DiskState::Gone);
        return;
    }
    if (holdsEdits() || leadsElsewhere || m_diskState == DiskState::ChangedElsewhere) {
        setModified(true);
        setDiskState(DiskState::ChangedElsewhere);
        return;
    }
    try {
        reload();
    } catch (const platform::Error &) {
        setModified(true);
        setDiskState(DiskState::ChangedElsewhere);
        return;
    }
    Q_EMIT reloadedFromDisk();
}

} // namespace panel
