// SPDX-License-Identifier: MIT
#include "cli/start.h"

#include "cli/commandline.h"
#include "cli/display.h"
#include "cli/shellmodes.h"
#include "cli/terminal.h"
#include "panel/mainwindow.h"
#include "platform/application.h"
#include "platform/exitsignals.h"
#include "platform/filenames.h"

#include <QApplication>
#include <csignal>
#include <optional>

namespace cli {

namespace {
QtMessageHandler qtDefaultHandler = nullptr;

// Qt's own notes (a missing runtime folder, font set-up...) would mix with
// the reports that editors and CI jobs read on standard error: the shell
// modes let only critical messages through.
void criticalMessagesOnly(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qtDefaultHandler(type, context, message);
}

bool needsDisplay(Mode mode) { return mode == Mode::Panel || mode == Mode::Run; }

int unreachableDisplayStatus(Mode mode) { return mode == Mode::Run ? ExitRunUsage : ExitFailed; }

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(platform::fileNameFromBytes(argv[i]));
    return arguments;
}

// Output that needs no application object: help, version, usage errors.
bool answeredAtOnce(const Invocation &invocation)
{
    if (!invocation.error.isEmpty())
        writeError(QStringLiteral("zarvo: ") + invocation.error + QLatin1Char('\n') + usageHint() + QLatin1Char('\n'));
    else if (invocation.mode == Mode::Help)
        writeOut(helpText());
    else if (invocation.mode == Mode::Version)
        writeOut(versionText());
    else
        return false;
    return true;
}

int runPanel(const QString &scriptPath, const std::function<void(QWidget &)> &panelShown)
{
    // SIGTERM, SIGINT and SIGHUP end the program as Quit does, with the exit
    // status such a signal gives (128 + its number).
    platform::ExitSignals exitSignals;
    panel::MainWindow window(scriptPath);
    QObject::connect(&exitSignals, &platform::ExitSignals::exitRequested, &window, [&window](int signalNumber) {
        window.closeForSignal();
        QCoreApplication::exit(128 + signalNumber);
    });
    window.show();
    if (panelShown)
        panelShown(window);
    return QApplication::exec();
}

int runMode(const Invocation &invocation, const std::function<void(QWidget &)> &panelShown)
{
    switch (invocation.mode) {
    case Mode::Run:
        return runDialog(invocation);
    case Mode::Check:
        return checkScripts(invocation);
    case Mode::Render:
        return renderScript(invocation);
    default:
        return runPanel(invocation.files.value(0), panelShown);
    }
}
} // namespace

int start(int argc, char *argv[], const std::function<void(QWidget &)> &panelShown)
{
    occupyClosedStandardDescriptors();
    // A write past the file-size limit then fails as a write error, which a
    // save reports, instead of ending the program; a reader that went away
    // makes the write of an answer fail, which --run reports.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    const Invocation invocation = parseCommandLine(argumentsOf(argc, argv));
    if (answeredAtOnce(invocation))
        return invocation.exitStatus;
    if (invocation.mode != Mode::Panel)
        qtDefaultHandler = qInstallMessageHandler(criticalMessagesOnly);
    if (!needsDisplay(invocation.mode)) {
        // --check and --render draw off screen, with or without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (displayMissing()) {
        writeError(noDisplayHint(invocation.mode, argv[0]));
        return unreachableDisplayStatus(invocation.mode);
    }
    // Qt reads options of its own (-style, -reverse...) from the arguments it
    // is given; the command line is Zarvo's alone, so it gets the name only.
    int qtArgc = 1;
    std::optional<DisplayConnectionGuard> connecting(std::in_place, unreachableDisplayStatus(invocation.mode));
    platform::Application app(qtArgc, argv);
    connecting.reset();
    QApplication::setApplicationName(QStringLiteral("zarvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZARVO_VERSION));
    return runMode(invocation, panelShown);
}

} // namespace cli
