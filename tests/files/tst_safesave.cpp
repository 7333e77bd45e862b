// SPDX-License-Identifier: MIT
#include "files/recovery.h"
#include "files/safesave.h"
#include "files/textencoding.h"
#include "support/testscript.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using testsupport::errorOf;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kSharedGroup = 4242;

QByteArray raw(const QString &path) { return QFile::encodeName(path); }

struct stat statusOf(const QByteArray &path)
{
    struct stat status = {};
    ::lstat(path.constData(), &status);
    return status;
}

// Every entry of a folder with its kind and size: what a refused save must not change.
QStringList listing(const QString &folder)
{
    QStringList entries;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        entries << info.fileName() + QLatin1Char(' ') + QString::number(statusOf(raw(info.filePath())).st_mode, 8)
                       + QLatin1Char(' ') + QString::number(info.size());
    return entries;
}

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".zarvo-*")}, QDir::Files | QDir::Hidden | QDir::System);
}

bool isRoot() { return ::geteuid() == 0; }

// Files by their raw names, which need not be valid text.
void writeRaw(const QByteArray &path, const QByteArray &bytes)
{
    QFile file;
    QVERIFY(file.open(::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644), QIODevice::WriteOnly,
                      QFileDevice::AutoCloseHandle));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readRaw(const QByteArray &path)
{
    QFile file;
    return file.open(::open(path.constData(), O_RDONLY), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
        ? file.readAll()
        : QByteArray();
}
} // namespace

class TestSafeSave : public QObject {
    Q_OBJECT

    QTemporaryDir m_state;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const char *name) const { return m_dir->filePath(QString::fromUtf8(name)); }
    QString recoveryFolder() const { return m_state.filePath(QStringLiteral("zarvo/recovery")); }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_STATE_HOME", raw(m_state.path())); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile::setPermissions(m_dir->path(), QFile::Permissions(0x7755)); // other users may enter
    }

    // Where a save must put the text, and what of the file it must keep.
    void savesIntoTheFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("savedPath"); // relative to the folder; raw bytes
        QTest::addColumn<QByteArray>("realPath");
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("plain file") << "" << QByteArray("script.txt") << QByteArray("script.txt") << false;
        QTest::newRow("link") << "link" << QByteArray("link.txt") << QByteArray("script.txt") << false;
        QTest::newRow("link chain to a non-UTF-8 name")
            << "chain" << QByteArray("link.txt") << QByteArray("real\xFF.txt") << false;
        QTest::newRow("dangling link into an existing folder creates the target")
            << "dangling" << QByteArray("link.txt") << QByteArray("new.txt") << false;
        QTest::newRow("250-byte name") << "" << QByteArray(246, 'n') + ".txt" << QByteArray(246, 'n') + ".txt" << false;
        QTest::newRow("255-byte name") << "" << QByteArray(251, 'n') + ".txt" << QByteArray(251, 'n') + ".txt" << false;
        QTest::newRow("hard link, written in place") << "hard link" << QByteArray("script.txt") << QByteArray("script.txt") << true;
        if (isRoot())
            QTest::newRow("another user's file keeps its owner") << "owner" << QByteArray("script.txt")
                                                                 << QByteArray("script.txt") << false;
    }
    void savesIntoTheFile()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, savedPath);
        QFETCH(QByteArray, realPath);
        QFETCH(bool, inPlace);
        const QByteArray folder = raw(m_dir->path()) + '/';
        const QByteArray real = folder + realPath;
        if (setup != QLatin1String("dangling")) {
            writeRaw(real, "old\r\n");
            QCOMPARE(::chmod(real.constData(), 0640), 0);
        }
        if (setup == QLatin1String("link") || setup == QLatin1String("dangling"))
            QCOMPARE(::symlink(realPath.constData(), (folder + savedPath).constData()), 0);
        if (setup == QLatin1String("chain")) {
            QCOMPARE(::symlink("middle.txt", (folder + savedPath).constData()), 0);
            QCOMPARE(::symlink(real.constData(), (folder + "middle.txt").constData()), 0);
        }
        if (setup == QLatin1String("hard link"))
            QCOMPARE(::link(real.constData(), (folder + "other name.txt").constData()), 0);
        if (setup == QLatin1String("owner"))
            QCOMPARE(::chown(real.constData(), kNobody, kSharedGroup), 0);
        const struct stat before = statusOf(real);
        const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

        files::writeFileAtomically(QFile::decodeName(folder + savedPath), "new\r\n");

        QCOMPARE(readRaw(real), QByteArray("new\r\n"));
        const struct stat after = statusOf(real);
        if (setup == QLatin1String("dangling")) {
            QVERIFY(S_ISLNK(statusOf(folder + savedPath).st_mode));
        } else {
            QCOMPARE(after.st_mode, before.st_mode);
            QCOMPARE(after.st_uid, before.st_uid);
            QCOMPARE(after.st_gid, before.st_gid);
            QCOMPARE(after.st_ino == before.st_ino, inPlace);
        }
        if (inPlace)
            QCOMPARE(readFile(path("other name.txt")), QByteArray("new\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System).size(),
                 entries.size() + (setup == QLatin1String("dangling") ? 1 : 0));
        QVERIFY(QDir(recoveryFolder()).isEmpty());
    }

    // Saves that must not write anything, and what loading the same path does.
    void refusesWithoutWriting_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("saveError");
        QTest::addColumn<QString>("loadError");
        QTest::newRow("read-only file") << "0444" << "75: Permission denied" << "";
        QTest::newRow("FIFO") << "fifo" << "75: Not a regular file" << "75: Not a regular file";
        if (isRoot())
            QTest::newRow("device node") << "device" << "75: Not a regular file" << "75: Not a regular file";
        QTest::newRow("folder") << "folder" << "75: Not a regular file" << "75: Path/File access error";
        QTest::newRow("link loop") << "loop" << "75: Too many levels of symbolic links" << "75: Path/File access error";
        QTest::newRow("link into a missing folder") << "missing" << "75: No such file or directory" << "53: File not found";
    }
    void refusesWithoutWriting()
    {
        QFETCH(QString, setup);
        QFETCH(QString, saveError);
        QFETCH(QString, loadError);
        const QByteArray script = raw(path("script.txt"));
        if (setup == QLatin1String("0444")) {
            writeFile(path("script.txt"), "old\r\n");
            QCOMPARE(::chmod(script.constData(), 0444), 0);
        }
        if (setup == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(script.constData(), 0666), 0);
        if (setup == QLatin1String("device"))
            QCOMPARE(::mknod(script.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
        if (setup == QLatin1String("folder"))
            QCOMPARE(::mkdir(script.constData(), 0755), 0);
        if (setup == QLatin1String("loop")) {
            QCOMPARE(::symlink("other.txt", script.constData()), 0);
            QCOMPARE(::symlink("script.txt", raw(path("other.txt")).constData()), 0);
        }
        if (setup == QLatin1String("missing"))
            QCOMPARE(::symlink("missing/script.txt", script.constData()), 0);
        const QStringList before = listing(m_dir->path());

        QCOMPARE(errorOf([&] { files::writeFileAtomically(path("script.txt"), "new\r\n"); }), saveError);
        QCOMPARE(listing(m_dir->path()), before);
        QCOMPARE(errorOf([&] { files::readTextFile(path("script.txt")); }), loadError);
        if (setup == QLatin1String("0444"))
            QCOMPARE(readFile(path("script.txt")), QByteArray("old\r\n"));
    }

    // A write that fails midway leaves the old file whole and nothing behind.
    void failedWriteKeepsFile_data()
    {
        QTest::addColumn<bool>("fullDisk"); // else a file-size limit
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<QString>("error");
        QTest::newRow("file-size limit") << false << false << "75: File too large";
        QTest::newRow("file-size limit, in place")
            << false << true << "75: Cannot keep a recovery copy: File too large";
        QTest::newRow("full disk") << true << false << "75: No space left on device";
        QTest::newRow("full disk, in place") << true << true << "75: No space left on device";
    }
    void failedWriteKeepsFile()
    {
        QFETCH(bool, fullDisk);
        QFETCH(bool, inPlace);
        QFETCH(QString, error);
        const QString folder = path("disk");
        QVERIFY(QDir().mkdir(folder));
        if (fullDisk && (!isRoot() || ::mount("zarvo-test", raw(folder).constData(), "tmpfs", 0, "size=256k") != 0))
            QSKIP("a small file system needs root (mount)");
        const auto unmount = qScopeGuard([&] { if (fullDisk) ::umount(raw(folder).constData()); });
        const QString script = folder + QStringLiteral("/script.txt");
        const QByteArray old(4096, 'o');
        writeFile(script, old);
        if (inPlace)
            QCOMPARE(::link(raw(script).constData(), raw(folder + QStringLiteral("/hard.txt")).constData()), 0);
        {
            std::unique_ptr<testsupport::FileSizeLimit> limit;
            if (!fullDisk)
                limit = std::make_unique<testsupport::FileSizeLimit>(64 * 1024);
            QCOMPARE(errorOf([&] { files::writeFileAtomically(script, QByteArray(512 * 1024, 'n')); }), error);
        }
        QCOMPARE(readFile(script), old);
        QCOMPARE(leftovers(folder), QStringList());
        QVERIFY(QDir(recoveryFolder()).isEmpty());
    }

    // As an unprivileged user: where the folder refuses new files or a new
    // file could not keep the owner, the file is written in place; a folder
    // that lets us create files but not list them is no such folder.
    void asAnotherUser_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<uint>("fileOwner");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QByteArray>("output"); // the helper's report, empty when saved
        QTest::addColumn<bool>("replaced");
        QTest::newRow("read-only folder, writable file") << 0755 << uint(kNobody) << 0644 << QByteArray() << false;
        QTest::newRow("group-shared file of another owner") << 0775 << 0u << 0660 << QByteArray() << false;
        QTest::newRow("own read-only file") << 0777 << uint(kNobody) << 0444 << QByteArray("75: Permission denied\n") << false;
        QTest::newRow("a folder to write but not read") << 0730 << uint(kNobody) << 0644 << QByteArray() << true;
    }
    void asAnotherUser()
    {
        QFETCH(int, folderMode);
        QFETCH(uint, fileOwner);
        QFETCH(int, fileMode);
        QFETCH(QByteArray, output);
        QFETCH(bool, replaced);
        if (!isRoot())
            QSKIP("switching users needs root (setpriv)");
        const QByteArray folder = raw(path("shared"));
        const QByteArray script = folder + "/script.txt";
        const QByteArray source = raw(path("source.txt"));
        const QByteArray state = raw(path("state"));
        writeRaw(source, "new\r\n");
        QCOMPARE(::mkdir(folder.constData(), 0) | ::mkdir(state.constData(), 0700), 0);
        writeRaw(script, "old\r\n");
        QCOMPARE(::chown(folder.constData(), 0, kSharedGroup) | ::chmod(folder.constData(), mode_t(folderMode))
                     | ::chown(script.constData(), fileOwner, kSharedGroup) | ::chmod(script.constData(), mode_t(fileMode))
                     | ::chown(state.constData(), kNobody, kNobody),
                 0);
        const struct stat before = statusOf(script);

        QProcess helper;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), QFile::decodeName(state));
        helper.setProcessEnvironment(environment);
        helper.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=%1").arg(kNobody), QStringLiteral("--regid=%1").arg(kNobody),
                                                 QStringLiteral("--groups=%1").arg(kSharedGroup), QStringLiteral(SAVEHELPER),
                                                 QStringLiteral("save"), QFile::decodeName(script), QFile::decodeName(source)});
        QVERIFY(helper.waitForFinished());
        QCOMPARE(helper.readAllStandardOutput(), output);

        QCOMPARE(readRaw(script), QByteArray(output.isEmpty() ? "new\r\n" : "old\r\n"));
        const struct stat after = statusOf(script);
        QCOMPARE(after.st_ino != before.st_ino, replaced);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(leftovers(QFile::decodeName(folder)), QStringList());
        QVERIFY(QDir(QFile::decodeName(state) + QStringLiteral("/zarvo/recovery")).isEmpty());
    }

    // A copy is offered only while the file is as the save that was cut
    // short left it: the start of the copy, then the old bytes.
    void recoveryCopy_data()
    {
        const QByteArray copy = QByteArray(150000, 'n') + "\r\n";
        const QByteArray old(200000, 'o');
        QTest::addColumn<QByteArray>("oldText");
        QTest::addColumn<QString>("change"); // "write" over the file in place, or "truncate", "rename", "delete"
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<bool>("offered");
        QTest::newRow("the file holds the copy: the save completed") << old << "truncate" << copy << false;
        QTest::newRow("cut short: the copy's start over the old text")
            << old << "write" << copy.left(100000) << true;
        QTest::newRow("cut short before the first byte") << old << "" << QByteArray() << true;
        QTest::newRow("cut short past the old end") << QByteArray("old\r\n") << "write" << copy.left(100000) << true;
        QTest::newRow("another program wrote the same length")
            << old << "write" << copy.left(100000) + QByteArray(100000, 'x') << false;
        QTest::newRow("another program wrote 75 bytes") << old << "truncate" << QByteArray(75, 'y') << false;
        QTest::newRow("replaced by a rename, the same bytes")
            << old << "rename" << copy.left(100000) + old.mid(100000) << false;
        QTest::newRow("the file is gone") << old << "delete" << QByteArray() << false;
    }
    void recoveryCopy()
    {
        QFETCH(QByteArray, oldText);
        QFETCH(QString, change);
        QFETCH(QByteArray, written);
        QFETCH(bool, offered);
        const QString script = path("script.txt");
        writeFile(script, oldText);
        QCOMPARE(files::pendingRecoveryCopy(script), std::nullopt);
        const QByteArray copy = QByteArray(150000, 'n') + "\r\n";
        files::keepRecoveryCopy(raw(script), copy);
        QFile file(script);
        if (change == QLatin1String("write") || change == QLatin1String("truncate")) {
            QVERIFY(file.open(change == QLatin1String("write") ? QIODevice::ReadWrite : QIODevice::WriteOnly));
            QCOMPARE(file.write(written), written.size());
            file.close();
        } else if (change == QLatin1String("rename")) {
            writeFile(path("other.txt"), written);
            QVERIFY(::rename(raw(path("other.txt")).constData(), raw(script).constData()) == 0);
        } else if (change == QLatin1String("delete")) {
            QVERIFY(file.remove());
        }
        QVERIFY(QFile::link(script, path("link.txt")));

        QCOMPARE(files::pendingRecoveryCopy(path("link.txt")), offered ? std::optional<QByteArray>(copy) : std::nullopt);
        QCOMPARE(QDir(recoveryFolder()).isEmpty(), !offered); // a stale copy is removed
        files::discardRecoveryCopy(script);
        QCOMPARE(files::pendingRecoveryCopy(script), std::nullopt);
        QVERIFY(QDir(recoveryFolder()).isEmpty());
    }

    // A script too large to hold is refused before it is read; running out of
    // memory while reading is reported, not thrown past the caller.
    void loadLimits_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("shortOfMemory");
        QTest::addColumn<QString>("error");
        QTest::newRow("256 MB, the limit") << (qint64(256) << 20) << false << "";
        QTest::newRow("one byte more") << (qint64(256) << 20) + 1 << false << "75: File is larger than 256 MB";
        QTest::newRow("short of memory") << (qint64(64) << 20) << true << "7: Out of memory";
    }
    void loadLimits()
    {
        QFETCH(qint64, size);
        QFETCH(bool, shortOfMemory);
        QFETCH(QString, error);
        const QString script = path("script.txt");
        writeFile(script, "");
        QVERIFY(QFile::resize(script, size)); // sparse: no disk space taken
        rlimit saved = {};
        ::getrlimit(RLIMIT_AS, &saved);
        const auto restore = qScopeGuard([&] { ::setrlimit(RLIMIT_AS, &saved); });
        if (shortOfMemory) {
            QFile status(QStringLiteral("/proc/self/statm"));
            QVERIFY(status.open(QIODevice::ReadOnly));
            rlimit reduced = saved;
            reduced.rlim_cur = rlim_t(status.readAll().split(' ').first().toLongLong() * ::getpagesize() + size / 2);
            QCOMPARE(::setrlimit(RLIMIT_AS, &reduced), 0);
        }
        qsizetype loaded = 0;
        QCOMPARE(errorOf([&] { loaded = files::readTextFile(script).text.size(); }), error);
        QCOMPARE(loaded, error.isEmpty() ? size : 0);
    }

    // Only the temporary files a killed save of ours left are removed: one of
    // the same pattern that nobody recorded stays.
    void keepsOthersTemporaryFiles()
    {
        writeFile(path(".zarvo-abc123"), "someone else's");
        files::writeFileAtomically(path("script.txt"), "new\r\n");
        QCOMPARE(leftovers(m_dir->path()), QStringList{QStringLiteral(".zarvo-abc123")});
    }
};

QTEST_MAIN(TestSafeSave)
#include "tst_safesave.moc"
