#include "interpreter/linehighlight.h"

#include "interpreter/scriptline.h"
#include "platform/textlines.h"

namespace interpreter {

std::optional<EditorSpan> editorLine(const QString &editorText, int lineNumber)
{
    if (lineNumber < 1)
        return std::nullopt;
    // A byte order mark the editor kept from the file is not part of line 1.
    platform::LineWalker lines(editorText, editorText.startsWith(QChar(0xFEFF)) ? 1 : 0);
    for (int line = 1; line < lineNumber; ++line) {
        if (!lines.next().terminated)
            return std::nullopt;
    }
    const platform::TextLine line = lines.next();
    return EditorSpan{int(line.start), int(line.length)};
}

std::optional<EditorSpan> matchingEditorLine(const QString &editorText, int lineNumber, const QString &fileLine)
{
    const std::optional<EditorSpan> line = editorLine(editorText, lineNumber);
    if (!line)
        return std::nullopt;
    const QStringView text = QStringView(editorText).mid(line->start, line->length);
    if (trimmedSpaces(text) != trimmedSpaces(fileLine))
        return std::nullopt;
    return line;
}

EditorSpan trimmedSpan(const QString &editorText, EditorSpan line)
{
    const QStringView text = QStringView(editorText).mid(line.start, line.length);
    const QStringView trimmed = trimmedSpaces(text);
    return EditorSpan{int(line.start + (trimmed.data() - text.data())), int(trimmed.size())};
}

std::optional<EditorSpan> stepSelection(const QString &editorText, int lineNumber, const QString &fileLine,
                                        const QString &keyword, int searchFrom)
{
    if (const auto line = matchingEditorLine(editorText, lineNumber, fileLine))
        return trimmedSpan(editorText, *line);
    if (keyword.isEmpty())
        return std::nullopt;
    const qsizetype found = editorText.indexOf(keyword, qMax(searchFrom, 0), Qt::CaseSensitive);
    if (found < 0)
        return std::nullopt;
    const platform::TextLine rest = platform::LineWalker(editorText, found).next();
    const EditorSpan trimmed = trimmedSpan(editorText, EditorSpan{int(found), int(rest.length)});
    return EditorSpan{int(found), trimmed.start + trimmed.length - int(found)};
}

} // namespace interpreter
