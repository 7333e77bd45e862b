// SPDX-License-Identifier: MIT
#include "files/recovery.h"
#include "support/testscript.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <unistd.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace {
constexpr int kMaxSavingMicroseconds = 20000; // before the kill

QByteArray lines(char letter, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(60, letter) + QByteArray::number(i) + "\r\n";
    return text;
}
} // namespace

// A program killed at any moment of its saves loses nothing: the file holds
// the old text or the new one (after an in-place write cut short, the
// recovery copy holds the text), and the next save leaves nothing behind. A
// program ended by SIGTERM finishes its save first and leaves nothing.
class TestSaveInterrupted : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLoseNothing_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<int>("lineCount"); // of the first text; the second has half as many more
        QTest::addColumn<int>("kills");
        QTest::newRow("replacing the file, SIGKILL") << false << SIGKILL << 30000 << 50;
        QTest::newRow("in place (a hard link), SIGKILL") << true << SIGKILL << 30000 << 50;
        QTest::newRow("replacing the file, SIGTERM, 10 MB") << false << SIGTERM << 150000 << 6;
        QTest::newRow("in place, SIGTERM, 10 MB") << true << SIGTERM << 150000 << 6;
    }
    void killedSavesLoseNothing()
    {
        QFETCH(bool, inPlace);
        QFETCH(int, signalNumber);
        QFETCH(int, lineCount);
        QFETCH(int, kills);
        QTemporaryDir dir, sources, state;
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        const QString script = dir.filePath(QStringLiteral("script.txt"));
        const QByteArray texts[2] = {lines('a', lineCount), lines('b', lineCount * 3 / 2)};
        const QStringList sourcePaths = {sources.filePath(QStringLiteral("a")), sources.filePath(QStringLiteral("b"))};
        writeFile(sourcePaths[0], texts[0]);
        writeFile(sourcePaths[1], texts[1]);
        writeFile(script, texts[0]);
        if (inPlace)
            QCOMPARE(::link(QFile::encodeName(script).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard"))).constData()), 0);

        int torn = 0;
        const QStringList alone = inPlace ? QStringList({QStringLiteral("hard"), QStringLiteral("script.txt")})
                                          : QStringList{QStringLiteral("script.txt")};
        for (int kill = 0; kill < kills; ++kill) {
            QProcess helper;
            helper.start(QStringLiteral(SAVEHELPER), {QStringLiteral("loop"), script, sourcePaths[0], sourcePaths[1]});
            QVERIFY(helper.waitForReadyRead());
            QThread::usleep(QRandomGenerator::global()->bounded(kMaxSavingMicroseconds));
            QVERIFY2(helper.state() == QProcess::Running, helper.readAll().constData());
            ::kill(pid_t(helper.processId()), signalNumber);
            QVERIFY(helper.waitForFinished());
            const QByteArray now = readFile(script);
            if (signalNumber != SIGKILL) {
                QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
                QCOMPARE(helper.exitCode(), 128 + signalNumber);
                QVERIFY(now == texts[0] || now == texts[1]);
                QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), alone);
                QVERIFY(QDir(state.filePath(QStringLiteral("zarvo/recovery"))).isEmpty());
                QVERIFY(QDir(state.filePath(QStringLiteral("zarvo/temporaries"))).isEmpty());
            }
            if (now == texts[0] || now == texts[1])
                continue;
            QVERIFY2(inPlace, "a replacing save left a mixture");
            const std::optional<QByteArray> copy = files::pendingRecoveryCopy(script);
            QVERIFY(copy == texts[0] || copy == texts[1]);
            ++torn;
        }
        qInfo("%d of %d kills cut an in-place write short", torn, kills);

        QCOMPARE(QProcess::execute(QStringLiteral(SAVEHELPER), {QStringLiteral("save"), script, sourcePaths[1]}), 0);
        QCOMPARE(readFile(script), texts[1]);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), alone);
        QCOMPARE(files::pendingRecoveryCopy(script), std::nullopt);
        QVERIFY(QDir(state.filePath(QStringLiteral("zarvo/recovery"))).isEmpty());
        QVERIFY(QDir(state.filePath(QStringLiteral("zarvo/temporaries"))).isEmpty());
    }
};

QTEST_MAIN(TestSaveInterrupted)
#include "tst_saveinterrupted.moc"
