// SPDX-License-Identifier: MIT
#include "platform/filenames.h"

#include <QDir>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr char16_t kEscapeBase = 0xDC00; // + a byte of 0x80..0xFF

bool isContinuation(uchar byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at bytes[i], or 0 where there is
// none: a stray or truncated byte, an overlong form, a surrogate, a code
// point past U+10FFFF.
qsizetype utf8SequenceAt(QByteArrayView bytes, qsizetype i)
{
    const uchar lead = uchar(bytes[i]);
    if (lead < 0x80)
        return 1;
    const qsizetype length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
        : lead >= 0xF0 && lead <= 0xF4                                                      ? 4
                                                                                            : 0;
    if (length == 0 || i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if (!isContinuation(uchar(bytes[i + k])))
            return 0;
    }
    const uchar second = uchar(bytes[i + 1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

bool isEscapedByte(QChar c) { return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF; }
} // namespace

QString fileNameFromBytes(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = utf8SequenceAt(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        name.append(QString::fromUtf8(bytes.sliced(runStart, i - runStart)));
        name.append(QChar(char16_t(kEscapeBase + uchar(bytes[i]))));
        runStart = ++i;
    }
    name.append(QString::fromUtf8(bytes.sliced(runStart)));
    return name;
}

QByteArray fileNameToBytes(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) { bytes.append(name.sliced(runStart, end - runStart).toUtf8()); };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!c.isSurrogate())
            continue;
        flushRun(i);
        if (isEscapedByte(c))
            bytes.append(char(c.unicode() - kEscapeBase));
        else
            bytes.append("\xef\xbf\xbd");
        runStart = i + 1;
    }
    flushRun(name.size());
    return bytes;
}

QString visibleFileName(QStringView name)
{
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isEscapedByte(name[i]) && !(i > 0 && name[i - 1].isHighSurrogate()))
            shown += QStringLiteral("\\x") + QString::number(name[i].unicode() - kEscapeBase, 16).toUpper();
        else
            shown += name[i];
    }
    return shown;
}

bool entryExists(const QString &name)
{
    struct stat status;
    return ::lstat(fileNameToBytes(name).constData(), &status) == 0;
}

bool isFolder(const QString &name)
{
    struct stat status;
    return ::stat(fileNameToBytes(name).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isWritableRegularFile(const QString &name)
{
    const QByteArray bytes = fileNameToBytes(name);
    struct stat status;
    return ::stat(bytes.constData(), &status) == 0 && S_ISREG(status.st_mode) && ::access(bytes.constData(), W_OK) == 0;
}

QString absoluteFileName(const QString &name)
{
    if (QDir::isAbsolutePath(name))
        return QDir::cleanPath(name);
    char folder[PATH_MAX];
    if (!::getcwd(folder, sizeof folder))
        return QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + name);
    return QDir::cleanPath(fileNameFromBytes(folder) + QLatin1Char('/') + name);
}

} // namespace platform
