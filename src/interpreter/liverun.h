// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/runhost.h"

#include <QDeadlineTimer>
#include <QString>
#include <optional>

namespace toolkit {
class LiveWindow;
}

namespace interpreter {

// How a live run ended: the live window shows it, or it failed with a
// report, or its deadline passed first. The last two leave the live window
// as it was.
struct LiveRunEnd {
    std::optional<RunReport> failure;
    bool outOfTime = false;
};

// Runs a script text, as the editor holds it, into the live window: normally
// (never step by step), reading relative paths from the folder of
// scriptPath, with no status texts, no boxes and no selections, and stopping
// at the first line that starts after the deadline. Controls whose lines are
// unchanged since the last live run are kept as they are on screen; the
// others are built again.
LiveRunEnd runLive(const QString &text, const QString &scriptPath, toolkit::LiveWindow &live,
                   QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

} // namespace interpreter
