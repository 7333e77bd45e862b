#include "platform/scripteditor.h"

#include "platform/toolkiterror.h"

#include <QTextBlock>
#include <QTextDocument>

namespace platform {

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
    // Built in one pass: QString::replace() grows the text in chunks and
    // costs milliseconds on a 1 MB script, paid again at every keystroke.
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
    setPlainText(text);
}

TextEncoding ScriptEditor::encodeTextInto(TextEncoding encoding, QByteArray &out, LineBreak lineBreak) const
{
    const QString raw = document()->toRawText();
    const auto encodeAll = [&](TextEncoding as) {
        TextEncoder encoder(as);
        const QByteArray breakBytes = lineBreakBytes(lineBreak, as);
        out.truncate(0);
        out.append(byteOrderMark(as));
        QStringView rest(raw);
        for (;;) {
            const qsizetype lineEnd = rest.indexOf(QChar::ParagraphSeparator);
            if (!encoder.append(out, lineEnd < 0 ? rest : rest.left(lineEnd)))
                return false;
            if (lineEnd < 0)
                return true;
            out.append(breakBytes);
            rest = rest.mid(lineEnd + 1);
        }
    };
    if (encodeAll(encoding))
        return encoding;
    encodeAll(TextEncoding::Utf8);
    return TextEncoding::Utf8;
}

qint64 ScriptEditor::textLength() const
{
    const QTextDocument *doc = document();
    // characterCount() counts every block's separator, the last one included.
    return qint64(doc->characterCount()) - 1 + qint64(doc->blockCount()) - 1;
}

int ScriptEditor::toDocumentPosition(int textPosition) const
{
    int textStart = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int blockLength = block.length() - 1; // without its separator
        if (textPosition <= textStart + blockLength || !block.next().isValid())
            return block.position() + qMin(textPosition - textStart, blockLength);
        textStart += blockLength + 2;
        if (textPosition < textStart) // inside a CR LF pair
            return block.position() + blockLength;
    }
    return 0;
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
        raiseError(ErrInvalidPropertyValue);
    QTextCursor cursor(document());
    cursor.setPosition(toDocumentPosition(start));
    cursor.setPosition(toDocumentPosition(start + length), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

} // namespace platform
