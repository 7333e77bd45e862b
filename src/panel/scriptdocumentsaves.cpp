// SPDX-License-Identifier: MIT
// The script document's saves: encoded on the GUI thread, written by the
// save thread, their results taken in here.
#include "panel/scriptdocument.h"

#include "editor/patchedencoding.h"
#include "files/savefile.h"
#include "files/saveworker.h"
#include "files/textencoding.h"
#include "platform/error.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <new>

namespace panel {

files::TextEncoding ScriptDocument::encodeForSave()
{
    const files::TextEncoding used = m_encoder->encodeInto(m_encoding, m_saveBuffer, m_lineBreak);
    // Only a missing final line break is added, so loading a file and saving
    // it again leaves it as it was.
    const qsizetype textBytes = m_saveBuffer.size();
    files::ensureFinalLineBreak(m_saveBuffer, used, m_lineBreak);
    m_finalBreakBytes = m_saveBuffer.size() - textBytes;
    return used;
}

void ScriptDocument::save()
{
    if (m_diskState != DiskState::InStep || m_loading)
        return;
    if (m_pending)
        m_saveWanted = true;
    else
        startSave(m_path, m_identity, false);
}

// The text is encoded here and written by the save thread; a failure to
// encode is a failed save like any other.
void ScriptDocument::startSave(const QString &path, std::optional<files::FileIdentity> expected, bool becomesCurrent)
{
    PendingSave pending{0, path, m_textVersion, m_encoding, becomesCurrent};
    try {
        pending.encoding = encodeForSave();
    } catch (const std::bad_alloc &) {
        m_saveBuffer = QByteArray(); // half written: the next save encodes it whole
        files::SaveResult failed;
        failed.errorNumber = platform::ErrOutOfMemory;
        failed.description = platform::standardDescription(platform::ErrOutOfMemory);
        finishSave(pending, failed);
        return;
    }
    setTextBytes(m_saveBuffer.size() - m_finalBreakBytes);
    pending.version = m_worker->save({path, m_saveBuffer, expected});
    m_pending = pending;
}

void ScriptDocument::takeResult(quint64 version, const files::SaveResult &result)
{
    if (!m_pending || m_pending->version != version)
        return;
    const PendingSave done = *m_pending;
    m_pending.reset();
    finishSave(done, result);
    if (m_saveWanted) {
        m_saveWanted = false;
        save();
    }
    if (!m_pending && m_checkWanted) {
        m_checkWanted = false;
        checkFile();
    }
}

void ScriptDocument::finishSave(const PendingSave &done, const files::SaveResult &result)
{
    m_lastResult = result;
    const bool wasCurrent = done.path == m_path;
    switch (result.status) {
    case files::SaveResult::Status::Saved:
        if (done.becomesCurrent)
            takeFile(done.path, result.written);
        if (done.path != m_path)
            break;
        m_identity = result.written;
        m_encoding = done.encoding;
        m_fileVersion = done.textVersion;
        setDiskState(DiskState::InStep);
        if (!holdsEdits())
            setModified(false);
        // The file now holds what the copy was kept for.
        if (wasCurrent)
            dropRecoveryCopy();
        break;
    case files::SaveResult::Status::Failed:
        if (wasCurrent && result.written.exists)
            m_identity = result.written;
        if (wasCurrent)
            setModified(true);
        break;
    case files::SaveResult::Status::Conflict:
        if (!wasCurrent)
            break;
        m_saveWanted = false;
        setModified(true);
        setDiskState(result.found.exists ? DiskState::ChangedElsewhere : DiskState::Gone);
        break;
    }
    Q_EMIT saveFinished(done.path, result);
}

files::SaveResult ScriptDocument::saveAndWait(const QString &path, std::optional<files::FileIdentity> expected,
                                              bool becomesCurrent)
{
    waitForSaves();
    startSave(path, expected, becomesCurrent);
    waitForSaves();
    return m_lastResult;
}

files::SaveResult ScriptDocument::saveTo(const QString &path)
{
    if (path == m_path)
        return saveAndWait(path, m_identity, false);
    return saveAndWait(path, std::nullopt, true);
}

files::SaveResult ScriptDocument::overwrite() { return saveAndWait(m_path, std::nullopt, false); }

bool ScriptDocument::waitForSaves(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_pending) {
        if (!m_worker->waitUntilIdle(int(deadline.remainingTime())))
            return false;
        // The result is on its way to this thread: take it in now.
        QCoreApplication::sendPostedEvents(m_worker, QEvent::MetaCall);
    }
    return true;
}

} // namespace panel
