// SPDX-License-Identifier: MIT
#include "platform/apppath.h"
#include "platform/capslock.h"
#include "platform/exitsignals.h"
#include "platform/localerules.h"
#include "platform/units.h"
#include "platform/visibletext.h"
#include "support/testscript.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace platform;

class TestPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void strictNumber_data();
    void strictNumber();
    void leadingNumber_data();
    void leadingNumber();
    void groupedCount_data();
    void groupedCount();
    void overflowingProduct();
    void twipsAt96Dpi();
    void joinPathKeepsDoubledSeparators();
    void elidedText_data();
    void elidedText();
    void capsLockFromKeyboardLeds_data();
    void capsLockFromKeyboardLeds();
    void exitSignalsAreRelayed_data();
    void exitSignalsAreRelayed();
};

void TestPlatform::strictNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("integer") << "12" << 12.0 << 0;
    QTest::newRow("spaces around") << "  12 " << 12.0 << 0;
    QTest::newRow("decimal") << "1.5" << 1.5 << 0;
    QTest::newRow("negative") << "-40" << -40.0 << 0;
    QTest::newRow("grouped") << "1,234" << 1234.0 << 0;
    QTest::newRow("letters") << "abc" << 0.0 << 13;
    QTest::newRow("trailing letters") << "12px" << 0.0 << 13;
    QTest::newRow("empty") << "" << 0.0 << 13;
}

void TestPlatform::strictNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, error);
    double result = 0;
    QCOMPARE(testsupport::errorNumberOf([&] { result = toNumber(text); }), error);
    if (!error)
        QCOMPARE(result, value);
}

void TestPlatform::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("spaces inside ignored") << " 1 2 " << 12.0;
    QTest::newRow("negative decimal") << "-3.5x" << -3.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("dangling exponent") << "7e" << 7.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestPlatform::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(platform::leadingNumber(text), value);
}

void TestPlatform::groupedCount_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("below a thousand") << qint64(999) << "999";
    QTest::newRow("a thousand") << qint64(1000) << "1,000";
    QTest::newRow("millions") << qint64(12345678) << "12,345,678";
}

void TestPlatform::groupedCount()
{
    QFETCH(qint64, count);
    QFETCH(QString, text);
    QCOMPARE(formatGroupedCount(count), text);
}

void TestPlatform::overflowingProduct()
{
    QCOMPARE(testsupport::errorNumberOf([] { checkedSingleProduct(1e38, 15); }), 6);
    QCOMPARE(testsupport::errorNumberOf([] { checkedSingleProduct(std::numeric_limits<double>::infinity(), 15); }), 6);
    QCOMPARE(testsupport::errorNumberOf([] { checkedSingleProduct(std::numeric_limits<double>::quiet_NaN(), 15); }), 6);
    QCOMPARE(checkedSingleProduct(-20, 15), -300.0f);
}

void TestPlatform::twipsAt96Dpi()
{
    // The offscreen platform reports 96 DPI.
    QCOMPARE(twipsPerPixelX(), 15.0f);
    QCOMPARE(twipsPerPixelY(), 15.0f);
    QCOMPARE(twipsToPixelsX(4020), 268);
    QCOMPARE(twipsToPixelsY(2190), 146);
    // 100 twips are 6.67 pixels: rounded, not cut.
    QCOMPARE(twipsToPixelsX(100), 7);
    QCOMPARE(twipsToPixelsY(100), 7);
    QCOMPARE(twipsToPixels(QRect(100, 5000, 4125, 2985)), QRect(7, 333, 275, 199));
}

void TestPlatform::joinPathKeepsDoubledSeparators()
{
    QCOMPARE(joinPath(QStringLiteral("/opt/zarvo"), QStringLiteral("GUI_All.txt")), QStringLiteral("/opt/zarvo/GUI_All.txt"));
    QCOMPARE(joinPath(QStringLiteral("/"), QStringLiteral("GUI_All.txt")), QStringLiteral("/GUI_All.txt"));
    QCOMPARE(joinPath(QStringLiteral("//server/share"), QStringLiteral("GUI_All.txt")),
             QStringLiteral("//server/share/GUI_All.txt"));
}

void TestPlatform::elidedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxCharacters");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter") << "abcd" << 5 << "abcd";
    QTest::newRow("at the limit") << "abcde" << 5 << "abcde";
    QTest::newRow("one over") << "abcdef" << 5 << "ab...";
    QTest::newRow("surrogate pair not cut") << QString::fromUtf8("a\U0001F600bcdef") << 5 << "a...";
    QTest::newRow("surrogate pair fits") << QString::fromUtf8("ab\U0001F600cdef") << 7 << QString::fromUtf8("ab\U0001F600...");
}

void TestPlatform::elidedText()
{
    QFETCH(QString, text);
    QFETCH(int, maxCharacters);
    QFETCH(QString, expected);
    QCOMPARE(platform::elidedText(text, maxCharacters), expected);
}

void TestPlatform::capsLockFromKeyboardLeds_data()
{
    QTest::addColumn<QStringList>("leds"); // "name=brightness"
    QTest::addColumn<int>("state");       // -1 unknown, 0 off, 1 on
    QTest::newRow("no keyboard LEDs") << QStringList{"input0::numlock=1"} << -1;
    QTest::newRow("off") << QStringList{"input0::capslock=0", "input0::numlock=1"} << 0;
    QTest::newRow("on") << QStringList{"input0::capslock=1"} << 1;
    QTest::newRow("any keyboard on") << QStringList{"input0::capslock=0", "input3::capslock=1"} << 1;
}

void TestPlatform::capsLockFromKeyboardLeds()
{
    QFETCH(QStringList, leds);
    QFETCH(int, state);
    QTemporaryDir folder;
    for (const QString &led : leds) {
        const QStringList parts = led.split(QLatin1Char('='));
        QVERIFY(QDir(folder.path()).mkpath(parts[0]));
        testsupport::writeFile(folder.filePath(parts[0] + QStringLiteral("/brightness")), parts[1].toLatin1() + "\n");
    }
    const std::optional<bool> caps = capsLockState(folder.path());
    QCOMPARE(caps.has_value() ? int(*caps) : -1, state);
    // Without an X server (offscreen) the watcher reads the same LEDs.
    const CapsLockWatcher watcher(folder.path());
    QCOMPARE(watcher.state(), caps);
    QCOMPARE(watcher.source(), caps ? CapsLockWatcher::Source::LedFiles : CapsLockWatcher::Source::None);
}

void TestPlatform::exitSignalsAreRelayed_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

// The program survives the signal and hears of it on its own thread, once.
void TestPlatform::exitSignalsAreRelayed()
{
    QFETCH(int, signalNumber);
    ExitSignals relay;
    QSignalSpy requested(&relay, &ExitSignals::exitRequested);
    QCOMPARE(::raise(signalNumber), 0);
    QTRY_COMPARE(requested.size(), 1);
    QCOMPARE(requested[0][0].toInt(), signalNumber);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
