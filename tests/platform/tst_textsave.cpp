#include "platform/textsave.h"
#include "support/testscript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readFile;
using testsupport::writeFile;

class TestTextSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a replacing save must keep of the file it replaces.
    void replacesFileOnly_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<int>("permissions");
        QTest::newRow("plain file") << false << int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QTest::newRow("link to a file") << true << int(QFile::ReadOwner | QFile::WriteOwner);
    }
    void replacesFileOnly()
    {
        QFETCH(bool, throughLink);
        QFETCH(int, permissions);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("script.txt"));
        const QString link = dir.filePath(QStringLiteral("link.txt"));
        writeFile(file, "old\r\n");
        QVERIFY(QFile::setPermissions(file, QFile::Permissions(permissions)));
        QVERIFY(QFile::link(file, link));
        platform::writeFileAtomically(throughLink ? link : file, "new\r\n");
        QCOMPARE(readFile(file), QByteArray("new\r\n"));
        QCOMPARE(int(QFile::permissions(file) & 0x7077), permissions); // owner, group, others
        QCOMPARE(QFileInfo(link).symLinkTarget(), file);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
    }
};

QTEST_MAIN(TestTextSave)
#include "tst_textsave.moc"
