// SPDX-License-Identifier: MIT
#include "interpreter/compilesource.h"

#include "files/textencoding.h"
#include "files/textlines.h"
#include "interpreter/commandtable.h"
#include "interpreter/errorreport.h"
#include "interpreter/linehighlight.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "platform/error.h"

#include <new>
#include <optional>

namespace interpreter {

namespace {
// A leading byte order mark is part of the file, not of its first keyword.
QString withoutByteOrderMark(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

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

// How the lines of a run ended.
enum class RunEnd { AtLastLine, UnknownKeyword, StoppedByUser };

// Selects the line about to run in the editor, shows it in the status line
// and waits in the step window. A line the editor no longer holds keeps the
// previous selection: the run executes the file, not the editor.
StepAnswer stepPause(RunState &run)
{
    const std::optional<EditorSpan> span =
        stepSelection(run.host, run.lineNumber, run.fileLine, run.args.keyword(), run.searchFrom);
    if (span) {
        run.host.selectInEditor(span->start, span->length);
        run.searchFrom = span->start + span->length;
    }
    run.host.setStatus(run.normalisedLine);
    run.runWindow.showKeptChanges();
    return run.host.stepPause();
}

bool isInterpreterLine(const QString &raw, int lineNumber, RunOptions options)
{
    return options.skipInterpreterLine && lineNumber == 1 && raw.startsWith(QLatin1String("#!"));
}

// Runs the lines of the script and says how they ended.
RunEnd runLines(RunState &run, const QString &script, int stepFlag, RunOptions options)
{
    files::LineWalker lines(script);
    while (!lines.atEnd()) {
        const QString raw = lines.textOf(lines.next()).toString();
        if (isInterpreterLine(raw, lines.lineNumber(), options))
            continue;
        // Known before the split, which fails for a line without a space.
        run.lineNumber = lines.lineNumber();
        run.fileLine = trimSpaces(raw);
        run.args = ArgumentList();
        std::optional<SplitLine> split = splitScriptLine(raw);
        if (!split)
            continue;
        run.normalisedLine = std::move(split->normalised);
        run.args = ArgumentList(std::move(split->elements));
        if (stepFlag == CompileStepByStep && stepPause(run) == StepAnswer::Stop)
            return RunEnd::StoppedByUser;
        const Command *command = findCommand(run.args.keyword());
        if (!command) {
            reportUnknownCommand(run, run.args.keyword());
            return RunEnd::UnknownKeyword;
        }
        command->run(run, run.args, *command);
    }
    return RunEnd::AtLastLine;
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

// The run's single error trap: report while the run window, as far as it was
// built, is on screen as it stands, then take it away.
void failRun(RunState &run, const platform::Error &error)
{
    run.runWindow.showKeptChanges();
    reportRunError(run, error);
    run.runWindow.unload();
}
} // namespace

void compileSource(const QString &path, int stepFlag, RunHost &host, RunOptions options)
{
    RunState run(path, host);
    run.showWindow = options.showWindow;
    try {
        run.host.setStatus(QStringLiteral("Compiling ..."));
        const std::optional<QString> script = readScript(run, options.source);
        if (script)
            endRun(run, runLines(run, *script, stepFlag, options));
    } catch (const platform::Error &error) {
        failRun(run, error);
    } catch (const std::bad_alloc &) {
        failRun(run, platform::Error(platform::ErrOutOfMemory,
                                            platform::standardDescription(platform::ErrOutOfMemory)));
    }
}

} // namespace interpreter
