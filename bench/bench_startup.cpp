// SPDX-License-Identifier: MIT
// Whole-process start-up until the window is shown, painted and idle: the
// CPU time (user and system) of Zarvo's start against a baseline started the
// same way, their runs interleaved.
//   the bundled sample     next to an application with an empty QMainWindow
//   a 1 MB script          next to the same empty application
//   a 10 MB script         next to a program that reads the file and shows
//                          it in a QPlainTextEdit with setPlainText
// Run headless: QT_QPA_PLATFORM=offscreen bench_startup [ROUNDS]

#include "figures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {
struct Usage {
    double cpuMs = 0;
    double wallMs = 0;
    double peakMb = 0;
};

Usage runProcess(const QStringList &command)
{
    QList<QByteArray> encoded;
    for (const QString &part : command)
        encoded.append(QFile::encodeName(part));
    std::vector<char *> argv;
    for (QByteArray &part : encoded)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    QElapsedTimer wall;
    wall.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s ended with status %d\n", argv[0], status);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return Usage{ms(usage.ru_utime) + ms(usage.ru_stime), bench::elapsedMs(wall), double(usage.ru_maxrss) / 1024};
}


void compare(const char *name, const QStringList &zarvo, const QStringList &baseline, int rounds, double goal)
{
    runProcess(zarvo); // untimed: the files and libraries into the page cache
    runProcess(baseline);
    QList<Usage> zarvoRuns, baselineRuns;
    bench::Samples zarvoCpu, baselineCpu;
    bench::interleave(
        rounds, [&] { zarvoRuns.append(runProcess(zarvo)); return zarvoRuns.last().cpuMs; },
        [&] { baselineRuns.append(runProcess(baseline)); return baselineRuns.last().cpuMs; }, zarvoCpu,
        baselineCpu);
    bench::printFigure(name, "ms", zarvoCpu, baselineCpu, goal);
    bench::Samples zarvoWall, baselineWall, zarvoPeak, baselinePeak;
    for (const Usage &usage : zarvoRuns) {
        zarvoWall.values.append(usage.wallMs);
        zarvoPeak.values.append(usage.peakMb);
    }
    for (const Usage &usage : baselineRuns) {
        baselineWall.values.append(usage.wallMs);
        baselinePeak.values.append(usage.peakMb);
    }
    bench::printFigure("  the same, wall-clock time", "ms", zarvoWall, baselineWall, 0);
    bench::printFigure("  the same, peak resident memory", "MB", zarvoPeak, baselinePeak, 0);
}
} // namespace

int main(int argc, char *argv[])
{
    bench::offscreenUnlessSet();
    QCoreApplication app(argc, argv);
    const int rounds = qMax(1, app.arguments().value(1, QStringLiteral("11")).toInt());
    const QDir here(QCoreApplication::applicationDirPath());
    const QString zarvo = here.filePath(QStringLiteral("startup_zarvo"));
    const QString baseline = here.filePath(QStringLiteral("startup_baseline"));
    QTemporaryDir dir;
    const QString sample = dir.filePath(QStringLiteral("GUI_All.txt"));
    QFile::copy(QStringLiteral(ZARVO_SAMPLE), sample);
    const QString oneMb = dir.filePath(QStringLiteral("1mb.txt"));
    const QString tenMb = dir.filePath(QStringLiteral("10mb.txt"));
    bench::writeFile(oneMb, bench::buttonScript(qsizetype(1) << 20));
    bench::writeFile(tenMb, bench::buttonScript(qsizetype(10) << 20));

    bench::printHeader();
    compare("start-up CPU, bundled sample vs empty app", {zarvo, sample}, {baseline, QStringLiteral("empty")}, rounds,
            1.15);
    compare("start-up CPU, 1 MB script vs empty app", {zarvo, oneMb}, {baseline, QStringLiteral("empty")}, rounds, 2.0);
    compare("start-up CPU, 10 MB script vs QPlainTextEdit", {zarvo, tenMb}, {baseline, QStringLiteral("plain"), tenMb},
            qMax(1, rounds / 2), 1.2);
    return 0;
}
