#pragma once

#include "platform/scriptfile.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace platform {
class ScriptEditor;
}

namespace panel {

// The script the control panel edits: which file it is, how that file's
// bytes became the editor's text (encoding, line breaks), whether the editor
// holds edits not yet saved, and the loads and saves that move the text
// between the file and the editor. The editor holds the text itself.
class ScriptDocument : public QObject {
    Q_OBJECT
public:
    explicit ScriptDocument(platform::ScriptEditor &editor, QObject *parent = nullptr);

    // The current source path: the file that saves write and runs read.
    const QString &path() const { return m_path; }
    void setPath(const QString &path);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // True only while load() puts a file's text into the editor, so that the
    // change this causes is neither saved back nor counted as an edit.
    bool isLoading() const { return m_loading; }

    platform::TextEncoding encoding() const { return m_encoding; }

    // Replaces the editor's text with the file's whole content; the document
    // is then that file, unmodified. Raises platform::ToolkitError when the
    // file cannot be read, leaving the editor and the document as they were.
    void load(const QString &path);

    // Writes the editor text into the file at path, followed by one line break
    // unless it already ends with one, and marks the document unmodified. The
    // file is replaced atomically; on failure it is left as it was and a
    // platform::ToolkitError carries the reason.
    void saveTo(const QString &path);

Q_SIGNALS:
    void modifiedChanged(bool modified);
    void pathChanged(const QString &path);

private:
    platform::ScriptEditor &m_editor;
    QString m_path;
    platform::TextEncoding m_encoding = platform::TextEncoding::Utf8;
    platform::LineBreak m_lineBreak = platform::LineBreak::CrLf;
    bool m_modified = false;
    bool m_loading = false;
    // Kept from save to save: a fresh buffer per keystroke costs far more in
    // page faults than the encoding itself.
    QByteArray m_saveBuffer;
};

} // namespace panel
