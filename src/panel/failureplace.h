// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace interpreter {
class RunHost;
struct RunPlace;
struct RunReport;
} // namespace interpreter

namespace editing {
class ScriptEditor;
}

namespace panel {

// "Line N: " and the failing line as the file holds it, trimmed, cut after
// 80 characters with "..."; empty for a failure of the script file itself.
QString placeText(const interpreter::RunPlace &place);

// Shows in the editor where a run ended: when the editor still holds the
// failing line (the line with that number in the editor of the run's host,
// the same text once trimmed), marks
// it in the gutter with toolTip and, when select is set, selects it from its
// first to its last non-space character. Returns whether the editor holds the
// line; otherwise the selection is left as it was.
bool showFailurePlace(const interpreter::RunHost &host, editing::ScriptEditor &editor,
                      const interpreter::RunReport &report, const QString &toolTip, bool select);

} // namespace panel
