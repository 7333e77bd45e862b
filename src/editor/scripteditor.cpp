#include "editor/scripteditor.h"

#include "editor/documenttext.h"
#include "editor/patchedencoding.h"
#include "platform/error.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>

namespace editing {

ScriptEditor::ScriptEditor(QWidget *parent) : CodeEditor(parent)
{
    // Long unbroken lines make wrapping quadratic; scripts are line-oriented anyway.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    m_patched = new PatchedEncoding(*document());
    m_patched->setParent(this);
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

namespace {
// A highlighter takes every line of a change through its pass (and gives it
// a layout object), a whole long text at once. It is held off while a long
// text goes in: the editor's highlighter colours lines as they are shown,
// and each later edit as usual. Qt connects the pass by this slot's name.
constexpr qsizetype kColourAtOnceMaxChars = 100000;
const char *const kHighlighterPass = SLOT(_q_reformatBlocks(int,int,int));

// The number of paragraphs the document makes of a text: QTextCursor ends a
// paragraph at CR LF, CR, LF, U+2029 and the frame marks U+FDD0 and U+FDD1.
int paragraphCount(QStringView text)
{
    int count = 1;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        else if (c != u'\r' && c != u'\n' && c != u'\u2029' && c != u'\ufdd0' && c != u'\ufdd1')
            continue;
        ++count;
    }
    return count;
}
} // namespace

void ScriptEditor::setText(const QString &text)
{
    // A text taller than the editor brings the vertical scroll bar, and one
    // of more lines a wider gutter, both narrowing the viewport; Qt then lays
    // the whole document out again, with a layout object for every line (at
    // 10 MB, half the start-up's memory). With the gutter's width for the new
    // text and the bar there while the text goes in, the document is laid
    // out once, at the width a long text keeps; a short one loses the bar
    // again afterwards at the cost of its few lines.
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reserveGutterFor(paragraphCount(text));
    if (!isVisible()) {
        // A hidden editor places its viewport, and sets the document's width
        // from it, only when first shown: do both now, at the size the
        // editor already has.
        QResizeEvent resized(size(), QSize());
        QCoreApplication::sendEvent(this, &resized);
        QResizeEvent viewportResized(viewport()->size(), QSize());
        QCoreApplication::sendEvent(viewport(), &viewportResized);
        viewport()->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
    const QList<QSyntaxHighlighter *> heldOff = text.size() > kColourAtOnceMaxChars
        ? document()->findChildren<QSyntaxHighlighter *>(Qt::FindDirectChildrenOnly)
        : QList<QSyntaxHighlighter *>();
    for (QSyntaxHighlighter *highlighter : heldOff)
        QObject::disconnect(document(), SIGNAL(contentsChange(int,int,int)), highlighter, kHighlighterPass);
    setPlainText(text);
    for (QSyntaxHighlighter *highlighter : heldOff)
        QObject::connect(document(), SIGNAL(contentsChange(int,int,int)), highlighter, kHighlighterPass);
    setVerticalScrollBarPolicy(policy);
}

files::TextEncoding ScriptEditor::encodeTextInto(files::TextEncoding encoding, QByteArray &out, files::LineBreak lineBreak)
{
    if (m_patched->patch(out, encoding, lineBreak))
        return encoding;
    // A character an encoding lacks stops the encoding only where another
    // can hold it: Windows-1252 gives way to UTF-8. A lone half of a
    // surrogate pair, which no encoding holds, is written as the encoder's
    // replacement, and every line after it still is.
    const auto encodeAll = [&](files::TextEncoding as, bool stopAtMissingCharacter) {
        files::TextWriter writer(as, out);
        const QByteArray breakBytes = files::lineBreakBytes(lineBreak, as);
        writer.appendBytes(files::byteOrderMark(as));
        const bool encoded = forEachRawLine(*document(), [&](QStringView line, bool last) {
            if (!writer.appendText(line) && stopAtMissingCharacter)
                return false;
            if (!last)
                writer.appendBytes(breakBytes);
            return true;
        });
        writer.finish();
        return encoded;
    };
    files::TextEncoding used = encoding;
    if (encoding != files::TextEncoding::Windows1252)
        encodeAll(encoding, false);
    else if (!encodeAll(encoding, true))
        encodeAll(used = files::TextEncoding::Utf8, false);
    m_patched->encodedWhole(out, used, lineBreak);
    return used;
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
