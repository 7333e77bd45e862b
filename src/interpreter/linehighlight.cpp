// SPDX-License-Identifier: MIT
#include "interpreter/linehighlight.h"

#include "files/scriptsyntax.h"

#include "interpreter/runhost.h"
#include "interpreter/scriptline.h"

namespace interpreter {

std::optional<files::PlacedLine> editorLine(const RunHost &host, int lineNumber)
{
    if (lineNumber < 1)
        return std::nullopt;
    std::optional<files::PlacedLine> line = host.editorLine(lineNumber);
    // A byte order mark the editor kept from the file is not part of line 1.
    if (line && lineNumber == 1 && line->text.startsWith(QChar(0xFEFF))) {
        line->text.remove(0, 1);
        ++line->start;
    }
    return line;
}

std::optional<files::PlacedLine> matchingEditorLine(const RunHost &host, int lineNumber, const QString &fileLine)
{
    std::optional<files::PlacedLine> line = editorLine(host, lineNumber);
    if (!line || files::trimmedSpaces(line->text) != files::trimmedSpaces(fileLine))
        return std::nullopt;
    return line;
}

EditorSpan trimmedSpan(const files::PlacedLine &line)
{
    const QStringView text(line.text);
    const QStringView trimmed = files::trimmedSpaces(text);
    return EditorSpan{int(line.start + (trimmed.data() - text.data())), int(trimmed.size())};
}

std::optional<EditorSpan> stepSelection(const RunHost &host, int lineNumber, const QString &fileLine,
                                        const QString &keyword, int searchFrom)
{
    if (const auto line = matchingEditorLine(host, lineNumber, fileLine))
        return trimmedSpan(*line);
    if (keyword.isEmpty())
        return std::nullopt;
    const std::optional<files::PlacedLine> rest = host.findInEditor(keyword, qMax(searchFrom, 0), Qt::CaseSensitive);
    if (!rest)
        return std::nullopt;
    const EditorSpan trimmed = trimmedSpan(*rest);
    return EditorSpan{int(rest->start), trimmed.start + trimmed.length - int(rest->start)};
}

} // namespace interpreter
