// SPDX-License-Identifier: MIT
#include "platform/localerules.h"

#include "platform/error.h"

#include <QDate>
#include <QLocale>

namespace platform {

namespace {
// Plain digits, the usual form of a position or size, mean the same in every
// locale; they are read without the locale's parser. Nothing else is.
bool readPlainDigits(const QString &text, double &value)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    int number = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        number = number * 10 + (c.unicode() - '0');
    }
    value = number;
    return true;
}
} // namespace

double toNumber(const QString &text)
{
    double plain = 0;
    if (readPlainDigits(text, plain))
        return plain;
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        raiseError(ErrTypeMismatch);
    return value;
}

double leadingNumber(const QString &text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            compact.append(c);
    }
    // Longest prefix of the form [sign] digits [. digits] [E [sign] digits].
    qsizetype i = 0;
    const qsizetype n = compact.size();
    auto digitAt = [&](qsizetype k) { return k < n && compact[k].isDigit() && compact[k].unicode() < 128; };
    if (i < n && (compact[i] == QLatin1Char('+') || compact[i] == QLatin1Char('-')))
        ++i;
    qsizetype mantissaStart = i;
    while (digitAt(i))
        ++i;
    if (i < n && compact[i] == QLatin1Char('.')) {
        ++i;
        while (digitAt(i))
            ++i;
    }
    if (i == mantissaStart || (i == mantissaStart + 1 && compact[mantissaStart] == QLatin1Char('.')))
        return 0.0;
    qsizetype end = i;
    if (i < n && (compact[i] == QLatin1Char('E') || compact[i] == QLatin1Char('e'))) {
        qsizetype k = i + 1;
        if (k < n && (compact[k] == QLatin1Char('+') || compact[k] == QLatin1Char('-')))
            ++k;
        if (digitAt(k)) {
            while (digitAt(k))
                ++k;
            end = k;
        }
    }
    return QLocale::c().toDouble(compact.left(end));
}

QString dateSeparator()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('M')) || format.contains(QLatin1String("MMM")))
        return QStringLiteral("/");
    for (QChar c : format) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('\''))
            return QString(c);
    }
    return QStringLiteral("/");
}

QString formatDayMonthYear(const QDate &date)
{
    const QString sep = dateSeparator();
    auto padded = [](int value, int width) { return QString::number(value).rightJustified(width, QLatin1Char('0')); };
    return padded(date.day(), 2) + sep + padded(date.month(), 2) + sep + padded(date.year(), 4);
}

QString formatGroupedCount(qint64 count)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(count);
}

} // namespace platform
