// SPDX-License-Identifier: MIT
#include "interpreter/scriptline.h"

#include "files/scriptsyntax.h"

#include "platform/error.h"
#include "platform/localerules.h"

#include <QDate>
#include <limits>

namespace interpreter {

QString trimSpaces(const QString &text)
{
    const QStringView trimmed = files::trimmedSpaces(text);
    // Nothing to trim: share the text instead of copying it.
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

namespace {
using files::kDateMarker;

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
    const QString line = withDate(rawLine, dateText);
    const files::ScriptLineParts parts = files::scriptLineParts(line);
    if (parts.blank() || parts.comment)
        return std::nullopt;
    if (!parts.hasArguments())
        platform::raiseError(platform::ErrInvalidArgument);

    SplitLine result;
    const QStringView view(line);
    result.normalised.reserve(parts.end - parts.start + 1);
    result.normalised += view.sliced(parts.start, parts.keywordEnd - parts.start);
    result.normalised += QLatin1String(", ");
    result.normalised += view.sliced(parts.keywordEnd + 1, parts.end - parts.keywordEnd - 1);
    result.elements = result.normalised.split(QLatin1String(", "), Qt::KeepEmptyParts, Qt::CaseSensitive);
    for (QString &element : result.elements)
        element = trimSpaces(element);
    return result;
}

std::optional<SplitLine> splitScriptLineQuietly(const QString &rawLine)
{
    try {
        return splitScriptLine(rawLine);
    } catch (const platform::Error &) {
        return std::nullopt;
    }
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
