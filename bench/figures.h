// SPDX-License-Identifier: MIT
// What every benchmark prints: one line per figure with the program's and the
// baseline's median and minimum, the ratio of the medians, the goal and the
// number of rounds. Rounds run interleaved, so that the machine's drift
// touches both sides alike.
#pragma once

#include <QAbstractEventDispatcher>
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QList>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace bench {

struct Samples {
    QList<double> values;

    double median() const
    {
        QList<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype n = sorted.size();
        return n == 0 ? 0 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double min() const { return values.isEmpty() ? 0 : *std::min_element(values.begin(), values.end()); }
};

// Runs the program's side and the baseline's alternately, each first in every
// other round; each returns what it measured.
inline void interleave(int rounds, const std::function<double()> &program, const std::function<double()> &baseline,
                       Samples &programSamples, Samples &baselineSamples)
{
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            programSamples.values.append(program());
            baselineSamples.values.append(baseline());
        } else {
            baselineSamples.values.append(baseline());
            programSamples.values.append(program());
        }
    }
}

inline void printHeader()
{
    std::printf("%-46s %21s %21s %7s %7s %6s %s\n", "figure", "zarvo median (min)", "baseline median (min)",
                "ratio", "goal", "rounds", "");
}

// goal: the largest ratio the figure may have; 0 for a figure shown for
// information.
inline void printFigure(const char *name, const char *unit, const Samples &program, const Samples &baseline,
                        double goal)
{
    const double ratio = baseline.median() > 0 ? program.median() / baseline.median() : 0;
    char programText[40], baselineText[40], goalText[16];
    std::snprintf(programText, sizeof programText, "%.2f (%.2f) %s", program.median(), program.min(), unit);
    std::snprintf(baselineText, sizeof baselineText, "%.2f (%.2f) %s", baseline.median(), baseline.min(), unit);
    std::snprintf(goalText, sizeof goalText, goal > 0 ? "%.2f" : "-", goal);
    const char *verdict = goal <= 0 ? "" : ratio <= goal ? "met" : "NOT MET";
    std::printf("%-46s %21s %21s %7.2f %7s %6lld %s\n", name, programText, baselineText, ratio, goalText,
                (long long)program.values.size(), verdict);
    std::fflush(stdout);
}

// A figure measured against a fixed limit rather than a baseline (a time the
// user must never wait longer): the baseline column shows the limit, the
// ratio is the median over the limit. A limit shown for information only
// prints no goal and no verdict.
enum class LimitUse { Goal, Information };

inline void printLimit(const char *name, const char *unit, const Samples &program, double limit,
                       LimitUse use = LimitUse::Goal)
{
    const double ratio = program.median() / limit;
    const bool isGoal = use == LimitUse::Goal;
    char programText[40], limitText[40];
    std::snprintf(programText, sizeof programText, "%.2f (%.2f) %s", program.median(), program.min(), unit);
    std::snprintf(limitText, sizeof limitText, "limit %.2f %s", limit, unit);
    std::printf("%-46s %21s %21s %7.2f %7s %6lld %s\n", name, programText, limitText, ratio, isGoal ? "1.00" : "-",
                (long long)program.values.size(), !isGoal ? "" : ratio <= 1.0 ? "met" : "NOT MET");
    std::fflush(stdout);
}

// Headless unless the caller chose a platform.
inline void offscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A script of about size bytes: one CreateButton line after another, each
// caption starting with the given UTF-8 text.
inline QByteArray buttonScript(qsizetype size, const QByteArray &caption = "Caption ")
{
    QByteArray script;
    script.reserve(size + 100);
    for (int i = 0; script.size() < size; ++i)
        script += "CreateButton cmd" + QByteArray::number(i) + ", 10, 20, 100, 25, \"" + caption + QByteArray::number(i)
            + "\"\r\n";
    return script;
}

// Writes a benchmark's script, saying so on standard error when it cannot.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        std::perror("writing a script");
}

// Sends the press and the release of a key to target, as typing it would.
// The key code defaults to X: the editors take the text, not the code.
inline void typeKey(QWidget *target, const QString &text, int key = Qt::Key_X)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

inline double elapsedMs(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e6; }

// Milliseconds the work takes.
inline double msOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return elapsedMs(timer);
}

// Minor page faults of this process so far.
inline long minorFaults()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Returns once the event loop has nothing left to do: what was posted has
// been delivered, and the window, when one is given, is exposed and painted.
inline void waitUntilIdle(const QWidget *shown = nullptr)
{
    QEventLoop loop;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        if (!shown || (shown->windowHandle() && shown->windowHandle()->isExposed()))
            loop.quit();
    });
    loop.exec();
}

// Ends the application at the first moment the window is exposed, painted
// and the event loop has nothing left to do: the end of a start-up.
inline void quitWhenShownAndIdle(QWidget &window)
{
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &window, [&window] {
        if (window.windowHandle() && window.windowHandle()->isExposed())
            QCoreApplication::quit();
    });
}

} // namespace bench
