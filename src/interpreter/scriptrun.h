#pragma once

#include "interpreter/compilesource.h"

#include <QString>
#include <functional>

namespace interpreter {

struct RunState;

// A leading byte order mark is part of the file, not of its first keyword.
QString withoutByteOrderMark(QString text);

// Runs the lines of a script text on the run's window, from the first to the
// last; returns false when a keyword matched no command (reported already).
// Failures of a line are raised to the caller.
bool runLines(RunState &run, const QString &script, int stepFlag, RunOptions options);

// The run's single error trap around body: a failure raised inside it is
// reported through the run's host while the run window, as far as it was
// built, is on screen as it stands, and the run window is then unloaded, as
// it is when body returns false. Returns whether body ran to a success.
bool trappedRun(RunState &run, const std::function<bool()> &body);

} // namespace interpreter
