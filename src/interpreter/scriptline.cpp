#include "interpreter/scriptline.h"

#include "platform/localerules.h"
#include "platform/error.h"

#include <QDate>
#include <limits>

namespace interpreter {

QStringView trimmedSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString trimSpaces(const QString &text)
{
    const QStringView trimmed = trimmedSpaces(text);
    // Nothing to trim: share the text instead of copying it.
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

namespace {
const QLatin1StringView kDateMarker("Date$");

// Every "Date$" replaced in one pass: QString::replace() moves the rest of
// the text again for each batch of occurrences, which grows quadratically
// on a line made of millions of them.
QString withDate(const QString &line, const QString &dateText)
{
    qsizetype found = line.indexOf(kDateMarker);
    if (found < 0)
        return line;
    QString result;
    result.reserve(line.size());
    qsizetype from = 0;
    for (; found >= 0; found = line.indexOf(kDateMarker, from)) {
        result.append(QStringView(line).sliced(from, found - from)).append(dateText);
        from = found + kDateMarker.size();
    }
    result.append(QStringView(line).sliced(from));
    return result;
}
} // namespace

std::optional<SplitLine> splitScriptLine(const QString &rawLine, const QString &dateText)
{
    const QString line = trimSpaces(withDate(rawLine, dateText));
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
        return std::nullopt;

    const qsizetype space = line.indexOf(QLatin1Char(' '));
    if (space < 0)
        platform::raiseError(platform::ErrInvalidArgument);

    SplitLine result;
    result.normalised = line.left(space) + QLatin1String(", ") + line.mid(space + 1);
    result.elements = result.normalised.split(QLatin1String(", "), Qt::KeepEmptyParts, Qt::CaseSensitive);
    for (QString &element : result.elements)
        element = trimSpaces(element);
    return result;
}

std::optional<SplitLine> splitScriptLine(const QString &rawLine)
{
    if (!rawLine.contains(kDateMarker))
        return splitScriptLine(rawLine, QString());
    return splitScriptLine(rawLine, platform::formatDayMonthYear(QDate::currentDate()));
}

QString stripQuotes(const QString &text)
{
    if (text.size() < 2)
        return QString();
    return text.mid(1, text.size() - 2);
}

void splitEntries(const QString &text, qsizetype sliceSize, const std::function<void(const QStringList &)> &take)
{
    if (text.isEmpty())
        return;
    QStringList slice;
    qsizetype from = 0;
    for (;;) {
        const qsizetype bar = text.indexOf(QLatin1Char('|'), from);
        slice.append(text.sliced(from, (bar < 0 ? text.size() : bar) - from));
        if (bar < 0 || slice.size() >= sliceSize) {
            take(slice);
            slice.clear();
        }
        if (bar < 0)
            return;
        from = bar + 1;
    }
}

QStringList splitEntries(const QString &text)
{
    QStringList entries;
    splitEntries(text, std::numeric_limits<qsizetype>::max(), [&](const QStringList &slice) { entries.append(slice); });
    return entries;
}

} // namespace interpreter
