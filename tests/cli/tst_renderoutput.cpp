// SPDX-License-Identifier: MIT
// --render end to end: the picture's size and format, and how it is written
// (OUT replaced whole or kept), the built executable run as a process.
#include "cli/zarvoprocess.h"
#include "support/testscript.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace testsupport;

class TestRenderOutput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void render_data();
    void render();
    void renderWrites_data();
    void renderWrites();

private:
    void script(const QByteArray &bytes) { writeFile(m_dir.filePath(QStringLiteral("s.txt")), bytes); }

    QTemporaryDir m_dir;
};

void TestRenderOutput::render_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size"); // empty: no picture written
    QTest::addColumn<QByteArray>("err");

    const QByteArray window = kWindow + kOkButton;
    QTest::newRow("client area") << window << QStringList() << QSize(320, 200) << QByteArray();
    QTest::newRow("scale 2") << window << QStringList{"--scale", "2"} << QSize(640, 400) << QByteArray();
    QTest::newRow("scale 0.5") << window << QStringList{"--scale", "0.5"} << QSize(160, 100) << QByteArray();
    // The offscreen platform invents a frame of 2 pixels a side; X11 shows
    // the whole size inside.
    QTest::newRow("a window with a frame") << "CreateWindow 10, 10, 320, 200, -, , \"T\"\n" + kOkButton
                                           << QStringList() << QSize(320, 200) << QByteArray();
    QTest::newRow("failing script") << "#!/bin/false\n" + kWindow + "CreateButton 1, 2\n" << QStringList() << QSize()
                                    << QByteArray("s.txt:3: error 9: Subscript out of range; CreateButton needs 7 arguments, this line has 2\n");
    QTest::newRow("no window") << QByteArray() << QStringList() << QSize()
                               << QByteArray("s.txt: error: the script builds no window\n");
}

void TestRenderOutput::render()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    QFETCH(QByteArray, err);

    this->script(script);
    const QString picture = m_dir.filePath("out.png");
    QFile::remove(picture);
    const Outcome outcome = zarvo(QStringList{"--render", "s.txt", "-o", picture} + options, withoutDisplay(),
                                  m_dir.path());
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.exitCode, size.isEmpty() ? 1 : 0);
    QCOMPARE(QFile::exists(picture), !size.isEmpty());
    if (size.isEmpty())
        return;
    const QImage image(picture, "PNG");
    QCOMPARE(image.size(), size);
    // The button is drawn: the picture is not one colour.
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    bool drawn = false;
    for (int x = 0; x < image.width() && !drawn; ++x)
        drawn = image.pixel(x, image.height() * 20 / 200) != background;
    QVERIFY(drawn);
}

void TestRenderOutput::renderWrites_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("trouble"); // "", "closed", "full device", "full disk"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");   // the start of standard error
    QTest::addColumn<QByteArray>("magic"); // how the picture begins; empty: OUT is as it was

    const QByteArray png("\x89PNG\r\n\x1a\n");
    QTest::newRow("jpg by its suffix") << "p.JPG" << "" << 0 << QByteArray() << QByteArray("\xff\xd8\xff");
    QTest::newRow("bmp") << "p.bmp" << "" << 0 << QByteArray() << QByteArray("BM");
    QTest::newRow("ppm") << "p.ppm" << "" << 0 << QByteArray() << QByteArray("P6\n");
    QTest::newRow("no suffix: PNG") << "p" << "" << 0 << QByteArray() << png;
    QTest::newRow("-: PNG on standard output") << "-" << "" << 0 << QByteArray() << png;
    QTest::newRow("an unknown suffix") << "p.xyz" << "" << 2
                                       << QByteArray("zarvo: p.xyz: no picture format has this suffix; Qt writes ")
                                       << QByteArray();
    QTest::newRow("a full device") << "full" << "full device" << 1
                                   << QByteArray("full: error 75: No space left on device\n") << QByteArray();
    QTest::newRow("a full disk keeps the old picture") << "p.png" << "full disk" << 1
                                                       << QByteArray("p.png: error 75: File too large\n")
                                                       << QByteArray();
    QTest::newRow("standard output closed") << "-" << "closed" << 1
                                            << QByteArray("-: error 75: Bad file descriptor\n") << QByteArray();
}

// OUT holds the whole new picture or what it held before, and a failure
// leaves nothing else behind.
void TestRenderOutput::renderWrites()
{
    QFETCH(QString, out);
    QFETCH(QString, trouble);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QFETCH(QByteArray, magic);

    QTemporaryDir folder;
    writeFile(folder.filePath("s.txt"), kWindow + kOkButton);
    const QByteArray old = "the old picture";
    if (trouble == "full device") {
        // A twin of /dev/full: a program that took the device's place would
        // take only this one.
        if (::mknod(QFile::encodeName(folder.filePath(out)).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("no device node can be made here (not root)");
    } else if (out != "-") {
        writeFile(folder.filePath(out), old);
    }
    const std::function<void()> childSetup = [trouble] {
        if (trouble == "closed")
            ::close(STDOUT_FILENO);
        const rlimit small{1024, 1024};
        if (trouble == "full disk")
            ::setrlimit(RLIMIT_FSIZE, &small);
    };
    const Outcome outcome = zarvo({"--render", "s.txt", "-o", out, "--scale", "3"}, withoutDisplay(),
                                  folder.path(), childSetup);
    if (exitCode == 2)
        QVERIFY2(outcome.err.startsWith(err), outcome.err.constData());
    else
        QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.exitCode, exitCode);
    const QStringList left = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot
                                                           | QDir::System, QDir::Name);
    const QStringList expected = out == "-" ? QStringList{"s.txt"} : QStringList{out, "s.txt"};
    QCOMPARE(left, expected);
    if (trouble == "full device")
        return; // reading it would never end
    const QByteArray written = out == "-" ? outcome.out : readFile(folder.filePath(out));
    if (magic.isEmpty())
        QCOMPARE(written, out == "-" ? QByteArray() : old);
    QVERIFY2(written.startsWith(magic), written.left(16).toHex().constData());
}

QTEST_GUILESS_MAIN(TestRenderOutput)
#include "tst_renderoutput.moc"
