#include "cli/shellmodes.h"

#include "cli/answers.h"
#include "cli/commandline.h"
#include "cli/terminal.h"
#include "interpreter/compilesource.h"
#include "platform/error.h"
#include "toolkit/controlvalues.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputdialog.h"
#include "toolkit/windowpicture.h"

#include <QTimer>

namespace cli {

namespace {
constexpr interpreter::RunOptions kShellRun{.skipInterpreterLine = true};

DialogAnswerer &dialogAnswerer()
{
    static DialogAnswerer answerer;
    return answerer;
}

// Runs a script; returns its window, or null after reporting why there is none.
QWidget *buildWindow(const QString &path)
{
    TerminalRunHost host;
    interpreter::compileSource(path, interpreter::CompileNormally, host, kShellRun);
    if (host.failed())
        return nullptr;
    QWidget *window = toolkit::newestOutputWindow();
    if (!window)
        writeError(path + QStringLiteral(": error: the script builds no window\n"));
    return window;
}

void unloadAllWindows()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
}

// Runs one script for --check with its warnings shown; true when it passes:
// it succeeded, and with --strict it had no warnings either.
bool checkScript(const QString &path, bool strict)
{
    TerminalRunHost host;
    host.showWarnings();
    interpreter::compileSource(path, interpreter::CompileNormally, host, kShellRun);
    unloadAllWindows();
    return !host.failed() && !(strict && host.warningCount() > 0);
}
} // namespace

void setDialogAnswerer(DialogAnswerer answerer) { dialogAnswerer() = std::move(answerer); }

int runDialog(const Invocation &invocation)
{
    QWidget *window = buildWindow(invocation.files.first());
    if (!window)
        return ExitRunScriptFailed;
    // Its value and the button that closes the window would share one name:
    // say so before the user fills anything in.
    if (!controlNamedButton(toolkit::controlValues(window)).isEmpty()) {
        writeError(invocation.files.first()
                   + QStringLiteral(": error: a control named 'button' would hide which button closed the window\n"));
        unloadAllWindows();
        return ExitRunScriptFailed;
    }
    toolkit::OutputDialog dialog(window);
    if (const DialogAnswerer &answerer = dialogAnswerer())
        QTimer::singleShot(0, &dialog, [&dialog, &answerer] { answerer(dialog); });
    const QString button = dialog.exec();
    const QList<toolkit::ControlValue> values = toolkit::controlValues(window);
    writeOut(invocation.json ? jsonAnswer(values, button) : shellAnswer(values, button));
    unloadAllWindows();
    return button.isEmpty() ? ExitRunNoButton : ExitOk;
}

int checkScripts(const Invocation &invocation)
{
    int status = ExitOk;
    for (const QString &path : invocation.files) {
        if (checkScript(path, invocation.strict))
            writeOut(path + QStringLiteral(": ok\n"));
        else
            status = ExitFailed;
    }
    return status;
}

int renderScript(const Invocation &invocation)
{
    QWidget *window = buildWindow(invocation.files.first());
    if (!window)
        return ExitFailed;
    try {
        toolkit::saveClientAreaPicture(window, invocation.scale, invocation.output);
    } catch (const platform::Error &error) {
        writeError(invocation.output + QStringLiteral(": error ") + QString::number(error.number())
                   + QStringLiteral(": ") + error.description() + QLatin1Char('\n'));
        return ExitFailed;
    }
    unloadAllWindows();
    return ExitOk;
}

} // namespace cli
