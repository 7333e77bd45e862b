// SPDX-License-Identifier: MIT
#include "interpreter/errorreport.h"

#include "interpreter/failuredetail.h"
#include "interpreter/linehighlight.h"
#include "interpreter/runstate.h"
#include "platform/error.h"
#include "platform/messagestyle.h"

namespace interpreter {

namespace {
using namespace platform;

RunReport reportOf(const RunState &run, const platform::Error &error)
{
    RunReport report;
    report.number = error.number();
    report.description = error.description();
    report.place = run.place();
    report.detail = failureDetail(run, error);
    return report;
}

// Once the box is closed the run is over, and the status line says so.
QString failedStatus(const RunState &run)
{
    if (run.lineNumber < 1)
        return QStringLiteral("Compile failed: the script file could not be read");
    return QStringLiteral("Compile failed at line %1").arg(run.lineNumber);
}

// A failure shown in a critical message box with this title and text.
void reportInBox(RunState &run, const platform::Error &error, const QString &title, const QString &text)
{
    RunReport report = reportOf(run, error);
    report.title = title;
    report.text = text;
    report.style = MsgCritical;
    run.host.report(report);
    run.host.setStatus(failedStatus(run));
}

void reportGeneric(RunState &run, const platform::Error &error)
{
    reportInBox(run, error, QStringLiteral("UNTRAPPED ERROR..."),
                QString::number(error.number()) + QStringLiteral(": ") + error.description());
}
} // namespace

void reportScriptReadError(RunState &run, const platform::Error &error)
{
    if (error.number() != ErrFileNotFound) {
        reportGeneric(run, error);
        return;
    }
    run.host.setStatus(QStringLiteral("Error loading source ") + run.path
                       + QStringLiteral(". Is the editor above empty?"));
    run.host.report(reportOf(run, error));
}

void reportRunError(RunState &run, const platform::Error &error)
{
    const int number = error.number();
    if (number == ErrFileNotFound || number == ErrFileAccess)
        reportInBox(run, error, QStringLiteral("CreateImage error..."), QStringLiteral("Image does not appear to exist!"));
    else if (number == ErrControlNotFound)
        reportInBox(run, error, QStringLiteral("Trapped Error..."),
                    QStringLiteral("Cannot find the control named '") + run.args.at(1) + QStringLiteral("'."));
    else
        reportGeneric(run, error);
}

void reportUnknownCommand(RunState &run, const QString &keyword)
{
    int start = -1;
    int length = int(keyword.size());
    if (const auto line = matchingEditorLine(run.host, run.lineNumber, run.fileLine)) {
        // The failing line itself: its keyword as written, which differs in
        // length from the run's keyword only when "Date$" was replaced.
        const EditorSpan trimmed = trimmedSpan(*line);
        const int end = trimmed.start + trimmed.length;
        const qsizetype space = line->text.indexOf(QLatin1Char(' '), trimmed.start - line->start);
        start = trimmed.start;
        length = (space >= 0 && line->start + space < end ? int(line->start + space) : end) - start;
    } else if (const auto found = run.host.findInEditor(keyword, 0, Qt::CaseInsensitive)) {
        start = int(found->start);
    }

    if (start < 0) {
        run.host.setStatus(QStringLiteral("Unknown command. Error trying to highlight ") + keyword
                           + QStringLiteral(" ..."));
    } else {
        run.host.selectInEditor(start, length);
        run.host.focusEditor();
        run.host.setStatus(QStringLiteral("Unknown command: ") + keyword);
    }
    RunReport report;
    report.unknownKeyword = keyword;
    report.place = run.place();
    report.detail = unknownKeywordDetail(keyword);
    run.host.report(report);
}

} // namespace interpreter
