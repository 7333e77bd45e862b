#include "editor/patchedencoding.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstring>

namespace editing {

namespace {
bool isAscii(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

QByteArrayView asciiLineBreak(files::LineBreak lineBreak) { return lineBreak == files::LineBreak::Lf ? "\n" : "\r\n"; }
} // namespace

PatchedEncoding::PatchedEncoding(QTextDocument &document) : m_document(document)
{
    connect(&document, &QTextDocument::contentsChange, this, &PatchedEncoding::noteChange);
}

qsizetype PatchedEncoding::rawLength() const { return qsizetype(m_document.characterCount()) - 1; }

qsizetype PatchedEncoding::byteOffset(qsizetype position) const
{
    // Every paragraph break before the position is a whole line break.
    const int breaksBefore = m_document.findBlock(int(position)).blockNumber();
    return position + qsizetype(breaksBefore) * (asciiLineBreak(m_lineBreak).size() - 1);
}

void PatchedEncoding::noteChange(int position, int, int added)
{
    // A change can count the document's closing paragraph mark, which is no
    // part of the raw text: nothing after it is left unchanged then.
    const qsizetype length = rawLength();
    m_changed = true;
    m_unchangedStart = qMin(m_unchangedStart, qsizetype(position));
    m_unchangedEnd = qMin(m_unchangedEnd, qMax<qsizetype>(0, length - position - added));
}

void PatchedEncoding::encodedWhole(const QByteArray &out, files::TextEncoding encoding, files::LineBreak lineBreak)
{
    const bool eightBit = encoding == files::TextEncoding::Utf8 || encoding == files::TextEncoding::Windows1252;
    m_buffer = &out;
    m_bytes = eightBit && isAscii(out) ? out.size() : -1;
    m_encoding = encoding;
    m_lineBreak = lineBreak;
    m_unchangedStart = m_unchangedEnd = rawLength();
    m_changed = false;
}

bool PatchedEncoding::encodeMiddle(qsizetype from, qsizetype to, QByteArray &bytes) const
{
    QTextCursor cursor(&m_document);
    cursor.setPosition(int(from));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    const QString text = cursor.selectedText(); // paragraph breaks as U+2029
    const QByteArrayView lineBreak = asciiLineBreak(m_lineBreak);
    bytes.resize(0);
    bytes.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        if (c == QChar::ParagraphSeparator)
            bytes.append(lineBreak);
        else if (c.unicode() < 0x80)
            bytes.append(char(c.unicode()));
        else
            return false;
    }
    return true;
}

bool PatchedEncoding::patch(QByteArray &out, files::TextEncoding encoding, files::LineBreak lineBreak)
{
    if (m_bytes < 0 || &out != m_buffer || encoding != m_encoding || lineBreak != m_lineBreak)
        return false;
    // A save may have ended the bytes with a line break of its own since.
    const QByteArrayView finalBreak = asciiLineBreak(lineBreak);
    if (out.size() == m_bytes + finalBreak.size() && out.endsWith(finalBreak))
        out.truncate(m_bytes);
    if (out.size() != m_bytes)
        return false;
    const qsizetype length = rawLength();
    if (!m_changed)
        return true;
    if (m_unchangedStart + m_unchangedEnd > length)
        return false;

    const qsizetype middleEnd = length - m_unchangedEnd;
    // Most of the text changed (a load, a paste over everything): encoding it
    // whole is faster than character by character.
    if (middleEnd - m_unchangedStart > length / 2)
        return false;
    if (!encodeMiddle(m_unchangedStart, middleEnd, m_middle)) {
        m_bytes = -1;
        return false;
    }
    const qsizetype start = byteOffset(m_unchangedStart);
    const qsizetype end = byteOffset(length) - byteOffset(middleEnd);
    const qsizetype size = start + m_middle.size() + end;
    if (out.capacity() < size)
        out.reserve(size + size / 8);
    if (size > out.size())
        out.resize(size);
    char *data = out.data();
    std::memmove(data + start + m_middle.size(), data + m_bytes - end, size_t(end));
    std::memcpy(data + start, m_middle.constData(), size_t(m_middle.size()));
    out.truncate(size);
    m_bytes = size;
    m_unchangedStart = m_unchangedEnd = length;
    m_changed = false;
    return true;
}

namespace {
// Encodes a raw text (paragraph breaks as U+2029) whole into out; false when
// stopAtMissingCharacter is set and a character has no byte in the encoding.
bool encodeRawText(QStringView raw, files::TextEncoding encoding, files::LineBreak lineBreak, QByteArray &out,
                   bool stopAtMissingCharacter)
{
    files::TextWriter writer(encoding, out);
    const QByteArray breakBytes = files::lineBreakBytes(lineBreak, encoding);
    writer.appendBytes(files::byteOrderMark(encoding));
    for (;;) {
        const qsizetype end = raw.indexOf(QChar::ParagraphSeparator);
        if (!writer.appendText(end < 0 ? raw : raw.first(end)) && stopAtMissingCharacter)
            return false;
        if (end < 0)
            break;
        writer.appendBytes(breakBytes);
        raw = raw.sliced(end + 1);
    }
    writer.finish();
    return true;
}
} // namespace

files::TextEncoding PatchedEncoding::encodeInto(files::TextEncoding encoding, QByteArray &out,
                                                files::LineBreak lineBreak)
{
    if (patch(out, encoding, lineBreak))
        return encoding;
    // A character an encoding lacks stops the encoding only where another
    // can hold it: Windows-1252 gives way to UTF-8. A lone half of a
    // surrogate pair, which no encoding holds, is written as the encoder's
    // replacement, and every line after it still is.
    const QString raw = m_document.toRawText();
    files::TextEncoding used = encoding;
    if (encoding != files::TextEncoding::Windows1252)
        encodeRawText(raw, encoding, lineBreak, out, false);
    else if (!encodeRawText(raw, encoding, lineBreak, out, true))
        encodeRawText(raw, used = files::TextEncoding::Utf8, lineBreak, out, false);
    encodedWhole(out, used, lineBreak);
    return used;
}

} // namespace editing
