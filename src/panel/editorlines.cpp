// SPDX-License-Identifier: MIT
#include "panel/editorlines.h"

#include "editor/scripteditor.h"
#include "files/scriptsyntax.h"

namespace panel {

std::optional<files::PlacedLine> runLine(const editing::ScriptEditor &editor, int line)
{
    std::optional<files::PlacedLine> placed = editor.line(line - 1);
    if (placed && line == 1 && placed->text.startsWith(QChar(0xFEFF))) {
        placed->text.remove(0, 1);
        ++placed->start;
    }
    return placed;
}

std::optional<files::PlacedLine> lineHolding(const editing::ScriptEditor &editor, int line, const QString &lineText)
{
    std::optional<files::PlacedLine> placed = runLine(editor, line);
    if (placed && !lineText.isEmpty() && files::trimmedSpaces(placed->text) != lineText)
        return std::nullopt;
    return placed;
}

} // namespace panel
