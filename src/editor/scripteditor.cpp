// SPDX-License-Identifier: MIT
#include "editor/scripteditor.h"

#include "platform/error.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace editing {

ScriptEditor::ScriptEditor(QWidget *parent) : CodeEditor(parent)
{
    // Long unbroken lines make wrapping quadratic; scripts are line-oriented anyway.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
}

QString ScriptEditor::text() const
{
    // toPlainText() would also rewrite no-break spaces and line separators;
    // the raw text keeps every character and marks line breaks with U+2029.
    const QString raw = document()->toRawText();
    // Built in one pass: QString::replace() would grow the text in chunks.
    QString text(raw.size() + document()->blockCount() - 1, Qt::Uninitialized);
    QChar *out = text.data();
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator) {
            *out++ = QLatin1Char('\r');
            *out++ = QLatin1Char('\n');
        } else {
            *out++ = c;
        }
    }
    text.truncate(out - text.constData());
    return text;
}

void ScriptEditor::setText(const QString &text)
{
    beginReplacingText(files::paragraphCount(text));
    document()->setPlainText(text);
    endReplacingText();
}

void ScriptEditor::beginReplacingText(int lineCount)
{
    // A text taller than the editor brings the vertical scroll bar, and one
    // of more lines a wider gutter, both narrowing the viewport; Qt then lays
    // the whole document out again, with a layout object for every line.
    // With the gutter's width for the new text and the bar there while the
    // text goes in, the document is laid out once, at the width a long text
    // keeps; a short one loses the bar again afterwards at the cost of its
    // few lines.
    const QTextCursor cursor = textCursor();
    m_placeLine = cursor.blockNumber();
    m_placeColumn = cursor.positionInBlock();
    m_placeScroll = verticalScrollBar()->value();
    m_scrollBarPolicy = verticalScrollBarPolicy();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reserveGutterFor(lineCount);
    layOutAtViewportWidth();
}

void ScriptEditor::endReplacingText(bool keepPlace)
{
    setVerticalScrollBarPolicy(m_scrollBarPolicy);
    if (!keepPlace) {
        setTextCursor(QTextCursor(document()));
        return;
    }
    const QTextBlock block = document()->findBlockByNumber(qMin(m_placeLine, document()->blockCount() - 1));
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + qMin(m_placeColumn, block.length() - 1));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(m_placeScroll);
}

qint64 ScriptEditor::textLength() const
{
    const QTextDocument *doc = document();
    // characterCount() counts every block's separator, the last one included.
    return qint64(doc->characterCount()) - 1 + qint64(doc->blockCount()) - 1;
}

namespace {
// Where a paragraph's line starts in text(): every earlier line break counts
// two there and one in the document.
int textStartOf(const QTextBlock &block)
{
    return block.position() + block.blockNumber();
}
} // namespace

QTextBlock ScriptEditor::blockAtTextPosition(int textPosition) const
{
    // Binary search by paragraph number, so that a step pause costs the same
    // in a long script as in a short one.
    const QTextDocument *doc = document();
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (textStartOf(doc->findBlockByNumber(middle)) <= textPosition)
            low = middle;
        else
            high = middle - 1;
    }
    return doc->findBlockByNumber(low);
}

int ScriptEditor::toDocumentPosition(int textPosition) const
{
    // A position inside or after a CR LF pair stays at its line's end.
    const QTextBlock block = blockAtTextPosition(textPosition);
    const int blockLength = block.length() - 1; // without its separator
    return block.position() + qBound(0, textPosition - textStartOf(block), blockLength);
}

std::optional<files::PlacedLine> ScriptEditor::line(int index) const
{
    const QTextBlock block = document()->findBlockByNumber(index);
    if (index < 0 || !block.isValid())
        return std::nullopt;
    return files::PlacedLine{textStartOf(block), block.text()};
}

std::optional<files::PlacedLine> ScriptEditor::find(const QString &what, int from, Qt::CaseSensitivity cs) const
{
    from = qMax(from, 0);
    QTextBlock block = blockAtTextPosition(from);
    int lineStart = textStartOf(block);
    for (int offset = from - lineStart; block.isValid(); offset = 0) {
        const QString text = block.text();
        const qsizetype found = offset <= text.size() ? text.indexOf(what, offset, cs) : -1;
        if (found >= 0)
            return files::PlacedLine{lineStart + found, text.mid(found)};
        lineStart += int(text.size()) + 2;
        block = block.next();
    }
    return std::nullopt;
}

int ScriptEditor::toTextPosition(int documentPosition) const
{
    const QTextBlock block = document()->findBlock(documentPosition);
    return documentPosition + block.blockNumber();
}

int ScriptEditor::selStart() const
{
    return toTextPosition(textCursor().selectionStart());
}

int ScriptEditor::selLength() const
{
    const QTextCursor cursor = textCursor();
    return toTextPosition(cursor.selectionEnd()) - toTextPosition(cursor.selectionStart());
}

void ScriptEditor::setSelection(int start, int length)
{
    if (start < 0 || length < 0)
        platform::raiseError(platform::ErrInvalidPropertyValue);
    QTextCursor cursor(document());
    cursor.setPosition(toDocumentPosition(start));
    cursor.setPosition(toDocumentPosition(start + length), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

} // namespace editing
