// SPDX-License-Identifier: MIT
// STEP COMPILE on the control panel: the time of one pause (select the line,
// show the step window, close it, run the line) in a script of 1600 lines
// next to the same in a script of 100 lines. A pause must not grow with the
// script. Run headless: QT_QPA_PLATFORM=offscreen bench_step

#include "figures.h"
#include "interpreter/compilesource.h"
#include "panel/mainwindow.h"
#include "panel/sourcefiles.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {
constexpr int kShortLines = 100;
constexpr int kLongLines = 1600;

// Closes each step window as soon as it is shown, as a click on "Compile
// the next line" would.
class StepAnswerer : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget && widget->objectName() == QLatin1String("wStepCompile"))
            QMetaObject::invokeMethod(widget, &QWidget::close, Qt::QueuedConnection);
        return false;
    }
};

QString writeScript(const QTemporaryDir &dir, int lines)
{
    QByteArray script = "CreateWindow 10, 10, 300, 200, w, , \"Step\"\r\nCreateButton 8, 8, 120, 24, b, -, \"Go\"\r\n";
    for (int i = 2; i < lines; ++i)
        script += "SetCaption b, \"line " + QByteArray::number(i) + "\"\r\n";
    const QString path = dir.filePath(QStringLiteral("step%1.txt").arg(lines));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        std::perror("writing the script");
    return path;
}

// Milliseconds per pause of one step run over the script.
double stepRun(panel::MainWindow &panel, const QString &path, int lines)
{
    panel.sourceFiles().load(path);
    bench::waitUntilIdle(&panel);
    QElapsedTimer timer;
    timer.start();
    interpreter::compileSource(path, interpreter::CompileStepByStep, panel.runHost());
    const double perPause = bench::elapsedMs(timer) / lines;
    for (QWidget *window : toolkit::loadedWindows()) {
        if (window != &panel)
            toolkit::unloadWindow(window);
    }
    return perPause;
}
} // namespace

int main(int argc, char *argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    StepAnswerer answerer;
    app.installEventFilter(&answerer);
    QTemporaryDir dir;
    const QString shortScript = writeScript(dir, kShortLines);
    const QString longScript = writeScript(dir, kLongLines);
    panel::MainWindow panel(shortScript);
    panel.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    panel.show();
    stepRun(panel, shortScript, kShortLines); // untimed: styles, fonts and caches
    bench::Samples longPauses, shortPauses;
    bench::interleave(
        5, [&] { return stepRun(panel, longScript, kLongLines); },
        [&] { return stepRun(panel, shortScript, kShortLines); }, longPauses, shortPauses);
    bench::printHeader();
    bench::printFigure("step pause, 1600 lines vs 100 lines", "ms", longPauses, shortPauses, 1.5);
    return 0;
}
