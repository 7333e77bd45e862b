// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/compilesource.h"

#include <QString>
#include <functional>

namespace interpreter {

struct RunState;

// A leading byte order mark is part of the file, not of its first keyword.
QString withoutByteOrderMark(QString text);

// How the lines of a run ended.
enum class RunEnd { AtLastLine, UnknownKeyword, StoppedByUser, OutOfTime };

// Runs the lines of a script text on the run's window, from the first to the
// last or until the run's deadline has passed, and says how they ended; a
// keyword that matched no command is reported already. Failures of a line
// are raised to the caller.
RunEnd runLines(RunState &run, const QString &script, int stepFlag, RunOptions options);

// The run's single error trap around body: a failure raised inside it is
// reported through the run's host while the run window, as far as it was
// built, is on screen as it stands, and the run window is then taken away.
// Returns whether body ran without such a failure.
bool trappedRun(RunState &run, const std::function<void()> &body);

} // namespace interpreter
