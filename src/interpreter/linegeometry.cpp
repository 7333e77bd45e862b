// SPDX-License-Identifier: MIT
#include "interpreter/linegeometry.h"

#include "files/scriptsyntax.h"
#include "interpreter/commandtable.h"
#include "platform/error.h"
#include "platform/localerules.h"

#include <QLocale>

namespace interpreter {

namespace {
using namespace Qt::Literals::StringLiterals;

// How many numbers start the line's arguments: 4 for a window and the kinds
// with a height, 3 for the others, 0 for a line that creates nothing.
int numbersOf(QStringView keyword)
{
    if (keyword == "CreateWindow"_L1)
        return 4;
    const Command *command = findCommand(keyword.toString());
    if (!command || !command->control.classId)
        return 0;
    return command->control.shape == ArgumentShape::Sized ? 4 : 3;
}

QStringView keywordOf(const QString &line, const files::ScriptLineParts &parts)
{
    return QStringView(line).sliced(parts.start, parts.keywordEnd - parts.start);
}
} // namespace

QString numberText(int value)
{
    const QString plain = QString::number(value);
    if (value >= 0)
        return plain;
    // A locale that reads no "-" gets its own minus sign.
    try {
        if (platform::toNumber(plain) == value)
            return plain;
    } catch (const platform::Error &) {
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

std::optional<QList<TextEdit>> geometryEdits(const QString &line, const GeometryNumbers &numbers)
{
    const files::ScriptLineParts parts = files::scriptLineParts(line);
    if (parts.blank() || parts.comment || !parts.hasArguments())
        return std::nullopt;
    const int count = numbersOf(keywordOf(line, parts));
    if (count == 0)
        return std::nullopt;
    // The run turns the keyword's first space into ", " and cuts the rest
    // at every ", ", each piece trimmed of spaces.
    QList<TextEdit> edits;
    qsizetype from = parts.keywordEnd + 1;
    for (int i = 0; i < count; ++i) {
        // Every number is followed by more arguments in a line that runs.
        const qsizetype end = line.indexOf(", "_L1, from);
        if (end < 0 || end > parts.end)
            return std::nullopt;
        const QStringView piece = files::trimmedSpaces(QStringView(line).sliced(from, end - from));
        if (piece.contains(files::kDateMarker))
            return std::nullopt;
        const qsizetype start = piece.data() - line.constData();
        if (numbers[i] && piece != numberText(*numbers[i]))
            edits.prepend(TextEdit{start, piece.size(), numberText(*numbers[i])});
        from = end + 2;
    }
    return edits;
}

} // namespace interpreter
