#include "interpreter/compilesource.h"

#include "interpreter/commandtable.h"
#include "interpreter/errorreport.h"
#include "interpreter/linehighlight.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptline.h"
#include "platform/scriptfile.h"
#include "platform/toolkiterror.h"

#include <new>

namespace interpreter {

namespace {
class SilentHost final : public RunHost {
public:
    void setStatus(const QString &) override {}
    QString editorText() const override { return {}; }
    void selectInEditor(int, int) override {}
    void focusEditor() override {}
    void stepPause() override {}
};

RunHost *g_host = nullptr;

// A leading byte order mark is part of the file, not of its first keyword.
QString withoutByteOrderMark(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Selects the line about to run in the editor, shows it in the status line
// and waits in the step window. A line the editor no longer holds keeps the
// previous selection: the run executes the file, not the editor.
void stepPause(RunState &run)
{
    const QString text = run.host.editorText();
    const std::optional<EditorSpan> span =
        stepSelection(text, run.lineNumber, run.fileLine, run.args.keyword(), run.searchFrom);
    if (span) {
        run.host.selectInEditor(span->start, span->length);
        run.searchFrom = span->start + span->length;
    }
    run.host.setStatus(run.normalisedLine);
    run.host.stepPause();
}

// Runs the lines of the script; returns false when a keyword matched nothing.
bool runLines(RunState &run, int stepFlag)
{
    platform::LineReader reader(withoutByteOrderMark(platform::readTextFile(run.path).text));
    while (!reader.atEnd()) {
        const QString raw = reader.readLine();
        std::optional<SplitLine> split = SplitScriptLine(raw);
        if (!split)
            continue;
        run.lineNumber = reader.lineNumber();
        run.fileLine = trimSpaces(raw);
        run.normalisedLine = std::move(split->normalised);
        run.args = ArgumentList(std::move(split->elements));
        if (stepFlag == 1)
            stepPause(run);
        const Command *command = findCommand(run.args.keyword());
        if (!command) {
            ReportUnknownCommand(run, run.args.keyword());
            return false;
        }
        command->run(run, run.args);
    }
    return true;
}
} // namespace

void setRunHost(RunHost *host) { g_host = host; }

RunHost &runHost()
{
    static SilentHost silent;
    return g_host ? *g_host : silent;
}

void CompileSource(const QString &path, int stepFlag)
{
    RunState run(path, runHost());
    try {
        run.host.setStatus(QStringLiteral("Compiling ..."));
        if (runLines(run, stepFlag))
            run.host.setStatus(QStringLiteral("Compiled sucessfully..."));
        else
            run.runWindow.unload();
    } catch (const platform::ToolkitError &error) {
        // The run's single error trap: report, then take the run window away.
        reportRunError(run, error);
        run.runWindow.unload();
    } catch (const std::bad_alloc &) {
        reportRunError(run, platform::ToolkitError(7, QStringLiteral("Out of memory")));
        run.runWindow.unload();
    }
}

} // namespace interpreter
