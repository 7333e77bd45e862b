// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

namespace files {

// One line of a text: where it starts and how many characters it has, its
// line break not included, and whether a line break ended it.
struct TextLine {
    qsizetype start = 0;
    qsizetype length = 0;
    bool terminated = false;
};

// A line's characters, its line break left out, and where it starts in the
// text it was taken from.
struct PlacedLine {
    qsizetype start = 0;
    QString text;
};

// Walks a text line by line. A line ends at CR, CR LF or LF; the break is not
// part of the line, and the last line needs none. The text must outlive the
// walker.
class LineWalker {
public:
    explicit LineWalker(QStringView text, qsizetype from = 0) : m_text(text), m_pos(from) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next line; at the end of the text an empty line that no break ends.
    TextLine next();
    // 1-based number of the line next() returned last.
    int lineNumber() const { return m_lineNumber; }
    QStringView textOf(const TextLine &line) const { return m_text.mid(line.start, line.length); }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    int m_lineNumber = 0;
};

// The number of characters of the text's longest line.
qsizetype longestLineLength(QStringView text);

// Characters a QTextDocument takes as a paragraph break, besides CR and LF:
// U+2029 and the frame marks U+FDD0 and U+FDD1.
inline constexpr char16_t kEditorParagraphBreaks[] = {u'\u2029', u'\uFDD0', u'\uFDD1'};

// The number of paragraphs a text document makes of a text: QTextCursor ends
// a paragraph at CR LF, CR, LF and each of kEditorParagraphBreaks.
int paragraphCount(QStringView text);

} // namespace files
