// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {
class Error;
}

namespace interpreter {

struct RunState;

// Reports a failure to read the script file itself, before any line ran: 53
// in the status line, every other number in the generic box.
void reportScriptReadError(RunState &run, const platform::Error &error);

// Reports a failure of a line by its number: a file a command read (53, 75)
// in the picture box, 730 in the missing-control box, every other number in
// the generic box. Returns once the host has taken the report.
void reportRunError(RunState &run, const platform::Error &error);

// Highlights a keyword that matched no command in the editor and says so in
// the status line.
void reportUnknownCommand(RunState &run, const QString &keyword);

} // namespace interpreter
