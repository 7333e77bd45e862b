// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/runhost.h"

#include <QString>
#include <optional>

namespace toolkit {
class LiveWindow;
}

namespace interpreter {

// Runs a script text, as the editor holds it, into the live window: normally
// (never step by step), reading relative paths from the folder of
// scriptPath, with no status texts, no boxes and no selections. Controls
// whose lines are unchanged since the last live run are kept as they are on
// screen; the others are built again. Returns the report of a run that
// failed, which leaves the live window as it was; nothing once the live
// window shows the run.
std::optional<RunReport> runLive(const QString &text, const QString &scriptPath, toolkit::LiveWindow &live);

} // namespace interpreter
