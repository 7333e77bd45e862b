// SPDX-License-Identifier: MIT
#include "files/editlock.h"
#include "files/savefile.h"
#include "files/saveworker.h"
#include "files/systemcalls.h"
#include "support/testscript.h"

#include <QFile>
#include <QProcess>
#include <QSemaphore>
#include <QThread>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using files::SaveResult;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
QByteArray raw(const QString &path) { return QFile::encodeName(path); }

// The file's access control list as getfacl shows it; empty without one.
QByteArray aclOf(const QString &path)
{
    QProcess getfacl;
    getfacl.start(QStringLiteral("getfacl"), {QStringLiteral("--omit-header"), QStringLiteral("--absolute-names"), path});
    getfacl.waitForFinished();
    return getfacl.readAllStandardOutput();
}

QByteArray attributeOf(const QString &path, const char *name)
{
    char value[64];
    const ssize_t size = ::getxattr(raw(path).constData(), name, value, sizeof value);
    return size < 0 ? QByteArray() : QByteArray(value, size);
}

// Refuses to set any extended attribute.
class RefusedAttributes : public files::SystemCallFaults {
public:
    RefusedAttributes() { files::setSystemCallFaults(this); }
    ~RefusedAttributes() override { files::setSystemCallFaults(nullptr); }
    int failureFor(const char *call) override { return qstrcmp(call, "fsetxattr") == 0 ? EPERM : 0; }
};

// Holds the save thread in its first system call until released.
class HeldSaveThread : public files::SystemCallFaults {
public:
    HeldSaveThread() { files::setSystemCallFaults(this); }
    ~HeldSaveThread() override
    {
        release();
        files::setSystemCallFaults(nullptr);
    }
    int failureFor(const char *) override
    {
        if (QThread::currentThread() != qApp->thread() && !m_held.fetchAndStoreOrdered(1)) {
            m_entered.release();
            m_gate.acquire();
        }
        return 0;
    }
    void waitUntilHeld() { m_entered.acquire(); }
    void release() { m_gate.release(); }

private:
    QAtomicInt m_held;
    QSemaphore m_entered, m_gate;
};

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
        QTest::newRow("a link that leads nowhere yet, where the document saw none")
            << "dangling" << "Another program put a link in the file's place." << QByteArray();
    }
    void checksTheFileFirst()
    {
        QFETCH(QString, change);
        QFETCH(QString, conflict);
        QFETCH(QByteArray, fileAfter);
        const QString script = path("script.txt");
        if (change != QLatin1String("create") && change != QLatin1String("dangling"))
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
        } else if (change == QLatin1String("dangling")) {
            QVERIFY(QFile::link(path("new-bashrc"), script));
        }

        const SaveResult result = files::saveFile({script, "mine\r\n", seen});

        QCOMPARE(result.description, conflict);
        QCOMPARE(result.status, conflict.isEmpty() ? SaveResult::Status::Saved : SaveResult::Status::Conflict);
        QCOMPARE(readFile(script), fileAfter);
        QCOMPARE(result.written.exists, conflict.isEmpty());
        if (change == QLatin1String("link"))
            QCOMPARE(readFile(path("bashrc")), QByteArray("bashrc\r\n"));
        QVERIFY(!QFile::exists(path("new-bashrc")));
    }

    // The access control list (its mask not turned into group permissions)
    // and the extended attributes stay; where they cannot be copied to a new
    // file, the save writes in place.
    void keepsWhatTheFileCarries_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("copied to the new file") << false;
        QTest::newRow("refused by the file system: written in place") << true;
    }
    void keepsWhatTheFileCarries()
    {
        QFETCH(bool, refused);
        const QString script = path("script.txt");
        writeFile(script, "old\r\n");
        QCOMPARE(::chmod(raw(script).constData(), 0640), 0);
        if (QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-m"), QStringLiteral("u:nobody:rw"), script}) != 0
            || ::setxattr(raw(script).constData(), "user.project", "zarvo", 5, 0) != 0)
            QSKIP("needs setfacl and a file system with access control lists and user attributes");
        struct stat before = {}, after = {};
        ::stat(raw(script).constData(), &before);
        {
            std::unique_ptr<RefusedAttributes> refusal(refused ? new RefusedAttributes : nullptr);
            QCOMPARE(files::saveFile({script, "new\r\n", std::nullopt}).description, QString());
        }
        ::stat(raw(script).constData(), &after);
        QCOMPARE(readFile(script), QByteArray("new\r\n"));
        QCOMPARE(aclOf(script), QByteArray("user::rw-\nuser:nobody:rw-\ngroup::r--\nmask::rw-\nother::---\n\n"));
        QCOMPARE(attributeOf(script, "user.project"), QByteArray("zarvo"));
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino == before.st_ino, refused);
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

    // Requests that arrive while a save runs: only the newest is written,
    // and the ones it replaced are never reported.
    void workerSkipsReplacedVersions()
    {
        const QString script = path("script.txt");
        files::SaveWorker worker;
        QSignalSpy finished(&worker, &files::SaveWorker::finished);
        HeldSaveThread held;
        worker.save({script, "1", std::nullopt});
        held.waitUntilHeld();
        worker.save({script, "2", std::nullopt});
        worker.save({script, "3", std::nullopt});
        QVERIFY(!worker.waitUntilIdle(0));
        held.release();
        QVERIFY(worker.waitUntilIdle(10000));
        QCOMPARE(readFile(script), QByteArray("3"));
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(finished[0][0].toULongLong(), 1u);
        QCOMPARE(finished[1][0].toULongLong(), 3u);
        QCOMPARE(finished[1][1].value<SaveResult>().status, SaveResult::Status::Saved);
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
