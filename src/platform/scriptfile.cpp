#include "platform/scriptfile.h"

#include "platform/toolkiterror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

namespace platform {

namespace {
constexpr auto kKeepBom = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five bytes it
// leaves undefined map to the C1 controls of the same value, so every byte
// decodes and encodes back unchanged.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// Writes one byte per character to out; returns false when a character has
// no Windows-1252 byte.
bool encodeWindows1252(QStringView text, char *out)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            *out++ = char(u);
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i) {
            if (kCp1252High[i] == u) {
                found = i;
                break;
            }
        }
        if (found < 0)
            return false;
        *out++ = char(0x80 + found);
    }
    return true;
}
} // namespace

QByteArrayView lineBreakBytes(LineBreak lineBreak)
{
    return lineBreak == LineBreak::Lf ? QByteArrayView("\n", 1) : QByteArrayView("\r\n", 2);
}

DecodedText decodeText(const QByteArray &bytes)
{
    const LineBreak lineBreak = bytes.contains('\n') && !bytes.contains('\r') ? LineBreak::Lf : LineBreak::CrLf;
    QStringDecoder utf8(QStringConverter::Utf8, kKeepBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {std::move(text), TextEncoding::Utf8, lineBreak};
    return {decodeWindows1252(bytes), TextEncoding::Windows1252, lineBreak};
}

QByteArray encodeText(const QString &text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252) {
        QByteArray bytes(text.size(), Qt::Uninitialized);
        if (encodeWindows1252(text, bytes.data()))
            return bytes;
        // A character the file's code page cannot hold would be lost: keep
        // every character by writing UTF-8 instead.
    }
    QStringEncoder utf8(QStringConverter::Utf8, kKeepBom);
    return utf8.encode(text);
}

bool appendEncoded(QByteArray &out, QStringView text, TextEncoding encoding)
{
    const qsizetype start = out.size();
    if (encoding == TextEncoding::Windows1252) {
        out.resize(start + text.size());
        return encodeWindows1252(text, out.data() + start);
    }
    QStringEncoder utf8(QStringConverter::Utf8, kKeepBom);
    out.resize(start + utf8.requiredSpace(text.size()));
    const char *end = utf8.appendToBuffer(out.data() + start, text);
    out.truncate(end - out.constData());
    return true;
}

DecodedText readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        if (!info.exists()) {
            if (!info.absoluteDir().exists())
                raiseError(ErrPathNotFound);
            raiseError(ErrFileNotFound);
        }
        raiseError(ErrFileAccess);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        raiseError(ErrFileAccess);
    return decodeText(bytes);
}

LineReader::LineReader(QString text) : m_text(std::move(text)) {}

QString LineReader::readLine()
{
    const qsizetype start = m_pos;
    const qsizetype n = m_text.size();
    const QChar *data = m_text.constData();
    qsizetype end = start;
    while (end < n && data[end] != QLatin1Char('\r') && data[end] != QLatin1Char('\n'))
        ++end;
    m_pos = end;
    if (m_pos < n) {
        if (data[m_pos] == QLatin1Char('\r') && m_pos + 1 < n && data[m_pos + 1] == QLatin1Char('\n'))
            m_pos += 2;
        else
            m_pos += 1;
    }
    ++m_lineNumber;
    return m_text.mid(start, end - start);
}

} // namespace platform
