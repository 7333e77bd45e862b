#include "files/editlock.h"
#include "files/savefile.h"
#include "files/saveworker.h"
#include "support/testscript.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using files::SaveResult;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
QByteArray raw(const QString &path) { return QFile::encodeName(path); }

// Gives the file back the modification time it had, as a change within one
// tick of the file system's clock would.
void keepModificationTime(const QString &path, const struct timespec &time)
{
    const struct timespec times[2] = {time, time};
    QCOMPARE(::utimensat(AT_FDCWD, raw(path).constData(), times, 0), 0);
}
} // namespace

class TestSaveFile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const char *name) const { return m_dir->filePath(QString::fromUtf8(name)); }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // A save that expects the state the document last saw writes nothing
    // once another program changed the file, and says what happened.
    void checksTheFileFirst_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("conflict"); // empty: saved
        QTest::addColumn<QByteArray>("fileAfter");
        QTest::newRow("nobody else wrote") << "" << "" << QByteArray("mine\r\n");
        QTest::newRow("another program appended a line")
            << "append" << "Another program changed the file." << QByteArray("old\r\nappended\r\n");
        QTest::newRow("same size and time, other bytes")
            << "same size" << "Another program changed the file." << QByteArray("OLD\r\n");
        QTest::newRow("replaced by a rename")
            << "rename" << "Another program replaced the file." << QByteArray("renamed\r\n");
        QTest::newRow("a link to another file swapped in")
            << "link" << "Another program replaced the file." << QByteArray("bashrc\r\n");
        QTest::newRow("deleted")
            << "delete" << "The file was deleted or renamed by another program." << QByteArray();
        QTest::newRow("created where the document saw none")
            << "create" << "Another program created the file." << QByteArray("theirs\r\n");
    }
    void checksTheFileFirst()
    {
        QFETCH(QString, change);
        QFETCH(QString, conflict);
        QFETCH(QByteArray, fileAfter);
        const QString script = path("script.txt");
        if (change != QLatin1String("create"))
            writeFile(script, "old\r\n");
        const files::FileIdentity seen = files::identityOfBytes(script, readFile(script));
        struct stat before = {};
        ::stat(raw(script).constData(), &before);
        if (change == QLatin1String("append")) {
            QFile file(script);
            QVERIFY(file.open(QIODevice::Append));
            file.write("appended\r\n");
        } else if (change == QLatin1String("same size")) {
            QFile file(script);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write("OLD\r\n");
            file.close();
            keepModificationTime(script, before.st_mtim);
        } else if (change == QLatin1String("rename")) {
            writeFile(path("new.txt"), "renamed\r\n");
            QVERIFY(::rename(raw(path("new.txt")).constData(), raw(script).constData()) == 0);
        } else if (change == QLatin1String("link")) {
            writeFile(path("bashrc"), "bashrc\r\n");
            QVERIFY(QFile::remove(script) && QFile::link(path("bashrc"), script));
        } else if (change == QLatin1String("delete")) {
            QVERIFY(QFile::remove(script));
        } else if (change == QLatin1String("create")) {
            writeFile(script, "theirs\r\n");
        }

        const SaveResult result = files::saveFile({script, "mine\r\n", seen});

        QCOMPARE(result.description, conflict);
        QCOMPARE(result.status, conflict.isEmpty() ? SaveResult::Status::Saved : SaveResult::Status::Conflict);
        QCOMPARE(readFile(script), fileAfter);
        QCOMPARE(result.written.exists, conflict.isEmpty());
        if (change == QLatin1String("link"))
            QCOMPARE(readFile(path("bashrc")), QByteArray("bashrc\r\n"));
    }

    // The owner hands on requests made before it heard of the saves before
    // them: each still expects the state the document last saw, which the
    // worker's own saves moved on.
    void workerChainsItsOwnSaves()
    {
        const QString script = path("script.txt");
        writeFile(script, "old\r\n");
        const files::FileIdentity seen = files::identityOfBytes(script, readFile(script));
        files::SaveWorker worker;
        QSignalSpy finished(&worker, &files::SaveWorker::finished);
        QCOMPARE(worker.save({script, "first\r\n", seen}), 1u);
        QVERIFY(worker.waitUntilIdle(10000));
        QCOMPARE(worker.save({script, "second\r\n", seen}), 2u);
        QVERIFY(worker.waitUntilIdle(10000));
        QCOMPARE(readFile(script), QByteArray("second\r\n"));
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(finished[1][0].toULongLong(), 2u);
        QCOMPARE(finished[1][1].value<SaveResult>().status, SaveResult::Status::Saved);
        // Another program's change still stops the next one.
        writeFile(script, "theirs\r\n");
        worker.save({script, "third\r\n", seen});
        QTRY_COMPARE(finished.size(), 3);
        QCOMPARE(finished[2][1].value<SaveResult>().status, SaveResult::Status::Conflict);
        QCOMPARE(readFile(script), QByteArray("theirs\r\n"));
    }

    void workerWritesTheLastRequestBeforeItEnds()
    {
        const QString script = path("script.txt");
        {
            files::SaveWorker worker;
            for (int version = 1; version <= 5; ++version)
                worker.save({script, QByteArray::number(version), std::nullopt});
        }
        QCOMPARE(readFile(script), QByteArray("5"));
    }

    void secondEditorSeesTheFirst()
    {
        const QString script = path("script.txt");
        writeFile(script, "old\r\n");
        QVERIFY(QFile::link(script, path("link.txt")));
        auto first = std::make_unique<files::EditLock>(script);
        QVERIFY(first->isHeld());
        QCOMPARE(first->otherProcessId(), 0);
        files::EditLock second(path("link.txt"));
        QVERIFY(!second.isHeld());
        QCOMPARE(second.otherProcessId(), qint64(::getpid()));
        first.reset();
        QVERIFY(files::EditLock(script).isHeld());
    }
};

QTEST_MAIN(TestSaveFile)
#include "tst_savefile.moc"
