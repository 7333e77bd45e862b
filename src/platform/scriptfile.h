#pragma once

#include <QString>
#include <QStringEncoder>

namespace platform {

// How a script file's bytes became text, so a save can write them back alike.
enum class TextEncoding { Utf8, Windows1252 };

// The line break a file is written with: CR LF, or LF for a file that had
// LF line breaks and no CR LF, so that a save keeps the file's own style.
enum class LineBreak { CrLf, Lf };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    LineBreak lineBreak = LineBreak::CrLf;
};

QByteArrayView lineBreakBytes(LineBreak lineBreak);

// Decodes bytes: valid UTF-8 as UTF-8, anything else as Windows-1252. A byte
// order mark is kept as U+FEFF so that writing the text back restores it.
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

// Reads a whole file as bytes and decodes it. Raises 53 for a missing file,
// 76 for a missing folder and 75 for any other failure to open or read.
DecodedText readTextFile(const QString &path);

} // namespace platform
