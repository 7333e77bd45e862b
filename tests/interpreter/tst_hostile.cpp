// SPDX-License-Identifier: MIT
// Hostile scripts end in success or one numbered report, never in a crash,
// a hang or a report that names the wrong thing. Each row states its outcome;
// time and memory are the benchmarks' business, not these tests'.

#include "interpreter/compilesource.h"
#include "support/recordinghost.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int kSucceeds = -1;
constexpr int kUnknownKeyword = 0;
constexpr int kFolderEntries = 1000;

const QByteArray kWindow = "CreateWindow 0, 0, 200, 100, -, , \"W\"\n";

QByteArray button(const QByteArray &left, const QByteArray &caption = "\"\"")
{
    return kWindow + "CreateButton " + left + ", 0, 9, 9, b, -, " + caption;
}
} // namespace

class TestHostile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void endsInOneOutcome_data();
    void endsInOneOutcome();

private:
    QTemporaryDir m_dir;
    testsupport::RecordingHost m_host;
};

void TestHostile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir root(m_dir.path());
    // Pictures whose headers promise more pixels than any reader may allocate.
    testsupport::writeFile(root.filePath(QStringLiteral("bomb.pbm")), "P4\n200000 200000\n\xff\xff");
    testsupport::writeFile(root.filePath(QStringLiteral("bomb.pgm")), "P5\n65535 65535\n255\n\x01\x02");
    QVERIFY(root.mkpath(QStringLiteral("crowd/folders")));
    for (int i = 0; i < kFolderEntries; ++i) {
        testsupport::writeFile(root.filePath(QStringLiteral("crowd/file%1.txt").arg(i)), "x");
        QVERIFY(root.mkpath(QStringLiteral("crowd/folders/f%1").arg(i)));
    }
}

void TestHostile::cleanup()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
}

void TestHostile::endsInOneOutcome_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("outcome"); // an error number, kUnknownKeyword or kSucceeds

    // Numbers
    QTest::newRow("more digits than any pixel") << button("99999999999999999999999") << 380;
    QTest::newRow("exponent") << button("1e2") << kSucceeds;
    QTest::newRow("not a number") << button("nan") << 6;
    QTest::newRow("infinity") << button("inf") << 6;
    QTest::newRow("hexadecimal") << button("0x10") << 13;
    QTest::newRow("negative zero") << button("-0") << kSucceeds;
    QTest::newRow("window width past single precision") << QByteArray("CreateWindow 0, 0, 1e999, 9, -, , \"\"") << 6;
    QTest::newRow("empty numbers") << QByteArray("CreateButton , , , , b, -, \"\"") << 13;
    // NUL bytes and control characters
    QTest::newRow("NUL in the keyword") << QByteArray("Create\0Button 1, 2", 18) << kUnknownKeyword;
    QTest::newRow("NUL in a caption") << button("0", QByteArray("\"a\0b\"", 5)) << kSucceeds;
    QTest::newRow("NUL alone on a line") << QByteArray("\0", 1) << 5;
    QTest::newRow("NUL in a control name") << kWindow + QByteArray("CreateButton 0, 0, 9, 9, b\0c, -, \"\"", 35) << 5;
    // Encodings
    QTest::newRow("invalid UTF-8 caption") << button("0", "\"\xff\xfe\xfd\"") << kSucceeds;
    QTest::newRow("overlong UTF-8") << button("0", "\"\xc0\xaf\"") << kSucceeds;
    QTest::newRow("encoded surrogate") << button("0", "\"\xed\xa0\x80\"") << kSucceeds;
    QTest::newRow("non-Latin keyword") << QByteArray("\xd0\xa1reateButton 1") << kUnknownKeyword;
    // Lines
    QTest::newRow("a megabyte without a space") << QByteArray(1 << 20, 'a') << 5;
    QTest::newRow("a hundred thousand elements") << "CreateButton " + QByteArray(100000 * 2, ',').replace(",,", ", ")
                                                 << 5;
    QTest::newRow("a hundred thousand comment lines") << QByteArray("; c\n").repeated(100000) << kSucceeds;
    // Pictures and folders
    QTest::newRow("picture header of 40 gigapixels") << kWindow + "CreateImage 0, 0, 9, 9, i, -, \"bomb.pbm\"" << 481;
    QTest::newRow("picture header of 4 gigapixels") << kWindow + "CreateImage 0, 0, 9, 9, i, -, \"bomb.pgm\"" << 481;
    QTest::newRow("a thousand files") << kWindow + "CreateFilelist 0, 0, 99, 99, f, -, \"crowd\"" << kSucceeds;
    QTest::newRow("a thousand folders") << kWindow + "CreateDirlist 0, 0, 99, 99, d, -, \"crowd/folders\""
                                          << kSucceeds;
}

void TestHostile::endsInOneOutcome()
{
    QFETCH(QByteArray, script);
    QFETCH(int, outcome);

    const QString path = m_dir.filePath(QStringLiteral("hostile.txt"));
    testsupport::writeFile(path, script);
    m_host.clear();
    interpreter::compileSource(path, interpreter::CompileNormally, m_host);
    if (outcome == kSucceeds) {
        QCOMPARE(m_host.reports.size(), 0);
        QCOMPARE(m_host.lastStatus(), QStringLiteral("Compiled sucessfully..."));
        return;
    }
    QCOMPARE(m_host.reports.size(), 1);
    QCOMPARE(m_host.reports.first().report.number, outcome);
    // A failed run leaves no window of its own behind.
    QVERIFY(testsupport::outputWindows().isEmpty());
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
