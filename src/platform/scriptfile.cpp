#include "platform/scriptfile.h"

#include "platform/toolkiterror.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

namespace platform {

namespace {
constexpr auto kKeepBom = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// Qt reaches Windows-1252 through the system's ICU, which maps every byte
// (the five it leaves undefined to the C1 controls of the same value), so
// decoding and encoding give back the same bytes. Without ICU, Latin-1 still
// keeps every byte. Converters are built in place: a moved ICU converter no
// longer reports characters it could not encode.
const char *converterName(TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return "UTF-8";
    static const bool haveWindows1252 = QStringEncoder("windows-1252").isValid();
    return haveWindows1252 ? "windows-1252" : "ISO-8859-1";
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
    QStringDecoder windows1252(converterName(TextEncoding::Windows1252), kKeepBom);
    return {windows1252.decode(bytes), TextEncoding::Windows1252, lineBreak};
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

DecodedText readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raiseFileOpenError(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        raiseError(ErrFileAccess);
    return decodeText(bytes);
}

} // namespace platform
