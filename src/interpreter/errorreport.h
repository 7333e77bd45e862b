#pragma once

#include <QString>

namespace platform {
class ToolkitError;
}

namespace interpreter {

struct RunState;

// Reports a failure of a run by its number: 53 in the status line, 75, 730
// and every other number in a message box. Returns when the box is closed.
void reportRunError(RunState &run, const platform::ToolkitError &error);

// Highlights a keyword that matched no command in the editor and says so in
// the status line.
void ReportUnknownCommand(RunState &run, const QString &keyword);

} // namespace interpreter
