#pragma once

#include "editor/codeeditor.h"
#include "files/textencoding.h"
#include "files/textlines.h"

#include <optional>

class QTextBlock;

namespace editing {

class PatchedEncoding;

// The script editor: a plain-text editor whose text, as the rest of the
// program sees it, has every line break as CR LF. Selection positions count
// characters of that text, a line break counting two.
class ScriptEditor : public CodeEditor {
    Q_OBJECT
public:
    explicit ScriptEditor(QWidget *parent = nullptr);

    // The whole text with CR LF line breaks, every other character as typed.
    QString text() const;
    // Replaces the whole content in one change (one change notification).
    void setText(const QString &text);
    // Replaces the content of out with the encoding's byte order mark and
    // text() in the encoding, line breaks included, reusing out's memory: a
    // large script saved at every keystroke would otherwise take megabytes of
    // fresh memory each time. Falls back to UTF-8 when a character has no
    // Windows-1252 byte; returns the encoding used.
    // After the first save, a later one into the same buffer re-encodes only
    // what was edited since, where it can do so exactly.
    files::TextEncoding encodeTextInto(files::TextEncoding encoding, QByteArray &out, files::LineBreak lineBreak = files::LineBreak::CrLf);
    // Number of characters of text() without building it.
    qint64 textLength() const;

    // Line index (0-based) of text(), found by its paragraph without
    // building text(); nothing past the last line.
    std::optional<files::PlacedLine> line(int index) const;
    // The first occurrence of what in text() at or after position from, as
    // the rest of the line it stands in (a match never spans a line break).
    std::optional<files::PlacedLine> find(const QString &what, int from, Qt::CaseSensitivity cs) const;

    int selStart() const;
    int selLength() const;
    // Selects length characters from start, both counted in text(). Raises 380
    // for a negative start or length.
    void setSelection(int start, int length);

private:
    // The paragraph whose line in text() holds textPosition, its line break
    // included; the last one for a position past the end.
    QTextBlock blockAtTextPosition(int textPosition) const;
    int toDocumentPosition(int textPosition) const;
    int toTextPosition(int documentPosition) const;

    PatchedEncoding *m_patched = nullptr;
};

} // namespace editing
