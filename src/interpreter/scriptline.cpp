#include "interpreter/scriptline.h"

#include "platform/localerules.h"
#include "platform/toolkiterror.h"

#include <QDate>

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

std::optional<SplitLine> SplitScriptLine(const QString &rawLine, const QString &dateText)
{
    QString line = rawLine;
    line.replace(QLatin1String("Date$"), dateText, Qt::CaseSensitive);
    line = trimSpaces(line);
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

std::optional<SplitLine> SplitScriptLine(const QString &rawLine)
{
    if (!rawLine.contains(QLatin1String("Date$")))
        return SplitScriptLine(rawLine, QString());
    return SplitScriptLine(rawLine, platform::formatDayMonthYear(QDate::currentDate()));
}

QString StripQuotes(const QString &text)
{
    if (text.size() < 2)
        return QString();
    return text.mid(1, text.size() - 2);
}

QStringList splitEntries(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
}

} // namespace interpreter
