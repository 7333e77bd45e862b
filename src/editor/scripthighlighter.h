// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QStringList>
#include <QObject>
#include <QTextCharFormat>

class QTextBlock;
class QTextDocument;

namespace editing {

class CodeEditor;

// What a stretch of a script line is, as the compile run will read it.
enum class ScriptToken {
    Keyword,     // a first word that names a command
    NotACommand, // any other first word: wrong case, a tab before it, no arguments after it
    Quoted,      // from a quotation mark to the next one, or to the line's end
    Comment,     // a line whose first character after its spaces is ";"
    Number,      // digits standing alone as an argument, with sign and decimals
    Date,        // "Date$", which the run replaces with today's date
};

struct TokenSpan {
    int start = 0;
    int length = 0;
    ScriptToken kind = ScriptToken::Keyword;
};

// The tokens of one line, left to right; a Date span may lie inside a Quoted
// one. Only spaces (code 32) are trimmed, as the run trims them, so a line
// indented with a tab has a first word that is no command.
QList<TokenSpan> scriptTokens(QStringView line, const QStringList &keywords);

// Colours a script document by scriptTokens(). Each line is coloured on its
// own, so an edit recolours only the lines it changed. The colours are the
// lines' layout formats, no change of the text.
class ScriptHighlighter : public QObject {
    Q_OBJECT
public:
    // Colours every line of the document; darkBackground picks colours that
    // read on a dark background. The document owns the highlighter.
    ScriptHighlighter(QTextDocument *document, const QStringList &keywords, bool darkBackground = false);
    // Colours the editor's document; the lines of a large change (loading a
    // large script) only as the editor shows them, so that the load costs no
    // more than the lines on screen.
    ScriptHighlighter(CodeEditor &editor, const QStringList &keywords);

    QTextCharFormat formatOf(ScriptToken kind) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void colourChange(int position, int removed, int added);
    void colourLine(QTextBlock block);
    void colourShownLines();

    QTextDocument *m_document = nullptr;
    QStringList m_keywords;
    QList<QTextCharFormat> m_formats;
    CodeEditor *m_editor = nullptr;
};

} // namespace editing
