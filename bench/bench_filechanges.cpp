// SPDX-License-Identifier: MIT
// What a keystroke costs the GUI thread in a 10 MB script, with ASCII text and
// with non-ASCII text, next to the same key in a bare QPlainTextEdit holding
// the same text (the save's writing runs on the save thread, outside this
// figure); and an outside change of a 1 MB script, from the new file on disk
// to the reloaded, painted panel, next to reading that file into a bare
// QPlainTextEdit and painting it.
// Run headless: QT_QPA_PLATFORM=offscreen bench_filechanges

#include "editor/scripteditor.h"
#include "figures.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
constexpr double kKeyLimitMs = 2.0;
constexpr double kReloadLimitMs = 1000.0;
constexpr int kReloadTimeoutMs = 5000;

// A script of about size bytes whose lines hold non-ASCII text.
QByteArray nonAsciiScript(qsizetype size)
{
    QByteArray script;
    script.reserve(size + 100);
    for (int i = 0; script.size() < size; ++i)
        script += "SetText txt" + QByteArray::number(i) + ", \"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC " + QByteArray::number(i)
            + " \xF0\x9F\x98\x80\"\r\n";
    return script;
}

// A bare editor as Qt gives it, holding the text lines do not wrap in.
std::unique_ptr<QPlainTextEdit> bareEditor(const QByteArray &bytes)
{
    auto editor = std::make_unique<QPlainTextEdit>();
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->resize(600, 300);
    editor->setPlainText(QString::fromUtf8(bytes));
    editor->show();
    return editor;
}

// Keys at the start of the script: every later byte of the file moves.
void measureKeys(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".txt"));
    bench::writeFile(path, bytes);
    panel::MainWindow window(path);
    window.show();
    bench::waitUntilIdle(&window);
    const std::unique_ptr<QPlainTextEdit> bare = bareEditor(bytes);
    bench::waitUntilIdle(bare.get());
    window.editor()->moveCursor(QTextCursor::Start);
    bare->moveCursor(QTextCursor::Start);
    bench::Samples zarvo, baseline;
    bench::interleave(
        31,
        [&] {
            const double ms = bench::msOf([&] { bench::typeKey(window.editor(), QStringLiteral("x")); });
            window.document().waitForSaves();
            return ms;
        },
        [&] { return bench::msOf([&] { bench::typeKey(bare.get(), QStringLiteral("x")); }); }, zarvo, baseline);
    const QByteArray figure = QByteArray("GUI per key, 10 MB ") + name + ", vs bare editor";
    bench::printFigure(figure.constData(), "ms", zarvo, baseline, 0);
    bench::printLimit("  the same, limit", "ms", zarvo, kKeyLimitMs);
}

// Runs the event loop until the panel has reloaded its script and painted it.
double reloadAfterOutsideChange(panel::MainWindow &window, const QString &path, const QByteArray &bytes)
{
    const QString replacement = path + QStringLiteral(".new");
    bench::writeFile(replacement, bytes);
    QEventLoop loop;
    bool reloaded = false;
    QObject::connect(&window.document(), &panel::ScriptDocument::reloadedFromDisk, &loop, [&] { reloaded = true; });
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        if (reloaded)
            loop.quit();
    });
    QTimer::singleShot(kReloadTimeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    QFile::remove(path);
    QFile::rename(replacement, path); // as editors and version control replace files
    loop.exec();
    return reloaded ? bench::elapsedMs(timer) : -1;
}

void measureReload(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("reloaded.txt"));
    const QByteArray first = bench::buttonScript(qsizetype(1) << 20);
    const QByteArray second = nonAsciiScript(qsizetype(1) << 20);
    bench::writeFile(path, first);
    panel::MainWindow window(path);
    window.show();
    bench::waitUntilIdle(&window);
    const std::unique_ptr<QPlainTextEdit> bare = bareEditor(QByteArray());
    bench::Samples zarvo, baseline;
    int round = 0;
    bench::interleave(
        9, [&] { return reloadAfterOutsideChange(window, path, ++round % 2 ? second : first); },
        [&] {
            return bench::msOf([&] {
                QFile file(path);
                file.open(QIODevice::ReadOnly);
                bare->setPlainText(QString::fromUtf8(file.readAll()));
                bare->repaint();
            });
        },
        zarvo, baseline);
    if (zarvo.min() < 0)
        std::fprintf(stderr, "an outside change was not reloaded\n");
    bench::printFigure("outside change of 1 MB to reloaded and painted", "ms", zarvo, baseline, 0);
    bench::printLimit("  the same, limit", "ms", zarvo, kReloadLimitMs);
}
} // namespace

int main(int argc, char *argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    bench::printHeader();
    measureKeys(dir, "ASCII", bench::buttonScript(qsizetype(10) << 20));
    measureKeys(dir, "non-ASCII", nonAsciiScript(qsizetype(10) << 20));
    measureReload(dir);
    return 0;
}
