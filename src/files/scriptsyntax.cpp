// SPDX-License-Identifier: MIT
#include "files/scriptsyntax.h"

namespace files {

QStringView trimmedSpaces(QStringView text)
{
    const ScriptLineParts parts = scriptLineParts(text);
    return text.sliced(parts.start, parts.end - parts.start);
}

ScriptLineParts scriptLineParts(QStringView line)
{
    ScriptLineParts parts;
    parts.end = line.size();
    while (parts.start < parts.end && line[parts.start] == QLatin1Char(' '))
        ++parts.start;
    while (parts.end > parts.start && line[parts.end - 1] == QLatin1Char(' '))
        --parts.end;
    parts.comment = !parts.blank() && line[parts.start] == QLatin1Char(';');
    const qsizetype space = line.sliced(parts.start, parts.end - parts.start).indexOf(QLatin1Char(' '));
    parts.keywordEnd = space < 0 ? parts.end : parts.start + space;
    return parts;
}

} // namespace files
