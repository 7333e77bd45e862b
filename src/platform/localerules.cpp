#include "platform/localerules.h"

#include "platform/toolkiterror.h"

#include <QDate>
#include <QLocale>

namespace platform {

double toNumber(const QString &text)
{
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
