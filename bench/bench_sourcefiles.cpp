// SPDX-License-Identifier: MIT
// The autosave and the editor at 1 MB and 10 MB, with the control panel shown:
// keystroke-to-saved-and-flushed, for ASCII text and at 10 MB for text with
// other characters too, next to an atomic write of the same bytes (a
// temporary file beside the target, forced to the disk with fdatasync, then a
// rename), the page faults of a keystroke, keys held down at 30 per second,
// the memory the editor holds, and the file layer's save alone; and the cost
// of the editor's colouring, next to a panel whose editor has none.
// Run headless: QT_QPA_PLATFORM=offscreen bench_sourcefiles

#include "editor/scripteditor.h"
#include "editor/scripthighlighter.h"
#include "figures.h"
#include "files/savefile.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace {
constexpr int kHeldKeys = 30;
constexpr double kHeldKeyIntervalMs = 1000.0 / 30;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The baseline: the same bytes into a new file beside the target, forced to
// the disk, which then takes the target's place.
void atomicWrite(const QByteArray &target, const QByteArray &bytes)
{
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fdatasync(fd) != 0)
        std::perror("atomic write");
    ::close(fd);
    if (::rename(temporary.constData(), target.constData()) != 0)
        std::perror("rename");
}

bool startsWith(const QString &path, const QByteArray &prefix)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(prefix.size()) == prefix;
}

// Types the key at the start of the text and returns once the file starts
// with the keys typed so far: at once where the save runs within the key,
// after the save thread's work where it does not.
void typeKeyUntilSaved(QWidget *editor, const QString &path, QByteArray &typed)
{
    bench::typeKey(editor, QString(QLatin1Char(typed.at(0))));
    typed += typed.at(0);
    while (!startsWith(path, typed.left(typed.size() - 1)))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct Sized {
    QString path;
    QByteArray bytes;
};

// Milliseconds from the last key's due time until it is on disk, for keys
// typed every kHeldKeyIntervalMs; -1 when a key did not reach the file.
double heldKeys(panel::MainWindow &window, const QString &path)
{
    window.editor()->moveCursor(QTextCursor::Start);
    QElapsedTimer clock;
    clock.start();
    for (int key = 0; key < kHeldKeys; ++key) {
        const double due = key * kHeldKeyIntervalMs;
        while (bench::elapsedMs(clock) < due) {
            const int wait = int(due - bench::elapsedMs(clock));
            QCoreApplication::processEvents(QEventLoop::AllEvents, qMax(wait, 0));
        }
        bench::typeKey(window.editor(), QStringLiteral("h"));
    }
    window.document().waitForSaves();
    const double lag = bench::elapsedMs(clock) - (kHeldKeys - 1) * kHeldKeyIntervalMs;
    return readAll(path).startsWith(QByteArray(kHeldKeys, 'h')) ? lag : -1;
}

void measureSize(panel::MainWindow &window, const QTemporaryDir &dir, int megabytes, double goal, bool nonAscii = false)
{
    const QString kind = nonAscii ? QStringLiteral("%1 MB non-ASCII").arg(megabytes) : QStringLiteral("%1 MB").arg(megabytes);
    const QString path = dir.filePath(QStringLiteral("script%1%2.txt").arg(megabytes).arg(nonAscii ? "u" : ""));
    bench::writeFile(path, bench::buttonScript(qsizetype(megabytes) << 20, nonAscii ? "Grüße " : "Caption "));
    // Emptied without autosave, which would empty the last script measured.
    QAction *autosave = window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"));
    autosave->setChecked(false);
    window.editor()->setText(QString());
    const size_t heapBefore = heapInUse();
    window.sourceFiles().load(path);
    bench::waitUntilIdle(&window);
    const double heldMb = double(heapInUse() - heapBefore) / (1 << 20);
    autosave->setChecked(true);

    const QByteArray target = QFile::encodeName(dir.filePath(QStringLiteral("atomic%1.txt").arg(megabytes)));
    const QByteArray bytes = readAll(path);
    bench::Samples keystroke, atomic, keyFaults, atomicFaults;
    window.editor()->moveCursor(QTextCursor::Start);
    QByteArray typed = "x";
    const auto timed = [](const std::function<void()> &work, bench::Samples &faults) {
        const long faultsBefore = bench::minorFaults();
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = bench::elapsedMs(timer);
        faults.values.append(double(bench::minorFaults() - faultsBefore));
        return ms;
    };
    bench::interleave(
        megabytes >= 10 ? 15 : 41,
        [&] { return timed([&] { typeKeyUntilSaved(window.editor(), path, typed); }, keyFaults); },
        [&] { return timed([&] { atomicWrite(target, bytes); }, atomicFaults); }, keystroke, atomic);
    const QByteArray name = QStringLiteral("key to flushed save, %1, shown").arg(kind).toUtf8();
    bench::printFigure(name.constData(), "ms", keystroke, atomic, goal);
    const QByteArray faultsName = QStringLiteral("page faults per keystroke, %1").arg(kind).toUtf8();
    bench::printFigure(faultsName.constData(), "", keyFaults, atomicFaults, 0);

    if (megabytes < 10 || nonAscii)
        return;
    bench::Samples lag, save;
    for (int burst = 0; burst < 3; ++burst)
        lag.values.append(heldKeys(window, path));
    save.values.append(keystroke.median());
    if (lag.min() < 0)
        std::fprintf(stderr, "a held key did not reach the file\n");
    // Typing never waits for a save: a key typed while one is being written
    // goes out with the next, so the last key is on disk after the rest of
    // the save under way and its own (ratio 1 to 2); falling behind gives more.
    bench::printFigure("30 keys/s held, 10 MB: last key to disk", "ms", lag, save, 2.0);
    bench::Samples held, size;
    held.values.append(heldMb);
    size.values.append(double(bytes.size()) / (1 << 20));
    bench::printFigure("memory the editor holds, 10 MB script", "MB", held, size, 8.0);
}
// The file layer alone: saveFile() of 10 MB, checking the file's state first,
// next to the baseline.
void measureFileLayer(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("layer.txt"));
    QByteArray bytes = bench::buttonScript(qsizetype(10) << 20);
    bench::writeFile(path, bytes);
    files::FileIdentity identity = files::identityOfBytes(path, bytes);
    const QByteArray target = QFile::encodeName(dir.filePath(QStringLiteral("layer-atomic.txt")));
    bench::Samples saves, atomic;
    bench::interleave(
        15,
        [&] {
            bytes[0] = bytes[0] == 'C' ? 'c' : 'C';
            QElapsedTimer timer;
            timer.start();
            const files::SaveResult result = files::saveFile({path, bytes, identity});
            identity = result.written;
            if (result.status != files::SaveResult::Status::Saved)
                std::fprintf(stderr, "save: %s\n", qPrintable(result.description));
            return bench::elapsedMs(timer);
        },
        [&] {
            QElapsedTimer timer;
            timer.start();
            atomicWrite(target, bytes);
            return bench::elapsedMs(timer);
        },
        saves, atomic);
    bench::printFigure("saveFile, 10 MB, checked and flushed", "ms", saves, atomic, 2.0);
}

// A keystroke on 1 MB and a 10 MB load in the panel, next to the same in a
// panel whose highlighter was removed while its editor was still empty.
void measureColouring(panel::MainWindow &window, const QTemporaryDir &dir)
{
    panel::MainWindow uncoloured(dir.filePath(QStringLiteral("empty.txt")));
    delete uncoloured.editor()->document()->findChild<editing::ScriptHighlighter *>();
    uncoloured.show();
    const QString script = dir.filePath(QStringLiteral("coloured.txt"));
    const QString uncolouredScript = dir.filePath(QStringLiteral("uncoloured.txt"));
    bench::writeFile(script, bench::buttonScript(qsizetype(1) << 20));
    bench::writeFile(uncolouredScript, bench::buttonScript(qsizetype(1) << 20));
    window.sourceFiles().load(script);
    uncoloured.sourceFiles().load(uncolouredScript);
    window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(true);
    uncoloured.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(true);
    bench::waitUntilIdle(&uncoloured);
    const auto timedKey = [](panel::MainWindow &panel) {
        QElapsedTimer timer;
        timer.start();
        bench::typeKey(panel.editor(), QStringLiteral("c"));
        panel.document().waitForSaves();
        return bench::elapsedMs(timer);
    };
    bench::Samples colouredKeys, uncolouredKeys;
    bench::interleave(41, [&] { return timedKey(window); }, [&] { return timedKey(uncoloured); }, colouredKeys,
                      uncolouredKeys);
    bench::printFigure("keystroke to saved, 1 MB, coloured vs not", "ms", colouredKeys, uncolouredKeys, 1.2);
    const QString big = dir.filePath(QStringLiteral("script10.txt"));
    const auto timedLoad = [&big](panel::MainWindow &panel) {
        QElapsedTimer timer;
        timer.start();
        panel.sourceFiles().load(big);
        return bench::elapsedMs(timer);
    };
    bench::Samples colouredLoads, uncolouredLoads;
    bench::interleave(3, [&] { return timedLoad(window); }, [&] { return timedLoad(uncoloured); }, colouredLoads,
                      uncolouredLoads);
    bench::printFigure("load of a 10 MB script, coloured vs not", "ms", colouredLoads, uncolouredLoads, 0);
}
} // namespace

int main(int argc, char *argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    bench::writeFile(empty, QByteArray());
    panel::MainWindow window(empty);
    window.show();
    bench::waitUntilIdle(&window);
    bench::printHeader();
    measureSize(window, dir, 1, 2.0);
    measureSize(window, dir, 10, 2.0);
    measureSize(window, dir, 10, 2.0, true);
    measureFileLayer(dir);
    measureColouring(window, dir);
    return 0;
}
