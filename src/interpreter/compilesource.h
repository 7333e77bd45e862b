// SPDX-License-Identifier: MIT
#pragma once

#include "files/textencoding.h"

#include <QString>

namespace interpreter {

class RunHost;

// The step flag of a run: exactly 1 pauses before every command in the step
// window; any other value runs straight through.
enum StepFlag : int { CompileNormally = 0, CompileStepByStep = 1 };

// How a run started outside the control panel reads its script.
struct RunOptions {
    // Skips a first line starting with "#!", so that an executable script can
    // name the program that runs it. The line still counts in line numbers.
    // The control panel runs such a line like any other.
    bool skipInterpreterLine = false;
    // Where the script's bytes come from. The panel reads regular files
    // alone: its editor saves into the file it loaded. The shell modes also
    // read a pipe, FIFO or device to its end, or standard input, the path
    // then naming the script in reports and, as a relative name, taking
    // relative paths from the current folder.
    files::ReadSource source = files::ReadSource::RegularFile;
    // CreateWindow shows the run window. --run leaves it hidden and shows it
    // as a dialog once the names of its controls are accepted.
    bool showWindow = true;
};

// Runs the script file at path from its first line to its last, building the
// run's output window. Status texts, editor selections, step pauses and
// failure reports go to the host. Every failure is reported and ends the run;
// nothing is thrown to the caller.
void compileSource(const QString &path, int stepFlag, RunHost &host, RunOptions options = {});

} // namespace interpreter
