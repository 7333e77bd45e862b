// SPDX-License-Identifier: MIT
// A save that runs out of memory while it encodes the script fails like any
// other save: the edits stay marked as unsaved and the file keeps its bytes.
#include "panel/scriptdocument.h"
#include "support/testscript.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <sys/resource.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace {
// The process's data size now, in bytes, from /proc/self/status.
qint64 dataBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmData:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// Lowers the data limit to headroom above what the process uses, for its
// lifetime; the old limit comes back after.
class DataLimit {
public:
    explicit DataLimit(qint64 headroom)
    {
        m_ok = ::getrlimit(RLIMIT_DATA, &m_old) == 0;
        rlimit lowered = m_old;
        lowered.rlim_cur = rlim_t(dataBytes() + headroom);
        m_ok = m_ok && dataBytes() > 0 && ::setrlimit(RLIMIT_DATA, &lowered) == 0;
    }
    ~DataLimit() { ::setrlimit(RLIMIT_DATA, &m_old); }
    bool isSet() const { return m_ok; }

private:
    rlimit m_old{};
    bool m_ok = false;
};
} // namespace

class TestSaveOutOfMemory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodingOutOfMemoryKeepsTheEditsUnsaved()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer's allocator does not live within a data limit");
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.txt"));
        const QByteArray line = QByteArray(79, 'a') + "\r\n";
        const QByteArray original = line.repeated(100000); // 8 MB
        writeFile(path, original);
        panel::ScriptDocument document;
        document.load(path);
        QTextCursor(document.textDocument()).insertText(QStringLiteral("x"));
        int failedNumber = 0;
        connect(&document, &panel::ScriptDocument::saveFinished, this,
                [&](const QString &, const files::SaveResult &result) { failedNumber = result.errorNumber; });
        {
            const DataLimit limit(1 << 20); // too little for the 8 MB the encoding needs
            QVERIFY(limit.isSet());
            document.save();
        }
        QVERIFY(document.waitForSaves(10000));
        QCOMPARE(failedNumber, 7);
        QVERIFY(document.isModified());
        QCOMPARE(readFile(path), original);
        // With memory again, the next save writes the edit.
        document.save();
        QVERIFY(document.waitForSaves(10000));
        QVERIFY(!document.isModified());
        QCOMPARE(readFile(path), "x" + original);
    }
};

QTEST_MAIN(TestSaveOutOfMemory)
#include "tst_saveoutofmemory.moc"
