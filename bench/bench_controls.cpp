// SPDX-License-Identifier: MIT
// From the click on COMPILE until the output window is shown, painted and
// idle: a generated script of N controls of every kind, run through
// compileSource, next to naive hand-written Qt that builds the same window
// with the same widgets. Run headless: QT_QPA_PLATFORM=offscreen bench_controls
// Optional arguments: "-r ROUNDS" and the control counts to measure.

#include "figures.h"
#include "handbuilt.h"
#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "toolkit/loadedwindows.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

void clearWindows()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    bench::waitUntilIdle();
}

// Milliseconds from the start of build until its window is shown, painted
// and idle; the window goes afterwards, untimed.
double timeBuild(const std::function<QWidget *()> &build)
{
    QElapsedTimer timer;
    timer.start();
    QWidget *window = build();
    bench::waitUntilIdle(window);
    const double ms = bench::elapsedMs(timer);
    toolkit::registerLoadedWindow(window);
    clearWindows();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int fixedRounds = 0;
    if (args.size() >= 2 && args.first() == QLatin1String("-r")) {
        fixedRounds = args.at(1).toInt();
        args = args.mid(2);
    }
    QList<int> counts{2000, 10000};
    if (!args.isEmpty()) {
        counts.clear();
        for (const QString &arg : args)
            counts.append(arg.toInt());
    }
    QTemporaryDir dir;
    const bench::Material material = bench::makeMaterial(dir);
    interpreter::SilentRunHost host;
    bench::printHeader();
    for (int count : counts) {
        const QString path = dir.filePath(QStringLiteral("bench_%1.txt").arg(count));
        bench::writeFile(path, bench::scriptOf(count, material));
        const auto compile = [&] {
            interpreter::compileSource(path, interpreter::CompileNormally, host);
            return toolkit::newestOutputWindow();
        };
        const auto direct = [&] { return bench::buildWindowDirectly(count, material); };
        // One untimed round first: the first widgets of each kind pay for
        // styles, fonts and caches that every later one finds ready.
        timeBuild(compile);
        timeBuild(direct);
        bench::Samples scripted, built;
        const int rounds = fixedRounds > 0 ? fixedRounds : count >= 10000 ? 5 : 11;
        bench::interleave(rounds, [&] { return timeBuild(compile); }, [&] { return timeBuild(direct); }, scripted, built);
        const QByteArray name = QStringLiteral("compile %1 controls of 11 kinds, to idle").arg(count).toUtf8();
        bench::printFigure(name.constData(), "ms", scripted, built, 1.0);
    }
    return 0;
}
