#include "interpreter/errorreport.h"

#include "interpreter/linehighlight.h"
#include "interpreter/runstate.h"
#include "platform/messagebox.h"
#include "platform/toolkiterror.h"

namespace interpreter {

namespace {
using namespace platform;

// The script is read whole before its first line runs, so a file error
// before any line comes from the script itself, and one after it from a file
// a command read (a picture). Each report names the file that failed: an
// unreadable script gets the generic box, not the picture one.
bool failedOnScriptFile(const RunState &run) { return run.lineNumber == 0; }
} // namespace

void reportRunError(RunState &run, const ToolkitError &error)
{
    const int number = error.number();
    const bool scriptFile = failedOnScriptFile(run);
    const bool fileError = number == ErrFileNotFound || number == ErrFileAccess;
    if (number == ErrFileNotFound && scriptFile) {
        run.host.setStatus(QStringLiteral("Error loading source ") + run.path
                           + QStringLiteral(". Is the editor above empty?"));
    } else if (fileError && !scriptFile) {
        showMessageBox(QStringLiteral("Image does not appear to exist!"), MsgCritical,
                       QStringLiteral("CreateImage error..."));
    } else if (number == ErrControlNotFound) {
        showMessageBox(QStringLiteral("Cannot find the control named '") + run.args.at(1) + QStringLiteral("'."),
                       MsgCritical, QStringLiteral("Trapped Error..."));
    } else {
        showMessageBox(QString::number(number) + QStringLiteral(": ") + error.description(), MsgCritical,
                       QStringLiteral("UNTRAPPED ERROR..."));
    }
}

void ReportUnknownCommand(RunState &run, const QString &keyword)
{
    const QString text = run.host.editorText();
    int start = -1;
    int length = int(keyword.size());
    if (const auto line = matchingEditorLine(text, run.lineNumber, run.fileLine)) {
        // The failing line itself: its keyword as written, which differs in
        // length from the run's keyword only when "Date$" was replaced.
        const EditorSpan trimmed = trimmedSpan(text, *line);
        const int end = trimmed.start + trimmed.length;
        const qsizetype space = text.indexOf(QLatin1Char(' '), trimmed.start);
        start = trimmed.start;
        length = (space >= 0 && space < end ? int(space) : end) - start;
    } else {
        start = int(text.indexOf(keyword, 0, Qt::CaseInsensitive));
    }

    if (start < 0) {
        run.host.setStatus(QStringLiteral("Unknown command. Error trying to highlight ") + keyword
                           + QStringLiteral(" ..."));
        return;
    }
    run.host.selectInEditor(start, length);
    run.host.focusEditor();
    run.host.setStatus(QStringLiteral("Unknown command: ") + keyword);
}

} // namespace interpreter
