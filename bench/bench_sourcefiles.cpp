// Keystroke-to-saved latency of the autosave on a 1 MB script, next to a plain
// write of the same bytes; loading a 10 MB script next to reading it into a
// QString; and both next to a panel whose editor is not coloured.
// Run headless: QT_QPA_PLATFORM=offscreen bench_sourcefiles
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "platform/scripteditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QSyntaxHighlighter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {
QByteArray makeScript(qsizetype size)
{
    QByteArray script;
    script.reserve(size + 100);
    for (int i = 0; script.size() < size; ++i)
        script += "CreateButton cmd" + QByteArray::number(i) + ", 10, 20, 100, 25, \"Caption " + QByteArray::number(i)
            + "\"\r\n";
    return script;
}

struct Stats {
    double median = 0;
    double p99 = 0;
};

// Milliseconds of each of count runs.
Stats measure(int count, const std::function<void()> &run)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) { return times[std::min(times.size() - 1, size_t(q * double(times.size())))]; };
    return {at(0.5), at(0.99)};
}

void plainWrite(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        std::perror("plain write");
    ::close(fd);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Milliseconds of count runs of a and of b, taken in turns so that both meet
// the same load of the machine.
std::pair<Stats, Stats> measureInTurns(int count, const std::function<void()> &a, const std::function<void()> &b)
{
    std::vector<double> timesA, timesB;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        a();
        timesA.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        b();
        timesB.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const auto median = [](std::vector<double> &times) {
        std::sort(times.begin(), times.end());
        return Stats{times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 99 / 100)]};
    };
    return {median(timesA), median(timesB)};
}

void typeKey(QWidget *editor)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(editor, &press);
    QApplication::sendEvent(editor, &release);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    panel::MainWindow window;
    const QString script = dir.filePath(QStringLiteral("script.txt"));
    {
        QFile out(script);
        out.open(QIODevice::WriteOnly);
        out.write(makeScript(1 << 20));
    }
    window.document().setPath(script);
    panel::LoadSource(window, script);

    const Stats keystroke = measure(200, [&] { typeKey(window.editor()); });
    const QByteArray saved = readAll(script);
    if (!saved.startsWith(QByteArray(200, 'x')))
        std::fprintf(stderr, "the keystrokes did not reach the file\n");
    const QString plainPath = dir.filePath(QStringLiteral("plain.txt"));
    const Stats plain = measure(200, [&] { plainWrite(plainPath, saved); });
    std::printf("keystroke to saved, %lld byte script: median %.3f ms, p99 %.3f ms\n", (long long)saved.size(),
                keystroke.median, keystroke.p99);
    std::printf("plain write of the same bytes:        median %.3f ms, p99 %.3f ms\n", plain.median, plain.p99);
    std::printf("ratio keystroke / plain write (median): %.2f (goal: under 8 ms and at most 4)\n",
                keystroke.median / plain.median);

    const QString big = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile out(big);
        out.open(QIODevice::WriteOnly);
        out.write(makeScript(10 << 20));
    }
    const Stats load = measure(5, [&] { panel::LoadSource(window, big); });
    qsizetype chars = 0;
    const Stats read = measure(5, [&] { chars += QString::fromUtf8(readAll(big)).size(); });
    std::printf("LoadSource of a 10 MB script: median %.1f ms; reading it into a QString: median %.1f ms; "
                "ratio %.1f\n",
                load.median, read.median, load.median / read.median);

    // The same panel without the editor's colouring, its highlighter removed
    // while the editor is still empty.
    panel::MainWindow uncoloured;
    delete uncoloured.editor()->document()->findChild<QSyntaxHighlighter *>();
    const QString uncolouredScript = dir.filePath(QStringLiteral("uncoloured.txt"));
    QFile::copy(script, uncolouredScript);
    uncoloured.document().setPath(uncolouredScript);
    panel::LoadSource(window, script);
    panel::LoadSource(uncoloured, uncolouredScript);
    const auto [colouredKey, uncolouredKey] =
        measureInTurns(200, [&] { typeKey(window.editor()); }, [&] { typeKey(uncoloured.editor()); });
    std::printf("keystroke to saved, coloured: median %.3f ms; not coloured: median %.3f ms; ratio %.2f (goal: at "
                "most 1.2)\n",
                colouredKey.median, uncolouredKey.median, colouredKey.median / uncolouredKey.median);
    const auto [colouredLoad, uncolouredLoad] =
        measureInTurns(5, [&] { panel::LoadSource(window, big); }, [&] { panel::LoadSource(uncoloured, big); });
    std::printf("LoadSource of a 10 MB script, coloured: median %.1f ms; not coloured: median %.1f ms; ratio %.2f\n",
                colouredLoad.median, uncolouredLoad.median, colouredLoad.median / uncolouredLoad.median);
    return chars > 0 ? 0 : 1;
}
