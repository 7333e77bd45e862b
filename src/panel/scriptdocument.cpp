#include "panel/scriptdocument.h"

#include "editor/scripteditor.h"
#include "files/recovery.h"
#include "files/safesave.h"
#include "files/savefidelity.h"
#include "files/textlines.h"
#include "platform/error.h"
#include "platform/localerules.h"

#include <QScopedValueRollback>

namespace {
// The editor lays out a line whole: a line of millions of characters takes it
// seconds per million, at the load and at every paint.
constexpr qsizetype kMaxEditorLineCharacters = qsizetype(1) << 20;

void checkLinesFitEditor(const QString &text)
{
    const qsizetype longest = files::longestLineLength(text);
    if (longest > kMaxEditorLineCharacters)
        platform::raiseError(platform::ErrFileAccess,
                             QStringLiteral("a line of %1 characters is longer than the editor can hold (%2)")
                                 .arg(platform::formatGroupedCount(longest),
                                      platform::formatGroupedCount(kMaxEditorLineCharacters)));
}
} // namespace

namespace panel {

ScriptDocument::ScriptDocument(editing::ScriptEditor &editor, QObject *parent)
    : QObject(parent), m_editor(editor)
{
}

void ScriptDocument::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    Q_EMIT pathChanged(m_path);
}

void ScriptDocument::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(m_modified);
}

void ScriptDocument::load(const QString &path)
{
    const files::DecodedText decoded = files::readTextFile(path);
    checkLinesFitEditor(decoded.text);
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        m_editor.setText(decoded.text);
    }
    m_encoding = decoded.encoding;
    m_lineBreak = decoded.lineBreak;
    m_saveChanges = files::describeSaveChanges(decoded);
    m_recoveryRestored = false;
    setPath(path);
    setModified(false);
}

void ScriptDocument::restoreRecoveryCopy(const QByteArray &bytes)
{
    // The copy's own encoding: the torn file may have read as another one
    // (a UTF-8 character cut in two reads as Windows-1252).
    const files::DecodedText decoded = files::decodeText(bytes);
    m_encoding = decoded.encoding;
    m_lineBreak = decoded.lineBreak;
    m_recoveryRestored = true;
    m_editor.setText(decoded.text);
}

void ScriptDocument::saveTo(const QString &path)
{
    const files::TextEncoding used = m_editor.encodeTextInto(m_encoding, m_saveBuffer, m_lineBreak);
    // Only a missing final line break is added, so loading a file and saving
    // it again leaves it as it was.
    files::ensureFinalLineBreak(m_saveBuffer, used, m_lineBreak);
    files::writeFileAtomically(path, m_saveBuffer);
    // A text the file's code page cannot hold went out as UTF-8: keep UTF-8
    // from now on, so the file does not switch back and forth.
    m_encoding = used;
    // The file now holds what a save was writing when it was cut short.
    if (m_recoveryRestored && path == m_path) {
        files::discardRecoveryCopy(path);
        m_recoveryRestored = false;
    }
    setModified(false);
}

} // namespace panel
