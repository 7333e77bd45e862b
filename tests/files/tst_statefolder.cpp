// SPDX-License-Identifier: MIT
#include "files/recovery.h"
#include "files/safesave.h"
#include "files/secondname.h"
#include "files/statefolder.h"
#include "support/testscript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::errorOf;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
constexpr uid_t kNobody = 65534;

QByteArray raw(const QString &path) { return QFile::encodeName(path); }
bool isRoot() { return ::geteuid() == 0; }
} // namespace

// Whoever else can write into the state folder could make a save write the
// script elsewhere, restore planted text or remove the user's files: such a
// folder is not used, and what a folder holds that the user did not make
// there for a file is left alone.
class TestStateFolder : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_state, m_dir;
    QString state(const char *name) const { return m_state->filePath(QString::fromUtf8(name)); }
    QString path(const char *name) const { return m_dir->filePath(QString::fromUtf8(name)); }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<QTemporaryDir>();
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", raw(m_state->path()));
        QVERIFY(QDir().mkpath(state("zarvo/recovery")) && QDir().mkpath(state("zarvo/temporaries")));
        writeFile(path("script.txt"), "old\r\n");
        // A second hard link: the save must write in place, with a copy.
        QCOMPARE(::link(raw(path("script.txt")).constData(), raw(path("hard.txt")).constData()), 0);
    }

    void unsafeFolderIsNotUsed_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("folder"); // relative to the state home
        QTest::addColumn<QString>("reason");
        QTest::newRow("group-writable") << "chmod 0770" << "zarvo" << "can be written by other users";
        QTest::newRow("writable by others") << "chmod 0703" << "zarvo/recovery" << "can be written by other users";
        QTest::newRow("a link to a private folder") << "link" << "zarvo" << "is a link or a file, not a folder";
        if (isRoot())
            QTest::newRow("another user's") << "chown" << "zarvo" << "belongs to another user";
    }
    void unsafeFolderIsNotUsed()
    {
        QFETCH(QString, setup);
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        const QByteArray target = raw(m_state->filePath(folder));
        if (setup.startsWith(QLatin1String("chmod")))
            QCOMPARE(::chmod(target.constData(), mode_t(setup.mid(6).toInt(nullptr, 8))), 0);
        if (setup == QLatin1String("link")) {
            QVERIFY(QDir().rename(state("zarvo"), state("private")));
            QCOMPARE(::symlink("private", target.constData()), 0);
        }
        if (setup == QLatin1String("chown"))
            QCOMPARE(::chown(target.constData(), kNobody, kNobody), 0);
        const QString where = QStringLiteral("the state folder ") + m_state->filePath(folder) + QLatin1Char(' ') + reason;

        QCOMPARE(files::stateFolderProblem(), QStringLiteral("T") + where.mid(1)
                     + QStringLiteral(": no recovery copies are kept, and saves that must write in place are refused."));
        QCOMPARE(errorOf([&] { files::writeFileAtomically(path("script.txt"), "new\r\n"); }),
                 QStringLiteral("75: Cannot keep a recovery copy: ") + where);
        QCOMPARE(readFile(path("script.txt")), QByteArray("old\r\n"));
        // A save that replaces the file needs no copy.
        QVERIFY(QFile::remove(path("hard.txt")));
        QCOMPARE(errorOf([&] { files::writeFileAtomically(path("script.txt"), "new\r\n"); }), QString());
        QCOMPARE(readFile(path("script.txt")), QByteArray("new\r\n"));
    }

    // The first save into a folder removes what a killed program of ours
    // left there, found through the records of its temporary names.
    void recordsOfOthersAreLeftAlone_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("removed");
        QTest::newRow("a program that ended") << "ended" << true;
        QTest::newRow("a program still running (its record locked)") << "locked" << false;
        QTest::newRow("naming a file in another folder") << "elsewhere" << false;
        QTest::newRow("naming a file not of our pattern") << "pattern" << false;
        QTest::newRow("naming another suffix than its own") << "suffix" << false;
        QTest::newRow("a link to a record") << "link" << false;
        if (isRoot())
            QTest::newRow("another user's record") << "chown" << false;
    }
    void recordsOfOthersAreLeftAlone()
    {
        QFETCH(QString, record);
        QFETCH(bool, removed);
        const QByteArray folder = files::canonicalFolder(raw(m_dir->path()));
        QByteArray leftover = folder + "/.zarvo-abc123";
        if (record == QLatin1String("elsewhere"))
            leftover = files::canonicalFolder(raw(m_state->path())) + "/.zarvo-abc123";
        if (record == QLatin1String("pattern"))
            leftover = folder + "/zarvo-abc123";
        if (record == QLatin1String("suffix"))
            leftover = folder + "/.zarvo-xyz789";
        writeFile(QFile::decodeName(leftover), "leftover");
        const QString recordPath = state("zarvo/temporaries/") + QString::fromLatin1(files::pathKey(folder) + "-abc123");
        writeFile(record == QLatin1String("link") ? state("elsewhere") : recordPath, leftover);
        if (record == QLatin1String("link"))
            QVERIFY(QFile::link(state("elsewhere"), recordPath));
        if (record == QLatin1String("chown"))
            QCOMPARE(::chown(raw(recordPath).constData(), kNobody, kNobody), 0);
        QFile held(recordPath);
        if (record == QLatin1String("locked"))
            QVERIFY(held.open(QIODevice::ReadOnly) && ::flock(held.handle(), LOCK_EX) == 0);

        QVERIFY(QFile::remove(path("hard.txt")));
        files::writeFileAtomically(path("script.txt"), "new\r\n");

        QCOMPARE(!QFile::exists(QFile::decodeName(leftover)), removed);
        QCOMPARE(!QFile::exists(recordPath), removed);
    }

    // Names planted where copies are kept lead nowhere, and a copy the user
    // did not make is never offered.
    void plantedCopies()
    {
        const QByteArray key = files::pathKey(raw(m_dir->path()), "script.txt");
        writeFile(path("victim"), "victim\r\n");
        for (const QByteArray &name : {key, key + ".partial", key + "-abc123", '.' + key + "-abc123"})
            QVERIFY(QFile::link(path("victim"), state("zarvo/recovery/") + QString::fromLatin1(name)));
        files::writeFileAtomically(path("script.txt"), "new\r\n");
        QCOMPARE(readFile(path("victim")), QByteArray("victim\r\n"));
        QCOMPARE(readFile(path("script.txt")), QByteArray("new\r\n"));
        // Copies take names of their own; whatever the name, a link planted
        // there is not followed.
        QVERIFY(QFile::link(path("victim"), state("zarvo/recovery/planted")));
        const int folder = ::open(raw(state("zarvo/recovery")).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        {
            files::SecondNameFile copy;
            QCOMPARE(copy.create(folder, raw(state("zarvo/recovery")), "planted", 0600), EEXIST);
        }
        ::close(folder);
        QCOMPARE(readFile(path("victim")), QByteArray("victim\r\n"));

        if (!isRoot())
            QSKIP("planting another user's copy needs root (chown)");
        QVERIFY(QDir(state("zarvo/recovery")).removeRecursively() && QDir().mkpath(state("zarvo/recovery")));
        files::keepRecoveryCopy(raw(path("script.txt")), "planted\r\n");
        const QStringList copies = QDir(state("zarvo/recovery")).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(::chown(raw(state("zarvo/recovery/") + copies[0]).constData(), kNobody, kNobody), 0);
        QCOMPARE(files::pendingRecoveryCopy(path("script.txt")), std::nullopt);
    }
};

QTEST_MAIN(TestStateFolder)
#include "tst_statefolder.moc"
