// SPDX-License-Identifier: MIT
#include "interpreter/liverun.h"

#include "files/textlines.h"
#include "interpreter/commandtable.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "interpreter/scriptrun.h"
#include "toolkit/livewindow.h"

namespace interpreter {

namespace {
using namespace Qt::Literals::StringLiterals;

// A host that shows nothing and keeps the first report of the run.
class ReportKeeper : public SilentRunHost {
public:
    void report(const RunReport &report) override
    {
        if (!kept)
            kept = report;
    }
    std::optional<RunReport> kept;
};

// Where each control of a script comes from, and the script's last
// CreateWindow line.
struct ScriptSources {
    QHash<QString, toolkit::LiveControlSource> controls; // keyed by controlNameKey
    int windowLine = 0;
};

void addLine(ScriptSources &sources, const Command &command, const SplitLine &split, int lineNumber,
             const QString &raw)
{
    const QStringList &elements = split.elements;
    const QString piece = split.normalised + u'\n';
    if (command.control.classId) {
        const int nameElement = nameElementOf(command.control);
        if (nameElement >= elements.size())
            return;
        toolkit::LiveControlSource &source = sources.controls[toolkit::controlNameKey(elements[nameElement])];
        source.recipe += piece;
        source.line = lineNumber;
        source.lineText = trimSpaces(raw);
    } else if (command.property && elements.size() > 1) {
        sources.controls[toolkit::controlNameKey(elements[1])].recipe += piece;
    } else if (command.keyword == "CreateWindow"_L1) {
        sources.windowLine = lineNumber;
    }
}

// Reads every line the way a run reads it, without running any. A line the
// run would stop at adds nothing: the run fails there anyway.
ScriptSources readSources(const QString &script)
{
    ScriptSources sources;
    files::LineWalker lines(script);
    while (!lines.atEnd()) {
        const QString raw = lines.textOf(lines.next()).toString();
        const std::optional<SplitLine> split = splitScriptLineQuietly(raw);
        if (!split)
            continue;
        if (const Command *command = findCommand(split->elements.first()))
            addLine(sources, *command, *split, lines.lineNumber(), raw);
    }
    return sources;
}
} // namespace

LiveRunEnd runLive(const QString &text, const QString &scriptPath, toolkit::LiveWindow &live, QDeadlineTimer deadline)
{
    const QString script = withoutByteOrderMark(text);
    ReportKeeper host;
    RunState run(scriptPath, host);
    run.deadline = deadline;
    // The run builds a window that is never shown itself: what it makes
    // goes into the live window.
    run.showWindow = false;
    ScriptSources sources;
    RunEnd end = RunEnd::AtLastLine;
    const bool trapped = trappedRun(run, [&] {
        sources = readSources(script);
        run.runWindow.attach(live.stage(sources.controls));
        end = runLines(run, script, CompileNormally, {});
    });
    if (!trapped)
        return LiveRunEnd{host.kept, false};
    if (end != RunEnd::AtLastLine) {
        run.runWindow.unload();
        return LiveRunEnd{host.kept, end == RunEnd::OutOfTime};
    }
    live.commit(run.runWindow.detach(), sources.controls, sources.windowLine);
    return {};
}

} // namespace interpreter
