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
constexpr int kKills = 50;
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
// recovery copy holds the text), and the next save leaves nothing behind.
class TestSaveInterrupted : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLoseNothing_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("replacing the file") << false;
        QTest::newRow("in place (a hard link)") << true;
    }
    void killedSavesLoseNothing()
    {
        QFETCH(bool, inPlace);
        QTemporaryDir dir, sources, state;
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        const QString script = dir.filePath(QStringLiteral("script.txt"));
        const QByteArray texts[2] = {lines('a', 30000), lines('b', 45000)};
        const QStringList sourcePaths = {sources.filePath(QStringLiteral("a")), sources.filePath(QStringLiteral("b"))};
        writeFile(sourcePaths[0], texts[0]);
        writeFile(sourcePaths[1], texts[1]);
        writeFile(script, texts[0]);
        if (inPlace)
            QCOMPARE(::link(QFile::encodeName(script).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard"))).constData()), 0);

        int torn = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            QProcess helper;
            helper.start(QStringLiteral(SAVEHELPER), {QStringLiteral("loop"), script, sourcePaths[0], sourcePaths[1]});
            QVERIFY(helper.waitForReadyRead());
            QThread::usleep(QRandomGenerator::global()->bounded(kMaxSavingMicroseconds));
            QVERIFY2(helper.state() == QProcess::Running, helper.readAll().constData());
            ::kill(pid_t(helper.processId()), SIGKILL);
            QVERIFY(helper.waitForFinished());
            const QByteArray now = readFile(script);
            if (now == texts[0] || now == texts[1])
                continue;
            QVERIFY2(inPlace, "a replacing save left a mixture");
            const std::optional<QByteArray> copy = files::pendingRecoveryCopy(script);
            QVERIFY(copy == texts[0] || copy == texts[1]);
            ++torn;
        }
        qInfo("%d of %d kills cut an in-place write short", torn, kKills);

        QCOMPARE(QProcess::execute(QStringLiteral(SAVEHELPER), {QStringLiteral("save"), script, sourcePaths[1]}), 0);
        QCOMPARE(readFile(script), texts[1]);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 inPlace ? QStringList({QStringLiteral("hard"), QStringLiteral("script.txt")}) : QStringList{QStringLiteral("script.txt")});
        QCOMPARE(files::pendingRecoveryCopy(script), std::nullopt);
        QVERIFY(QDir(state.filePath(QStringLiteral("zarvo/recovery"))).isEmpty());
        QVERIFY(QDir(state.filePath(QStringLiteral("zarvo/temporaries"))).isEmpty());
    }
};

QTEST_MAIN(TestSaveInterrupted)
#include "tst_saveinterrupted.moc"
