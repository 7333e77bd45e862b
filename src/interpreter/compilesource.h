#pragma once

#include <QString>

namespace interpreter {

class RunHost;

// The step flag of a run: exactly 1 pauses before every command in the step
// window; any other value runs straight through.
enum StepFlag : int { CompileNormally = 0, CompileStepByStep = 1 };

// Runs the script file at path from its first line to its last, building the
// run's output window. Status texts, editor selections, step pauses and
// failure reports go to the host. Every failure is reported and ends the run;
// nothing is thrown to the caller.
void CompileSource(const QString &path, int stepFlag, RunHost &host);

} // namespace interpreter
