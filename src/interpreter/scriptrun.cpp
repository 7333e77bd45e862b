// SPDX-License-Identifier: MIT
#include "interpreter/scriptrun.h"

#include "files/textlines.h"
#include "interpreter/commandtable.h"
#include "interpreter/errorreport.h"
#include "interpreter/linehighlight.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "platform/error.h"

#include <new>

namespace interpreter {

namespace {
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

void failRun(RunState &run, const platform::Error &error)
{
    run.runWindow.showKeptChanges();
    reportRunError(run, error);
    run.runWindow.unload();
}
} // namespace

QString withoutByteOrderMark(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

RunEnd runLines(RunState &run, const QString &script, int stepFlag, RunOptions options)
{
    files::LineWalker lines(script);
    while (!lines.atEnd()) {
        if (run.deadline.hasExpired())
            return RunEnd::OutOfTime;
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

bool trappedRun(RunState &run, const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const platform::Error &error) {
        failRun(run, error);
    } catch (const std::bad_alloc &) {
        failRun(run, platform::Error(platform::ErrOutOfMemory, platform::standardDescription(platform::ErrOutOfMemory)));
    }
    return false;
}

} // namespace interpreter
