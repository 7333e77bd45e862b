#pragma once

#include "files/textencoding.h"

#include <QByteArray>
#include <QObject>

class QTextDocument;

namespace editing {

// Keeps a script's encoded bytes up to date by patching them: after a save
// encoded the whole document into a buffer, the next save re-encodes only the
// characters edited since, moves the unchanged end of the buffer into place
// and keeps the unchanged start. A keystroke in a large script then costs a
// move of bytes instead of an encoding of the whole text.
//
// It patches only what it can place exactly: a document of ASCII characters
// (one byte each in UTF-8 and Windows-1252) with every paragraph break one
// line break. Anything else takes the whole encoding again.
class PatchedEncoding : public QObject {
public:
    explicit PatchedEncoding(QTextDocument &document);

    // Replaces the content of out with the encoding's byte order mark and the
    // document's text in the encoding, each paragraph break a line break,
    // reusing out's memory: a large script saved at every keystroke would
    // otherwise take megabytes of fresh memory each time. Falls back to UTF-8
    // when a character has no Windows-1252 byte; returns the encoding used.
    // After the first encoding, a later one into the same buffer re-encodes
    // only what was edited since, where it can do so exactly.
    files::TextEncoding encodeInto(files::TextEncoding encoding, QByteArray &out, files::LineBreak lineBreak);

    // Brings out, as the last encoding left it (or with a final line break a
    // save appended since), to the document's text in the encoding; false
    // when it cannot, and out must then be encoded whole.
    bool patch(QByteArray &out, files::TextEncoding encoding, files::LineBreak lineBreak);
    // Takes note of a whole encoding of the document just written into out.
    void encodedWhole(const QByteArray &out, files::TextEncoding encoding, files::LineBreak lineBreak);

private:
    void noteChange(int position, int removed, int added);
    qsizetype rawLength() const;
    // Where the character at a position of the raw text starts in the bytes.
    qsizetype byteOffset(qsizetype position) const;
    bool encodeMiddle(qsizetype from, qsizetype to, QByteArray &bytes) const;

    QTextDocument &m_document;
    // The buffer of the last encoding, known by the object and its size (its
    // memory may move when a save appends a line break); a size of -1:
    // nothing to patch.
    const QByteArray *m_buffer = nullptr;
    qsizetype m_bytes = -1;
    files::TextEncoding m_encoding = files::TextEncoding::Utf8;
    files::LineBreak m_lineBreak = files::LineBreak::CrLf;
    // Characters at the start and at the end of the raw text that no edit
    // has touched since the last encoding.
    qsizetype m_unchangedStart = 0;
    qsizetype m_unchangedEnd = 0;
    bool m_changed = false;
    QByteArray m_middle; // reused for the re-encoded characters
};

} // namespace editing
