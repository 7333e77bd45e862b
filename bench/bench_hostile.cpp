// SPDX-License-Identifier: MIT
// Measures what hostile scripts cost, each next to a baseline measured in
// the same run: paints of the largest buttons and of a full window, captions
// and Date$ lines of millions of characters, and runs that meet the budget.
// Prints milliseconds, ratios and the peak memory of the process.

#include "figures.h"
#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "interpreter/scriptline.h"
#include "toolkit/buttonstyle.h"
#include "toolkit/loadedwindows.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void report(const char *what, double ms, double baselineMs, const char *baseline)
{
    std::printf("%-46s %10.1f ms   %-30s %10.1f ms   ratio %8.3f\n", what, ms, baseline, baselineMs, ms / baselineMs);
    std::fflush(stdout);
}

// Paints the top-left 300 x 200 pixels of a widget, as a window that size would.
double paintMs(QWidget &widget)
{
    QImage image(300, 200, QImage::Format_ARGB32_Premultiplied);
    return bench::msOf([&] { widget.render(&image, QPoint(), QRegion(0, 0, 300, 200)); });
}

void bigButtons()
{
    const int count = 200;
    QWidget scripted, plain;
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    for (int i = 0; i < count; ++i) {
        auto *a = new QPushButton(QStringLiteral("Big"), &scripted);
        a->setStyle(toolkit::buttonPanelStyle());
        a->setGeometry(0, 0, 5792, 5792);
        // Qt's own panel costs so much that a tenth of the buttons is enough.
        if (i < count / 10) {
            auto *b = new QPushButton(QStringLiteral("Big"), &plain);
            b->setStyle(fusion.get());
            b->setGeometry(0, 0, 5792, 5792);
        }
    }
    scripted.resize(300, 200);
    plain.resize(300, 200);
    const double ours = paintMs(scripted) / count;
    const double qt = paintMs(plain) / (count / 10);
    report("paint, per 5792x5792 button (200 of them)", ours, qt, "Qt's Fusion panel, per button");
}

QString writeScript(const QTemporaryDir &dir, const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        std::exit(1);
    return path;
}

void clearWindows()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
}

// Runs a script and paints its window once; returns the time of both.
double runAndPaint(const QString &path)
{
    const double ms = bench::msOf([&] {
        interpreter::SilentRunHost host;
        interpreter::compileSource(path, interpreter::CompileNormally, host);
        for (QWidget *window : toolkit::loadedWindows())
            window->grab();
    });
    clearWindows();
    return ms;
}

void fullWindow(const QTemporaryDir &dir)
{
    QString many = QStringLiteral("CreateWindow 0, 0, 300, 200, -, , \"T\"\n");
    for (int i = 0; i < 10000; ++i)
        many += QStringLiteral("CreateButton 0, 0, 80, 22, b%1, -, \"x\"\n").arg(i);
    const QString full = writeScript(dir, QStringLiteral("full.txt"), many);
    const QString one = writeScript(dir, QStringLiteral("one.txt"),
                                    QStringLiteral("CreateWindow 0, 0, 300, 200, -, , \"T\"\n"
                                                   "CreateButton 0, 0, 80, 22, b, -, \"x\"\n"));
    runAndPaint(one);
    report("run + paint, 10,000 overlapping buttons", runAndPaint(full), runAndPaint(one), "one button");
}

void longCaption(const QTemporaryDir &dir)
{
    const QString caption(10 * 1000 * 1000, QLatin1Char('a'));
    const QString path = writeScript(dir, QStringLiteral("caption.txt"),
                                     QStringLiteral("CreateWindow 0, 0, 300, 200, -, , \"T\"\n"
                                                    "CreateLabel 0, 0, 200, 100, l, -, \"")
                                         + caption + QStringLiteral("\"\n"));
    QLabel plain;
    plain.setTextFormat(Qt::PlainText);
    plain.setText(caption);
    plain.resize(200, 100);
    report("run + paint, 10 MB label caption", runAndPaint(path), paintMs(plain), "paint of a Qt label, same text");
}

void dateLine()
{
    const QString line = QStringLiteral("X ") + QStringLiteral("Date$").repeated(4 * 1000 * 1000);
    const QString date = QStringLiteral("07/12/2026");
    const double ours = bench::msOf([&] { interpreter::splitScriptLine(line, date); });
    const double qt = bench::msOf([&] { QString(line).replace(QLatin1String("Date$"), date); });
    report("split, line of 4 M Date$", ours, qt, "QString::replace alone");
}

void budget(const QTemporaryDir &dir)
{
    const QString bars(10 * 1000 * 1000, QLatin1Char('|'));
    const QString list = writeScript(dir, QStringLiteral("list.txt"),
                                     QStringLiteral("CreateListbox 0, 0, 100, 100, l, -, \"") + bars
                                         + QStringLiteral("\"\n"));
    const QString small = writeScript(dir, QStringLiteral("small.txt"),
                                      QStringLiteral("CreateListbox 0, 0, 100, 100, l, -, \"") + bars.left(100000)
                                          + QStringLiteral("\"\n"));
    QImage picture(5792, 5792, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    picture.save(dir.filePath(QStringLiteral("big.png")), "PNG");
    QString images;
    for (int i = 0; i < 12; ++i)
        images += QStringLiteral("CreateImage 0, 0, 100, 100, i%1, -, \"big.png\"\n").arg(i);
    const QString pictures = writeScript(dir, QStringLiteral("pictures.txt"), images);
    const QString one = writeScript(dir, QStringLiteral("one_picture.txt"), images.section(QLatin1Char('\n'), 0, 0));
    const double smallMs = runAndPaint(small);
    report("run to 7, 10 M empty entries", runAndPaint(list), smallMs, "100,000 entries");
    report("run to 7, 12 pictures of 5792x5792", runAndPaint(pictures), runAndPaint(one), "one picture");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    bigButtons();
    fullWindow(dir);
    longCaption(dir);
    dateLine();
    budget(dir);
    std::printf("peak memory of the process: %ld MB\n", peakMegabytes());
    return 0;
}
