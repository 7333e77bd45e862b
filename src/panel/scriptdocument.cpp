#include "panel/scriptdocument.h"

#include "editor/patchedencoding.h"
#include "editor/scripteditor.h"
#include "files/recovery.h"
#include "files/safesave.h"
#include "files/savefidelity.h"
#include "files/textlines.h"
#include "platform/localerules.h"

#include <QPlainTextDocumentLayout>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <new>

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

ScriptDocument::ScriptDocument(QObject *parent) : QObject(parent), m_text(new QTextDocument(this))
{
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    m_encoder = new editing::PatchedEncoding(*m_text);
    m_encoder->setParent(this);
}

ScriptDocument::~ScriptDocument() = default;

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

void ScriptDocument::replaceText(const QString &text)
{
    Q_EMIT aboutToReplaceText(editing::paragraphCount(text));
    m_text->setPlainText(text);
    Q_EMIT textReplaced();
}

void ScriptDocument::setTextBytes(qint64 bytes)
{
    m_textBytes = bytes;
    m_bytesRevision = m_text->revision();
}

qint64 ScriptDocument::textBytes()
{
    if (m_textBytes < 0 || m_bytesRevision != m_text->revision()) {
        // Into the save buffer, which the next save then only patches.
        m_encoder->encodeInto(m_encoding, m_saveBuffer, m_lineBreak);
        m_finalBreakBytes = 0;
        setTextBytes(m_saveBuffer.size());
    }
    return m_textBytes;
}

void ScriptDocument::load(const QString &path)
{
    const files::DecodedText decoded = files::readTextFile(path);
    checkLinesFitEditor(decoded.text);
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        replaceText(decoded.text);
    }
    m_encoding = decoded.encoding;
    m_lineBreak = decoded.lineBreak;
    m_saveChanges = files::describeSaveChanges(decoded);
    m_recoveryRestored = false;
    // What the file holds, also where a save would change it.
    setTextBytes(decoded.byteCount);
    setPath(path);
    setModified(false);
}

void ScriptDocument::startEmpty(const QString &path)
{
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        replaceText(QString());
    }
    m_encoding = files::TextEncoding::Utf8;
    m_lineBreak = files::LineBreak::CrLf;
    m_saveChanges.clear();
    m_recoveryRestored = false;
    setTextBytes(0);
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
    replaceText(decoded.text);
}

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

std::optional<platform::Error> ScriptDocument::saveTo(const QString &path)
{
    try {
        const files::TextEncoding used = encodeForSave();
        files::writeFileAtomically(path, m_saveBuffer);
        // A text the file's code page cannot hold went out as UTF-8: keep
        // UTF-8 from now on, so the file does not switch back and forth.
        m_encoding = used;
    } catch (const platform::Error &error) {
        return error;
    } catch (const std::bad_alloc &) {
        // The buffer may be half written: the next save encodes it whole.
        m_saveBuffer = QByteArray();
        return platform::Error(platform::ErrOutOfMemory, platform::standardDescription(platform::ErrOutOfMemory));
    }
    setTextBytes(m_saveBuffer.size() - m_finalBreakBytes);
    // The file now holds what a save was writing when it was cut short.
    if (m_recoveryRestored && path == m_path) {
        files::discardRecoveryCopy(path);
        m_recoveryRestored = false;
    }
    setModified(false);
    return std::nullopt;
}

} // namespace panel
