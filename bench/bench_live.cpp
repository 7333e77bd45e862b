// SPDX-License-Identifier: MIT
// Live Window: from an edit in the editor until the live window shows it,
// painted and idle, the idle wait before a live run not counted. The sample
// against its goal of 30 ms; one line of a 2000-control script against
// building the same window by hand (the compile baseline); and how long a
// keystroke waits with Live Window on while the user types with pauses, the
// live runs falling between keys, against the 16 ms of one frame.
// Run headless: QT_QPA_PLATFORM=offscreen bench_live

#include "editor/scripteditor.h"
#include "figures.h"
#include "handbuilt.h"
#include "panel/livecontroller.h"
#include "panel/mainwindow.h"
#include "panel/sourcefiles.h"
#include "toolkit/livewindow.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

namespace {
constexpr double kSampleGoalMs = 30;
constexpr double kFrameMs = 16;

// Replaces the first character after the first quote of a line with the
// other of two letters, as a user's keystroke would, and runs live at once.
double timeEditToPainted(panel::MainWindow &panel, int line)
{
    editing::ScriptEditor *editor = panel.editor();
    const QTextBlock block = editor->document()->findBlockByNumber(line - 1);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + int(block.text().indexOf(u'"')) + 1);
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    const QString replacement = cursor.selectedText() == QLatin1String("O") ? QStringLiteral("G") : QStringLiteral("O");
    QElapsedTimer timer;
    timer.start();
    cursor.insertText(replacement);
    panel.live().runNow();
    bench::waitUntilIdle(panel.live().liveWindow().window());
    return bench::elapsedMs(timer);
}

void goLive(panel::MainWindow &panel, const QString &script)
{
    panel.sourceFiles().load(script);
    panel.live().liveAction()->setChecked(true);
    bench::waitUntilIdle(panel.live().liveWindow().window());
}

void sample(panel::MainWindow &panel, const QTemporaryDir &dir)
{
    const QString script = dir.filePath(QStringLiteral("GUI_All.txt"));
    QFile::copy(QStringLiteral(ZARVO_SAMPLE_FOLDER "/GUI_All.txt"), script);
    QFile::copy(QStringLiteral(ZARVO_SAMPLE_FOLDER "/zarvo.png"), dir.filePath(QStringLiteral("zarvo.png")));
    goLive(panel, script);
    bench::Samples live;
    for (int round = 0; round < 41; ++round)
        live.values.append(timeEditToPainted(panel, 10)); // CreateButton ... "OK"
    bench::printLimit("live update, sample: edit to painted vs 30 ms", "ms", live, kSampleGoalMs);
    panel.live().liveAction()->setChecked(false);
}

void twoThousand(panel::MainWindow &panel, const QTemporaryDir &dir, const bench::Material &material)
{
    constexpr int kControls = 2000;
    const QString script = dir.filePath(QStringLiteral("live2000.txt"));
    bench::writeFile(script, bench::scriptOf(kControls, material));
    goLive(panel, script);
    // Control 990 is a button ("Go"), on line 992 after the CreateWindow line.
    const auto update = [&] { return timeEditToPainted(panel, 992); };
    const auto byHand = [&] {
        QElapsedTimer timer;
        timer.start();
        QWidget *window = bench::buildWindowDirectly(kControls, material);
        bench::waitUntilIdle(window);
        const double ms = bench::elapsedMs(timer);
        delete window;
        bench::waitUntilIdle();
        return ms;
    };
    byHand();
    bench::Samples live, built;
    bench::interleave(11, update, byHand, live, built);
    bench::printFigure("live update, 1 line of 2000 controls, to painted", "ms", live, built, 0.85);
    panel.live().liveAction()->setChecked(false);
}

// The longest wait of a keystroke, from the moment it was due until the
// editor had taken it, over keys typed with these gaps at the end of line 10
// of the sample: a letter, then Backspace, so that each live run between
// them builds one control again.
double longestKeyWait(panel::MainWindow &panel, const QList<int> &gapsMs)
{
    editing::ScriptEditor *editor = panel.editor();
    QTextCursor cursor(editor->document()->findBlockByNumber(9));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(cursor);
    QElapsedTimer clock;
    clock.start();
    double longest = 0;
    double due = 0;
    qsizetype typed = 0;
    QEventLoop loop;
    std::function<void()> type = [&] {
        if (typed % 2 == 0)
            bench::typeKey(editor, QStringLiteral("x"));
        else
            bench::typeKey(editor, QString(), Qt::Key_Backspace);
        longest = qMax(longest, bench::elapsedMs(clock) - due);
        if (++typed == gapsMs.size()) {
            loop.quit();
            return;
        }
        due += gapsMs[typed - 1];
        QTimer::singleShot(qMax(0, int(due - bench::elapsedMs(clock))), Qt::PreciseTimer, type);
    };
    QTimer::singleShot(0, Qt::PreciseTimer, type);
    loop.exec();
    bench::waitUntilIdle();
    return longest;
}

void keystrokes(panel::MainWindow &panel)
{
    // Bursts of quick keys and pauses just past the idle time, so that keys
    // fall due while a live run goes on.
    const QList<int> burst{40, 40, 40, 155, 40, 160, 170, 300};
    QList<int> gaps;
    for (int i = 0; i < 4; ++i)
        gaps += burst;
    bench::Samples live, off;
    for (int round = 0; round < 5; ++round) {
        panel.live().liveAction()->setChecked(true);
        live.values.append(longestKeyWait(panel, gaps));
        panel.live().liveAction()->setChecked(false);
        off.values.append(longestKeyWait(panel, gaps));
    }
    bench::printLimit("longest keystroke wait, sample, live vs 16 ms", "ms", live, kFrameMs);
    bench::printLimit("the same with Live Window off", "ms", off, kFrameMs, bench::LimitUse::Information);
}
} // namespace

int main(int argc, char **argv)
{
    bench::offscreenUnlessSet();
    // Settings of its own: the runs turn Live Window on and off and load
    // scripts, none of which the user's panel should remember.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    QApplication app(argc, argv);
    const bench::Material material = bench::makeMaterial(dir);
    panel::MainWindow panel;
    panel.show();
    bench::waitUntilIdle(&panel);
    bench::printHeader();
    sample(panel, dir);
    keystrokes(panel);
    twoThousand(panel, dir, material);
    return 0;
}
