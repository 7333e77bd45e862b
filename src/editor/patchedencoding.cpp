// SPDX-License-Identifier: MIT
#include "editor/patchedencoding.h"

#include <QTextBlock>
#include <QTextDocument>
#include <cstring>

namespace editing {

namespace {
// Small enough that measuring part of a segment costs little, large enough
// that walking the list of a 10 MB script does too.
constexpr qsizetype kSegmentCharacters = 4096;

bool hasSurrogate(QStringView text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

// Where text of a segment list may end: not between the halves of a pair.
qsizetype segmentEnd(QStringView text, qsizetype from)
{
    qsizetype end = qMin(from + kSegmentCharacters, text.size());
    while (end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate())
        ++end;
    return end;
}
} // namespace

// Appends a document's raw text (paragraph breaks as U+2029) in an encoding,
// each paragraph break as the line break's bytes. A character an encoding
// lacks stops the encoding only where another can hold it: Windows-1252 gives
// way to UTF-8. A lone half of a surrogate pair, which no encoding holds, is
// written as the encoder's replacement, and every line after it still is;
// in Windows-1252 it stops the encoding, so UTF-8 replaces it.
class PatchedEncoding::RawTextEncoder {
public:
    RawTextEncoder(files::TextEncoding encoding, files::LineBreak lineBreak)
        : m_encoder(encoding), m_lineBreak(files::lineBreakBytes(lineBreak, encoding)),
          m_windows1252(encoding == files::TextEncoding::Windows1252)
    {
    }

    // False when a character has no byte in the encoding.
    bool append(QByteArray &out, QStringView raw)
    {
        if (m_windows1252 && hasSurrogate(raw))
            return false;
        for (;;) {
            const qsizetype end = raw.indexOf(QChar::ParagraphSeparator);
            if (!m_encoder.append(out, end < 0 ? raw : raw.first(end)) && m_windows1252)
                return false;
            if (end < 0)
                return true;
            out.append(m_lineBreak);
            raw = raw.sliced(end + 1);
        }
    }

    // Appends text in segments that end outside surrogate pairs, adding each
    // to segments; false when a character has no byte in the encoding.
    bool appendInSegments(QStringView text, QByteArray &out, QList<Segment> &segments)
    {
        for (qsizetype from = 0; from < text.size();) {
            const qsizetype end = segmentEnd(text, from);
            const qsizetype before = out.size();
            if (!append(out, text.sliced(from, end - from)))
                return false;
            segments.append({end - from, out.size() - before});
            from = end;
        }
        return true;
    }

private:
    files::TextEncoder m_encoder;
    QByteArray m_lineBreak;
    bool m_windows1252;
};

PatchedEncoding::PatchedEncoding(QTextDocument &document) : m_document(document)
{
    connect(&document, &QTextDocument::contentsChange, this, &PatchedEncoding::noteChange);
}

qsizetype PatchedEncoding::rawLength() const { return qsizetype(m_document.characterCount()) - 1; }

// Read paragraph by paragraph: a text cursor would lay its paragraphs out.
QString PatchedEncoding::textBetween(qsizetype from, qsizetype to) const
{
    QString text;
    text.reserve(to - from);
    for (QTextBlock block = m_document.findBlock(int(from)); block.isValid() && block.position() < to;
         block = block.next()) {
        const qsizetype start = block.position();
        const QString line = block.text();
        const qsizetype first = qMax(from, start) - start;
        const qsizetype end = qMin(to - start, qsizetype(line.size()));
        if (end > first)
            text += QStringView(line).sliced(first, end - first);
        if (start + line.size() < to)
            text += QChar::ParagraphSeparator;
    }
    return text;
}

void PatchedEncoding::noteChange(int position, int, int added)
{
    // A change can count the document's closing paragraph mark, which is no
    // part of the raw text: nothing after it is left unchanged then.
    m_changed = true;
    m_unchangedStart = qMin(m_unchangedStart, qsizetype(position));
    m_unchangedEnd = qMin(m_unchangedEnd, qMax<qsizetype>(0, rawLength() - position - added));
}

files::TextEncoding PatchedEncoding::encodeInto(files::TextEncoding encoding, QByteArray &out,
                                                files::LineBreak lineBreak)
{
    m_lastPatched = patch(out, encoding, lineBreak);
    if (m_lastPatched)
        return encoding;
    const QString raw = m_document.toRawText();
    if (encodeWhole(raw, encoding, lineBreak, out))
        return encoding;
    encodeWhole(raw, files::TextEncoding::Utf8, lineBreak, out);
    return files::TextEncoding::Utf8;
}

bool PatchedEncoding::encodeWhole(QStringView raw, files::TextEncoding encoding, files::LineBreak lineBreak,
                                  QByteArray &out)
{
    RawTextEncoder encoder(encoding, lineBreak);
    out.resize(0); // keeps the memory
    out.append(files::byteOrderMark(encoding));
    QList<Segment> segments;
    if (!encoder.appendInSegments(raw, out, segments))
        return false;
    m_segments = std::move(segments);
    m_buffer = &out;
    m_bytes = out.size();
    m_encoding = encoding;
    m_lineBreak = lineBreak;
    m_encodedLength = m_unchangedStart = m_unchangedEnd = raw.size();
    m_changed = false;
    return true;
}

PatchedEncoding::Place PatchedEncoding::placeOf(qsizetype position) const
{
    Place place;
    for (; place.index < m_segments.size(); ++place.index) {
        const Segment &segment = m_segments.at(place.index);
        if (position < place.characterStart + segment.characters)
            break;
        place.characterStart += segment.characters;
        place.byteStart += segment.bytes;
    }
    return place;
}

qsizetype PatchedEncoding::measure(RawTextEncoder &encoder, qsizetype from, qsizetype to)
{
    if (from >= to)
        return 0;
    m_scratch.resize(0);
    encoder.append(m_scratch, textBetween(from, to));
    return m_scratch.size();
}

// What replaces what since the last encoding (its bytes in m_middle); none
// when the text must be encoded whole. Only for the encoding and line break
// of the last encoding, after edits.
std::optional<PatchedEncoding::Patch> PatchedEncoding::planPatch()
{
    const qsizetype length = rawLength();
    if (m_unchangedStart + m_unchangedEnd > qMin(length, m_encodedLength))
        return std::nullopt;
    // The characters to encode again, in the text as it is now. An edit can
    // join the two halves of a pair or part them: a half beside the edit
    // goes along.
    Patch patch;
    patch.start = m_unchangedStart;
    patch.end = length - m_unchangedEnd;
    if (patch.start > 0 && m_document.characterAt(int(patch.start - 1)).isHighSurrogate())
        --patch.start;
    if (patch.end < length && m_document.characterAt(int(patch.end)).isLowSurrogate())
        ++patch.end;
    // Most of the text changed (a load, a paste over everything): encoding it
    // whole is faster than piece by piece.
    if (patch.end - patch.start > length / 2)
        return std::nullopt;
    RawTextEncoder encoder(m_encoding, m_lineBreak);
    m_middle.resize(0);
    if (!encoder.appendInSegments(textBetween(patch.start, patch.end), m_middle, patch.middle)) {
        m_bytes = -1;
        return std::nullopt;
    }
    // Where the replaced bytes start and end in the last encoding: found by
    // their segments, and within them by measuring unchanged characters.
    patch.oldEnd = patch.end + m_encodedLength - length;
    patch.first = placeOf(patch.start);
    patch.last = placeOf(patch.oldEnd);
    patch.byteStart = patch.first.byteStart + measure(encoder, patch.first.characterStart, patch.start);
    patch.byteEnd = patch.last.byteStart;
    if (patch.last.index < m_segments.size()) {
        const Segment &segment = m_segments.at(patch.last.index);
        const qsizetype segmentEndNow = patch.last.characterStart + segment.characters + length - m_encodedLength;
        patch.byteEnd += segment.bytes - measure(encoder, patch.end, segmentEndNow);
    }
    return patch;
}

qsizetype PatchedEncoding::sizeAfter(const Patch &patch) const
{
    return m_bytes - (patch.byteEnd - patch.byteStart) + m_middle.size();
}

bool PatchedEncoding::patch(QByteArray &out, files::TextEncoding encoding, files::LineBreak lineBreak)
{
    if (m_bytes < 0 || &out != m_buffer || encoding != m_encoding || lineBreak != m_lineBreak)
        return false;
    // A save may have ended the bytes with a line break of its own since.
    const QByteArray finalBreak = files::lineBreakBytes(lineBreak, encoding);
    if (out.size() == m_bytes + finalBreak.size() && out.endsWith(finalBreak))
        out.truncate(m_bytes);
    if (out.size() != m_bytes)
        return false;
    if (!m_changed)
        return true;
    const std::optional<Patch> patch = planPatch();
    if (!patch)
        return false;
    applyPatch(out, *patch);
    return true;
}

void PatchedEncoding::applyPatch(QByteArray &out, const Patch &patch)
{
    const qsizetype mark = files::byteOrderMark(m_encoding).size();
    const qsizetype head = mark + patch.byteStart;
    const qsizetype tail = m_bytes - mark - patch.byteEnd;
    const qsizetype size = sizeAfter(patch);
    if (out.capacity() < size)
        out.reserve(size + size / 8);
    if (size > out.size())
        out.resize(size);
    char *data = out.data();
    std::memmove(data + head + m_middle.size(), data + mark + patch.byteEnd, size_t(tail));
    std::memcpy(data + head, m_middle.constData(), size_t(m_middle.size()));
    out.truncate(size);

    QList<Segment> replacement;
    if (patch.start > patch.first.characterStart)
        replacement.append({patch.start - patch.first.characterStart, patch.byteStart - patch.first.byteStart});
    replacement += patch.middle;
    if (patch.last.index < m_segments.size()) {
        const Segment &segment = m_segments.at(patch.last.index);
        const qsizetype rest = patch.last.characterStart + segment.characters - patch.oldEnd;
        if (rest > 0)
            replacement.append({rest, patch.last.byteStart + segment.bytes - patch.byteEnd});
    }
    replaceSegments(patch.first, patch.last, std::move(replacement));
    m_bytes = size;
    m_encodedLength = m_unchangedStart = m_unchangedEnd = rawLength();
    m_changed = false;
}

qsizetype PatchedEncoding::encodedSize(files::TextEncoding encoding, files::LineBreak lineBreak)
{
    if (m_bytes >= 0 && encoding == m_encoding && lineBreak == m_lineBreak) {
        if (!m_changed)
            return m_bytes;
        if (const std::optional<Patch> patch = planPatch())
            return sizeAfter(*patch);
    }
    const QString raw = m_document.toRawText();
    QByteArray bytes = files::byteOrderMark(encoding).toByteArray();
    QList<Segment> segments;
    if (RawTextEncoder(encoding, lineBreak).appendInSegments(raw, bytes, segments))
        return bytes.size();
    bytes.resize(0);
    RawTextEncoder(files::TextEncoding::Utf8, lineBreak).appendInSegments(raw, bytes, segments);
    return bytes.size();
}

void PatchedEncoding::replaceSegments(const Place &first, const Place &last, QList<Segment> replacement)
{
    const qsizetype replacedEnd = qMin(last.index + 1, m_segments.size());
    QList<Segment> segments = m_segments.first(first.index);
    segments.reserve(first.index + replacement.size() + m_segments.size() - replacedEnd);
    segments += replacement;
    segments += m_segments.sliced(replacedEnd);
    m_segments = std::move(segments);
    mergeSmallSegments(first.index - 1, first.index + replacement.size() + 1);
}

// Joins neighbours that fit in one segment, so that edits do not leave the
// list ever longer.
void PatchedEncoding::mergeSmallSegments(qsizetype from, qsizetype to)
{
    for (qsizetype i = qMax<qsizetype>(from, 0); i < to && i + 1 < m_segments.size();) {
        Segment &segment = m_segments[i];
        const Segment &next = m_segments.at(i + 1);
        if (segment.characters + next.characters > kSegmentCharacters) {
            ++i;
            continue;
        }
        segment.characters += next.characters;
        segment.bytes += next.bytes;
        m_segments.removeAt(i + 1);
        --to;
    }
}

} // namespace editing
