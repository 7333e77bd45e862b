// SPDX-License-Identifier: MIT
#pragma once

#include "files/textencoding.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

class QTextDocument;

namespace editing {

// Keeps a text document's encoded bytes up to date by patching them: after a
// whole encoding of the document into a buffer, the next one re-encodes only
// the characters edited since (as the document's contentsChange reports
// them), moves the unchanged end of the buffer into place and keeps the
// unchanged start. A keystroke in a large script then costs a move of bytes
// instead of an encoding of the whole text, in every encoding.
//
// To find where a character's bytes start without encoding the text before
// it, the text is kept as a list of segments of a few thousand characters,
// each with the number of bytes it took; a segment never ends between the
// two halves of a surrogate pair.
class PatchedEncoding : public QObject {
public:
    explicit PatchedEncoding(QTextDocument &document);

    // Replaces the content of out with the encoding's byte order mark and the
    // document's text in the encoding, each paragraph break a line break,
    // reusing out's memory: a large script saved at every keystroke would
    // otherwise take megabytes of fresh memory each time. Falls back to UTF-8
    // when a character has no Windows-1252 byte; returns the encoding used.
    // Into the buffer of the last encoding (or that buffer with a final line
    // break appended since), only what was edited since is re-encoded.
    files::TextEncoding encodeInto(files::TextEncoding encoding, QByteArray &out, files::LineBreak lineBreak);
    // The number of bytes encodeInto() would give now, without changing any
    // buffer (one a save thread is writing, for one).
    qsizetype encodedSize(files::TextEncoding encoding, files::LineBreak lineBreak);
    // Whether the last encodeInto() patched the bytes instead of encoding the
    // whole text (which a large change, a new buffer or another encoding
    // needs).
    bool lastPatched() const { return m_lastPatched; }

private:
    class RawTextEncoder;
    struct Segment {
        qsizetype characters = 0;
        qsizetype bytes = 0;
    };
    // A segment found by a position of the text as last encoded, with the
    // position of its first character and of its first byte (after the mark).
    struct Place {
        qsizetype index = 0;
        qsizetype characterStart = 0;
        qsizetype byteStart = 0;
    };

    // The characters start..end of the text now replace oldEnd's part of the
    // text as last encoded; in bytes, byteStart..byteEnd (after the mark).
    struct Patch {
        qsizetype start = 0, end = 0, oldEnd = 0;
        Place first, last;
        qsizetype byteStart = 0, byteEnd = 0;
        QList<Segment> middle;
    };

    void noteChange(int position, int removed, int added);
    qsizetype rawLength() const;
    QString textBetween(qsizetype from, qsizetype to) const;
    Place placeOf(qsizetype position) const;
    bool encodeWhole(QStringView raw, files::TextEncoding encoding, files::LineBreak lineBreak, QByteArray &out);
    bool patch(QByteArray &out, files::TextEncoding encoding, files::LineBreak lineBreak);
    std::optional<Patch> planPatch();
    qsizetype sizeAfter(const Patch &patch) const;
    void applyPatch(QByteArray &out, const Patch &patch);
    qsizetype measure(RawTextEncoder &encoder, qsizetype from, qsizetype to);
    void replaceSegments(const Place &first, const Place &last, QList<Segment> replacement);
    void mergeSmallSegments(qsizetype from, qsizetype to);

    QTextDocument &m_document;
    // The buffer of the last encoding, known by the object and its size (its
    // memory may move when a save appends a line break); a size of -1:
    // nothing to patch.
    const QByteArray *m_buffer = nullptr;
    qsizetype m_bytes = -1;
    files::TextEncoding m_encoding = files::TextEncoding::Utf8;
    files::LineBreak m_lineBreak = files::LineBreak::CrLf;
    QList<Segment> m_segments;
    qsizetype m_encodedLength = 0; // characters of the text as last encoded
    // Characters at the start and at the end of the text that no edit has
    // touched since the last encoding.
    qsizetype m_unchangedStart = 0;
    qsizetype m_unchangedEnd = 0;
    bool m_changed = false;
    bool m_lastPatched = false;
    QByteArray m_middle; // reused for the re-encoded characters
    QByteArray m_scratch; // reused to measure characters in bytes
};

} // namespace editing
