// SPDX-License-Identifier: MIT
#include "files/textencoding.h"

#include "files/posixfile.h"
#include "platform/error.h"
#include "platform/filenames.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <new>
#include <optional>
#include <utility>

namespace files {

namespace {
constexpr auto kKeepBom = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// Qt reaches Windows-1252 through the system's ICU, which maps every byte
// (the five it leaves undefined to the C1 controls of the same value), so
// decoding and encoding give back the same bytes. Without ICU, Latin-1 still
// keeps every byte. Converters are built in place: a moved ICU converter no
// longer reports characters it could not encode.
const char *converterName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf16LE: return "UTF-16LE";
    case TextEncoding::Utf16BE: return "UTF-16BE";
    case TextEncoding::Utf32LE: return "UTF-32LE";
    case TextEncoding::Utf32BE: return "UTF-32BE";
    case TextEncoding::Windows1252: break;
    }
    static const bool haveWindows1252 = QStringEncoder("windows-1252").isValid();
    return haveWindows1252 ? "windows-1252" : "ISO-8859-1";
}

LineBreak lineBreakOf(QStringView text)
{
    return text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) ? LineBreak::Lf : LineBreak::CrLf;
}

// UTF-32 first: its little-endian mark starts like UTF-16's.
struct ByteOrderMark {
    QByteArrayView bytes;
    TextEncoding encoding;
};
constexpr ByteOrderMark kByteOrderMarks[] = {
    {QByteArrayView("\xFF\xFE\0\0", 4), TextEncoding::Utf32LE},
    {QByteArrayView("\0\0\xFE\xFF", 4), TextEncoding::Utf32BE},
    {QByteArrayView("\xFF\xFE", 2), TextEncoding::Utf16LE},
    {QByteArrayView("\xFE\xFF", 2), TextEncoding::Utf16BE},
};

// The mark is how such a file is known, so it stays out of the text (where a
// keystroke could land before it) and every save writes it first. Qt's UTF-16
// and UTF-32 decoders pass odd lengths and invalid code points without an
// error, so the form is taken only when encoding the text back gives the same
// bytes; any other file is read byte for byte below.
std::optional<DecodedText> decodeMarkedText(const QByteArray &bytes)
{
    for (const ByteOrderMark &mark : kByteOrderMarks) {
        if (!bytes.startsWith(mark.bytes))
            continue;
        QStringDecoder decoder(converterName(mark.encoding), QStringConverter::Flag::Stateless);
        QString text = decoder.decode(QByteArrayView(bytes).sliced(mark.bytes.size()));
        QByteArray back = mark.bytes.toByteArray();
        if (!decoder.hasError() && TextEncoder(mark.encoding).append(back, text) && back == bytes) {
            const LineBreak lineBreak = lineBreakOf(text);
            return DecodedText{std::move(text), mark.encoding, lineBreak, bytes.size()};
        }
    }
    return std::nullopt;
}
} // namespace

QByteArrayView lineBreakBytes(LineBreak lineBreak)
{
    return lineBreak == LineBreak::Lf ? QByteArrayView("\n", 1) : QByteArrayView("\r\n", 2);
}

QByteArrayView byteOrderMark(TextEncoding encoding)
{
    for (const ByteOrderMark &mark : kByteOrderMarks) {
        if (mark.encoding == encoding)
            return mark.bytes;
    }
    return {};
}

QByteArray lineBreakBytes(LineBreak lineBreak, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Windows1252)
        return lineBreakBytes(lineBreak).toByteArray();
    QByteArray bytes;
    TextEncoder(encoding).append(bytes, lineBreak == LineBreak::Lf ? u"\n" : u"\r\n");
    return bytes;
}

void ensureFinalLineBreak(QByteArray &bytes, TextEncoding encoding, LineBreak lineBreak)
{
    const QByteArray lf = lineBreakBytes(LineBreak::Lf, encoding);
    const QByteArray crLf = lineBreakBytes(LineBreak::CrLf, encoding);
    const QByteArrayView cr = QByteArrayView(crLf).first(crLf.size() - lf.size());
    if (!bytes.endsWith(lf) && !bytes.endsWith(cr))
        bytes.append(lineBreak == LineBreak::Lf ? lf : crLf);
}

DecodedText decodeText(const QByteArray &bytes)
{
    if (std::optional<DecodedText> marked = decodeMarkedText(bytes))
        return std::move(*marked);
    QStringDecoder utf8(QStringConverter::Utf8, kKeepBom);
    QString text = utf8.decode(bytes);
    TextEncoding encoding = TextEncoding::Utf8;
    if (utf8.hasError()) {
        QStringDecoder windows1252(converterName(TextEncoding::Windows1252), kKeepBom);
        text = windows1252.decode(bytes);
        encoding = TextEncoding::Windows1252;
    }
    const LineBreak lineBreak = lineBreakOf(text);
    return {std::move(text), encoding, lineBreak, bytes.size()};
}

TextEncoder::TextEncoder(TextEncoding encoding)
    : m_encoder(converterName(encoding), QStringConverter::Flag::Stateless)
{
}

bool TextEncoder::append(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + m_encoder.requiredSpace(text.size()));
    const char *end = m_encoder.appendToBuffer(out.data() + start, text);
    out.truncate(end - out.constData());
    return !m_encoder.hasError();
}

namespace {
QByteArray readBytes(const QString &path, ReadSource source)
{
    switch (source) {
    case ReadSource::FileOrStream:
        return readFileOrStream(platform::fileNameToBytes(path));
    case ReadSource::StandardInput:
        return readStandardInput();
    default:
        return readRegularFile(platform::fileNameToBytes(path));
    }
}
} // namespace

DecodedText readTextFile(const QString &path, ReadSource source)
{
    const QByteArray bytes = readBytes(path, source);
    try {
        return decodeText(bytes);
    } catch (const std::bad_alloc &) {
        platform::raiseError(platform::ErrOutOfMemory);
    }
}

} // namespace files
