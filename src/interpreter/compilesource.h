#pragma once

#include <QString>

namespace interpreter {

// Runs the script file at path from its first line to its last, building the
// run's output window. Step flag 1 pauses before every command in the step
// window; any other value runs straight through. Every failure is reported
// and ends the run; nothing is thrown to the caller.
void CompileSource(const QString &path, int stepFlag);

} // namespace interpreter
