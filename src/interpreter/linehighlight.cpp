#include "interpreter/linehighlight.h"

#include "interpreter/scriptline.h"

namespace interpreter {

namespace {
bool isBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }
} // namespace

std::optional<EditorSpan> editorLine(const QString &editorText, int lineNumber)
{
    if (lineNumber < 1)
        return std::nullopt;
    const qsizetype n = editorText.size();
    // A byte order mark the editor kept from the file is not part of line 1.
    qsizetype pos = editorText.startsWith(QChar(0xFEFF)) ? 1 : 0;
    for (int line = 1; line < lineNumber; ++line) {
        while (pos < n && !isBreak(editorText[pos]))
            ++pos;
        if (pos >= n)
            return std::nullopt;
        pos += (editorText[pos] == QLatin1Char('\r') && pos + 1 < n && editorText[pos + 1] == QLatin1Char('\n')) ? 2 : 1;
    }
    qsizetype end = pos;
    while (end < n && !isBreak(editorText[end]))
        ++end;
    return EditorSpan{int(pos), int(end - pos)};
}

std::optional<EditorSpan> matchingEditorLine(const QString &editorText, int lineNumber, const QString &fileLine)
{
    const std::optional<EditorSpan> line = editorLine(editorText, lineNumber);
    if (!line)
        return std::nullopt;
    const QString text = editorText.mid(line->start, line->length);
    if (trimSpaces(text) != trimSpaces(fileLine))
        return std::nullopt;
    return line;
}

EditorSpan trimmedSpan(const QString &editorText, EditorSpan line)
{
    int begin = line.start;
    int end = line.start + line.length;
    while (begin < end && editorText[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && editorText[end - 1] == QLatin1Char(' '))
        --end;
    return EditorSpan{begin, end - begin};
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
    qsizetype lineEnd = found;
    while (lineEnd < editorText.size() && !isBreak(editorText[lineEnd]))
        ++lineEnd;
    const EditorSpan rest = trimmedSpan(editorText, EditorSpan{int(found), int(lineEnd - found)});
    return EditorSpan{int(found), rest.start + rest.length - int(found)};
}

} // namespace interpreter
