// SPDX-License-Identifier: MIT
#pragma once

#include "editor/codeeditor.h"
#include "files/textlines.h"

#include <optional>

class QTextBlock;

namespace editing {

// The script editor: a plain-text editor showing a script's document, whose
// text, as the rest of the program sees it, has every line break as CR LF.
// Selection positions count characters of that text, a line break counting
// two. It knows nothing of files: the document it shows is given to it.
class ScriptEditor : public CodeEditor {
    Q_OBJECT
public:
    explicit ScriptEditor(QWidget *parent = nullptr);

    // The whole text with CR LF line breaks, every other character as typed.
    QString text() const;
    // Replaces the whole content in one change (one change notification).
    void setText(const QString &text);
    // Number of characters of text() without building it.
    qint64 textLength() const;

    // Around a change that replaces the whole text with one of lineCount
    // lines, made on the document itself: the editor takes the width the new
    // text needs before it arrives, so that the document is laid out once.
    // Afterwards the cursor goes to the start, or with keepPlace (the same
    // file read again) stays on its line and column as far as they remain.
    void beginReplacingText(int lineCount);
    void endReplacingText(bool keepPlace = false);

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

    Qt::ScrollBarPolicy m_scrollBarPolicy = Qt::ScrollBarAsNeeded;
    // Where the cursor and the view stood before the text was replaced.
    int m_placeLine = 0;
    int m_placeColumn = 0;
    int m_placeScroll = 0;
};

} // namespace editing
