// SPDX-License-Identifier: MIT
#include "files/recovery.h"
#include "files/savefile.h"
#include "files/systemcalls.h"
#include "support/testscript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using files::SaveResult;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
const QByteArray kOld = QByteArray(40, 'o') + "\r\n" + QByteArray(40, 'o') + "\r\n";
const QByteArray kNew = "new\r\n";

// Counts the save's system calls and makes one of them fail.
class CallFaults : public files::SystemCallFaults {
public:
    CallFaults(int failingCall, int error) : m_failingCall(failingCall), m_error(error)
    {
        files::setSystemCallFaults(this);
    }
    ~CallFaults() override { files::setSystemCallFaults(nullptr); }
    int failureFor(const char *call) override
    {
        m_calls.append(QString::fromLatin1(call));
        return m_calls.size() == m_failingCall ? m_error : 0;
    }
    const QStringList &calls() const { return m_calls; }

private:
    int m_failingCall;
    int m_error;
    QStringList m_calls;
};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A folder with the script, and for an in-place save a second hard link.
void prepare(const QString &folder, bool inPlace)
{
    writeFile(folder + QStringLiteral("/script.txt"), kOld);
    if (inPlace)
        QCOMPARE(::link(QFile::encodeName(folder + QStringLiteral("/script.txt")).constData(),
                        QFile::encodeName(folder + QStringLiteral("/hard.txt")).constData()),
                 0);
}

// The calls (numbered from 1) whose failure must fail the save. Replacing:
// writing, flushing and closing the new file, its rename and the folder's
// flush; the earlier write, flush and rename are the temporary-file record's,
// and keeping the mode and attributes has a way round. In place: every call
// but the closes of what was only read.
QList<int> callsThatFailTheSave(const QStringList &calls, bool inPlace)
{
    QList<int> failing;
    const int lastFlush = int(calls.lastIndexOf(QStringLiteral("fdatasync")));
    for (int i = 0; i < calls.size(); ++i) {
        const QString &call = calls[i];
        const bool closesTheNewFile = call == QLatin1String("close") && i == lastFlush + 1;
        const bool newBytes = i == calls.lastIndexOf(call)
            && (call == QLatin1String("write") || call == QLatin1String("fdatasync") || call == QLatin1String("rename"));
        const bool fails = inPlace ? call != QLatin1String("close") || closesTheNewFile
                                   : newBytes || closesTheNewFile || call == QLatin1String("fsync");
        if (fails)
            failing.append(i + 1);
    }
    return failing;
}

SaveResult save(const QString &folder, const std::optional<files::FileIdentity> &expected)
{
    return files::saveFile({folder + QStringLiteral("/script.txt"), kNew, expected});
}
} // namespace

// Whichever system call of a save fails, and however: the file holds its old
// bytes or the new ones (or, cut short in place, the recovery copy holds the
// new ones), nothing is left beside it, the error is reported, and the next
// save, expecting the state the result gives, writes the file.
class TestSaveFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_state;
    QString recoveryFolder() const { return m_state->filePath(QStringLiteral("zarvo/recovery")); }

private Q_SLOTS:
    // Each save with a state folder of its own.
    void init()
    {
        m_state = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state->path()));
    }

    void everyCallMayFail_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<int>("failingCall");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("saves");
        const std::pair<int, const char *> errors[] = {{EIO, "EIO"}, {ENOSPC, "ENOSPC"}, {EINTR, "EINTR"}, {EDQUOT, "EDQUOT"}};
        for (const bool inPlace : {false, true}) {
            init();
            QTemporaryDir dryRun;
            prepare(dryRun.path(), inPlace);
            const files::FileIdentity loaded = files::identityOfBytes(dryRun.filePath(QStringLiteral("script.txt")), kOld);
            const CallFaults counter(0, 0);
            save(dryRun.path(), loaded);
            const char *kind = inPlace ? "in place" : "replacing";
            const QList<int> failing = callsThatFailTheSave(counter.calls(), inPlace);
            for (int call = 1; call <= counter.calls().size(); ++call) {
                const QByteArray name = counter.calls()[call - 1].toLatin1();
                const bool fails = failing.contains(call);
                for (const auto &[error, errorName] : errors)
                    QTest::addRow("%s, call %d (%s), %s", kind, call, name.constData(), errorName)
                        << inPlace << call << error << (error == EINTR || !fails);
                // Where the file system cannot reserve space, or the file
                // cannot be replaced (a bind-mounted file), the save goes on.
                if (name == "fallocate")
                    QTest::addRow("%s, call %d (%s), EOPNOTSUPP", kind, call, name.constData()) << inPlace << call << EOPNOTSUPP << true;
                if (name == "rename" && !inPlace) {
                    QTest::addRow("%s, call %d (%s), EBUSY", kind, call, name.constData()) << inPlace << call << EBUSY << true;
                    QTest::addRow("%s, call %d (%s), EXDEV", kind, call, name.constData()) << inPlace << call << EXDEV << true;
                }
            }
        }
    }
    void everyCallMayFail()
    {
        QFETCH(bool, inPlace);
        QFETCH(int, failingCall);
        QFETCH(int, error);
        QFETCH(bool, saves);
        QTemporaryDir dir;
        prepare(dir.path(), inPlace);
        const QString script = dir.filePath(QStringLiteral("script.txt"));
        const QStringList before = entries(dir.path());
        const files::FileIdentity loaded = files::identityOfBytes(script, kOld);
        SaveResult result;
        {
            const CallFaults faults(failingCall, error);
            result = save(dir.path(), loaded);
        }
        const QByteArray file = readFile(script);
        QCOMPARE(result.status == SaveResult::Status::Saved, saves);
        if (result.status == SaveResult::Status::Failed) {
            QCOMPARE(result.errorNumber, 75);
            QVERIFY2(result.description.endsWith(qt_error_string(error)), qPrintable(result.description));
            if (file != kOld) // the next save must expect what this one left
                QVERIFY(result.written.exists && (!inPlace || !QDir(recoveryFolder()).isEmpty()));
        }
        QVERIFY(file == kOld || file == kNew || files::pendingRecoveryCopy(script) == kNew);
        QCOMPARE(entries(dir.path()), before);

        const SaveResult next = save(dir.path(), result.written.exists ? result.written : loaded);
        QCOMPARE(next.description, QString());
        QCOMPARE(readFile(script), kNew);
        QCOMPARE(entries(dir.path()), before);
        QCOMPARE(entries(recoveryFolder()), QStringList());
    }
};

QTEST_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
