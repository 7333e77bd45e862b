// Keystroke-to-saved latency of the autosave on a 1 MB script, next to a plain
// write of the same bytes, and loading a 10 MB script next to reading it into
// a QString. Run headless: QT_QPA_PLATFORM=offscreen bench_sourcefiles
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "platform/scripteditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
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
    return chars > 0 ? 0 : 1;
}
