// SPDX-License-Identifier: MIT
#include "interpreter/compilesource.h"

#include "files/textencoding.h"
#include "interpreter/errorreport.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptrun.h"
#include "platform/error.h"

#include <optional>

namespace interpreter {

namespace {
// The whole script, read before its first line runs, so that a failure to
// read it is reported as the script's own and never as a line's.
std::optional<QString> readScript(RunState &run, files::ReadSource source)
{
    try {
        return withoutByteOrderMark(files::readTextFile(run.path, source).text);
    } catch (const platform::Error &error) {
        reportScriptReadError(run, error);
        return std::nullopt;
    }
}

// Names the finished window's controls and points out each input control
// that no label names, at the line that made it.
void nameControls(RunState &run)
{
    for (const toolkit::UnlabelledControl &control : run.runWindow.nameControls()) {
        const RunPlace place{run.path, run.controlLines.value(control.name), QString()};
        run.host.warn({place, control.kind + QLatin1Char(' ') + control.name + QStringLiteral(" has no label")});
    }
}

// A run stopped at a pause keeps its window, as a run that reached its end.
void endRun(RunState &run, RunEnd end)
{
    run.runWindow.showKeptChanges();
    if (end == RunEnd::UnknownKeyword) {
        run.runWindow.unload();
        return;
    }
    nameControls(run);
    if (end == RunEnd::AtLastLine)
        run.host.setStatus(QStringLiteral("Compiled sucessfully..."));
    else
        run.host.setStatus(QStringLiteral("Stopped before line %1").arg(run.lineNumber));
}
} // namespace

void compileSource(const QString &path, int stepFlag, RunHost &host, RunOptions options)
{
    RunState run(path, host);
    run.showWindow = options.showWindow;
    trappedRun(run, [&] {
        run.host.setStatus(QStringLiteral("Compiling ..."));
        const std::optional<QString> script = readScript(run, options.source);
        if (script)
            endRun(run, runLines(run, *script, stepFlag, options));
    });
}

} // namespace interpreter
