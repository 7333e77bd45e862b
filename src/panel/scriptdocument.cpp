#include "panel/scriptdocument.h"

#include "platform/scripteditor.h"
#include "platform/textsave.h"

#include <QScopedValueRollback>

namespace panel {

ScriptDocument::ScriptDocument(platform::ScriptEditor &editor, QObject *parent)
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
    const platform::DecodedText decoded = platform::readTextFile(path);
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        m_editor.setText(decoded.text);
    }
    m_encoding = decoded.encoding;
    m_lineBreak = decoded.lineBreak;
    setPath(path);
    setModified(false);
}

void ScriptDocument::saveTo(const QString &path)
{
    const platform::TextEncoding used = m_editor.encodeTextInto(m_encoding, m_saveBuffer, m_lineBreak);
    // Only a missing final line break is added, so loading a file and saving
    // it again leaves it as it was.
    if (!m_saveBuffer.endsWith('\n') && !m_saveBuffer.endsWith('\r'))
        m_saveBuffer.append(platform::lineBreakBytes(m_lineBreak));
    platform::writeFileAtomically(path, m_saveBuffer);
    // A text the file's code page cannot hold went out as UTF-8: keep UTF-8
    // from now on, so the file does not switch back and forth.
    m_encoding = used;
    setModified(false);
}

} // namespace panel
