#pragma once

#include "files/textencoding.h"
#include "platform/error.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

class QTextDocument;

namespace editing {
class PatchedEncoding;
}

namespace panel {

// The script the control panel edits: its text (a text document laid out as
// plain text, which the editor shows), which file it is, how that file's
// bytes became the text (encoding, line breaks), whether the text holds edits
// not yet saved, and the loads and saves that move the text between the file
// and the document.
class ScriptDocument : public QObject {
    Q_OBJECT
public:
    explicit ScriptDocument(QObject *parent = nullptr);
    ~ScriptDocument() override;

    QTextDocument *textDocument() const { return m_text; }

    // The current source path: the file that saves write and runs read.
    const QString &path() const { return m_path; }
    void setPath(const QString &path);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // True only while load() puts a file's text into the document, so that
    // the change this causes is neither saved back nor counted as an edit.
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

    // Replaces the text with the file's whole content; the document is then
    // that file, unmodified. Raises platform::Error when the file cannot be
    // read or has a line too long for the editor, leaving the document as it
    // was.
    void load(const QString &path);

    // Puts the text of an interrupted save's recovery copy (the file's bytes)
    // into the document, as an edit; the copy goes once a save of the
    // current file has completed.
    void restoreRecoveryCopy(const QByteArray &bytes);

    // Writes the text into the file at path, followed by one line break
    // unless it already ends with one, and marks the document unmodified. The
    // file is replaced atomically. Returns why the save failed, the file then
    // left as it was and the document as modified as it was; nothing once
    // saved.
    std::optional<platform::Error> saveTo(const QString &path);

Q_SIGNALS:
    void modifiedChanged(bool modified);
    void pathChanged(const QString &path);
    // Around a change that replaces the whole text with one of lineCount
    // lines, so that a view can make room for it first.
    void aboutToReplaceText(int lineCount);
    void textReplaced();

private:
    void replaceText(const QString &text);
    void setTextBytes(qint64 bytes);
    files::TextEncoding encodeForSave();

    QTextDocument *m_text = nullptr;
    editing::PatchedEncoding *m_encoder = nullptr;
    QString m_path;
    files::TextEncoding m_encoding = files::TextEncoding::Utf8;
    files::LineBreak m_lineBreak = files::LineBreak::CrLf;
    bool m_modified = false;
    bool m_loading = false;
    bool m_recoveryRestored = false;
    QString m_saveChanges;
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
