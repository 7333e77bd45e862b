// SPDX-License-Identifier: MIT
#include "panel/editorlines.h"

#include "editor/scripteditor.h"
#include "files/scriptsyntax.h"
#include "interpreter/linehighlight.h"
#include "panel/mainwindow.h"

namespace panel {

void selectCreationLine(MainWindow &window, int line, const QString &lineText)
{
    const std::optional<files::PlacedLine> placed = interpreter::editorLine(window.runHost(), line);
    if (!placed || (!lineText.isEmpty() && files::trimmedSpaces(placed->text) != lineText))
        return;
    const interpreter::EditorSpan span = interpreter::trimmedSpan(*placed);
    window.editor()->setSelection(span.start, span.length);
    window.editor()->ensureCursorVisible();
}

} // namespace panel
