// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringEncoder>

namespace files {

// How a script file's bytes became text, so a save can write them back alike.
// The UTF-16 and UTF-32 forms are those of a file that starts with their byte
// order mark (see byteOrderMark()).
enum class TextEncoding { Utf8, Windows1252, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

// The line break a file is written with: CR LF, or LF for a file that had
// LF line breaks and no CR LF, so that a save keeps the file's own style.
enum class LineBreak { CrLf, Lf };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    LineBreak lineBreak = LineBreak::CrLf;
    // The number of bytes decoded.
    qsizetype byteCount = 0;
};

// The line break's bytes in an 8-bit encoding (UTF-8, Windows-1252).
QByteArrayView lineBreakBytes(LineBreak lineBreak);
// The line break's bytes in the encoding.
QByteArray lineBreakBytes(LineBreak lineBreak, TextEncoding encoding);
// Appends a line break unless the encoded text already ends with one (CR or
// LF), so that a file always ends with a line break.
void ensureFinalLineBreak(QByteArray &bytes, TextEncoding encoding, LineBreak lineBreak);

// The bytes a file in the encoding starts with: the byte order mark of the
// UTF-16 and UTF-32 forms, which is not part of their text; empty for UTF-8
// and Windows-1252.
QByteArrayView byteOrderMark(TextEncoding encoding);

// Decodes bytes: a file that starts with a UTF-16 or UTF-32 byte order mark
// and is valid in that form as such (the mark left out of the text), else
// valid UTF-8 as UTF-8, anything else as Windows-1252. A UTF-8 byte order
// mark is kept as U+FEFF so that writing the text back restores it.
DecodedText decodeText(const QByteArray &bytes);

// Encodes pieces of text one after the other into a growing buffer.
class TextEncoder {
public:
    explicit TextEncoder(TextEncoding encoding);
    // Appends text to out, growing out only when its capacity is short.
    // Returns false once a character had no byte in the encoding.
    bool append(QByteArray &out, QStringView text);

private:
    QStringEncoder m_encoder;
};

// Where a read takes its bytes from.
enum class ReadSource {
    RegularFile,  // the file at the path, which must be a regular file
    FileOrStream, // the same, or a pipe, FIFO or device read to its end
    StandardInput // standard input to its end; the path is not read
};

// Reads a whole file as bytes and decodes it. Raises 53 for a missing file,
// 76 for a missing folder and 75 for any other failure to open or read, a
// device, FIFO or socket (unless the source allows them) or a file over
// 256 MB included (refused before it is read), and 7 "Out of memory" when
// the text does not fit in memory.
DecodedText readTextFile(const QString &path, ReadSource source = ReadSource::RegularFile);

} // namespace files
