// SPDX-License-Identifier: MIT
#include "cli/shellmodes.h"

#include "cli/answers.h"
#include "cli/commandline.h"
#include "cli/picturefile.h"
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
const QString kStandardInput = QStringLiteral("-");

// A first "#!" line is skipped, and a script may come from a pipe or from
// standard input, named "-". --run shows the window itself, as a dialog.
interpreter::RunOptions shellRun(const QString &path, bool showWindow = true)
{
    return {.skipInterpreterLine = true,
            .source = path == kStandardInput ? files::ReadSource::StandardInput : files::ReadSource::FileOrStream,
            .showWindow = showWindow};
}

DialogAnswerer &dialogAnswerer()
{
    static DialogAnswerer answerer;
    return answerer;
}

// Runs a script; returns its window, or null after reporting why there is none.
QWidget *buildWindow(const QString &path, TerminalRunHost &host, bool showWindow)
{
    interpreter::compileSource(path, interpreter::CompileNormally, host, shellRun(path, showWindow));
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

// Why the window's values cannot be printed for eval, as a line for standard
// error; empty when they can. Said before the user fills anything in.
QString answerRefusal(const Invocation &invocation, const QList<toolkit::ControlValue> &values,
                      const TerminalRunHost &host)
{
    const QString &path = invocation.files.first();
    // Its value and the button that closes the window would share one name.
    if (!controlNamedButton(values).isEmpty())
        return path + QStringLiteral(": error: a control named 'button' would hide which button closed the window");
    if (invocation.json)
        return {};
    const bool prefixed = !invocation.prefix.isEmpty();
    for (const toolkit::ControlValue &value : values) {
        const QString printed = invocation.prefix + value.name;
        if (!readByShellOrLoader(printed, prefixed))
            continue;
        const QString place = path + QLatin1Char(':') + QString::number(host.lineOfControl(value.name));
        if (prefixed)
            return place + QStringLiteral(": error: the control '%1' would set '%2', a variable the shell or the "
                                          "dynamic loader reads; rename it or choose another --prefix")
                               .arg(value.name, printed);
        return place + QStringLiteral(": error: the control '%1' would set a variable the shell or the dynamic "
                                      "loader reads; rename it or use --prefix")
                           .arg(value.name);
    }
    return {};
}

// Runs one script for --check with its warnings shown; true when it passes:
// it succeeded, and with --strict it had no warnings either.
bool checkScript(const QString &path, bool strict)
{
    TerminalRunHost host;
    host.showWarnings();
    interpreter::compileSource(path, interpreter::CompileNormally, host, shellRun(path));
    unloadAllWindows();
    return !host.failed() && !(strict && host.warningCount() > 0);
}
} // namespace

void setDialogAnswerer(DialogAnswerer answerer) { dialogAnswerer() = std::move(answerer); }

int runDialog(const Invocation &invocation)
{
    TerminalRunHost host;
    QWidget *window = buildWindow(invocation.files.first(), host, false);
    if (!window)
        return ExitRunScriptFailed;
    const QString refusal = answerRefusal(invocation, toolkit::controlValues(window), host);
    if (!refusal.isEmpty()) {
        writeError(refusal + QLatin1Char('\n'));
        unloadAllWindows();
        return ExitRunScriptFailed;
    }
    toolkit::OutputDialog dialog(window);
    if (const DialogAnswerer &answerer = dialogAnswerer())
        QTimer::singleShot(0, &dialog, [&dialog, &answerer] { answerer(dialog); });
    const QString button = dialog.exec();
    const QList<toolkit::ControlValue> values = toolkit::controlValues(window);
    unloadAllWindows();
    const QByteArray answer = invocation.json ? jsonAnswer(values, button, invocation.prefix)
                                              : shellAnswer(values, button, invocation.prefix);
    if (!writeOut(answer)) {
        writeError(QStringLiteral("zarvo: the answer could not be written: ") + lastWriteError() + QLatin1Char('\n'));
        return ExitRunUnwritten;
    }
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
    TerminalRunHost host;
    QWidget *window = buildWindow(invocation.files.first(), host, true);
    if (!window)
        return ExitFailed;
    try {
        const QImage picture = toolkit::clientAreaPicture(window, invocation.scale);
        writePictureFile(invocation.output, toolkit::encodePicture(picture, invocation.pictureFormat));
    } catch (const platform::Error &error) {
        writeError(invocation.output + QStringLiteral(": error ") + QString::number(error.number())
                   + QStringLiteral(": ") + error.description() + QLatin1Char('\n'));
        return ExitFailed;
    }
    unloadAllWindows();
    return ExitOk;
}

} // namespace cli
