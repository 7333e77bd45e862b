// SPDX-License-Identifier: MIT
#include "panel/failureplace.h"

#include "editor/scripteditor.h"
#include "interpreter/linehighlight.h"
#include "interpreter/runhost.h"

namespace panel {

namespace {
constexpr qsizetype kPlaceLineMaxChars = 80;
} // namespace

QString placeText(const interpreter::RunPlace &place)
{
    if (place.lineNumber < 1)
        return QString();
    QString line = place.fileLine; // already trimmed of spaces, as the run trims
    if (line.size() > kPlaceLineMaxChars)
        line = line.left(kPlaceLineMaxChars) + QStringLiteral("...");
    return QStringLiteral("Line %1: ").arg(place.lineNumber) + line;
}

bool showFailurePlace(const interpreter::RunHost &host, editing::ScriptEditor &editor,
                      const interpreter::RunReport &report, const QString &toolTip, bool select)
{
    const interpreter::RunPlace &place = report.place;
    const auto line = interpreter::matchingEditorLine(host, place.lineNumber, place.fileLine);
    if (!line)
        return false;
    if (select) {
        const interpreter::EditorSpan trimmed = interpreter::trimmedSpan(*line);
        editor.setSelection(trimmed.start, trimmed.length);
    }
    editor.setMarker(place.lineNumber, toolTip);
    return true;
}

} // namespace panel
