// SPDX-License-Identifier: MIT
// The control panel started on a script named on the command line.

#include "editor/scripteditor.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "support/testscript.h"

#include <QDir>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

class TestStartScript : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsOnTheGivenFile_data();
    void startsOnTheGivenFile();

private:
    QTemporaryDir m_dir;
};

void TestStartScript::startsOnTheGivenFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("status"); // {path}: the path named
    QTest::newRow("a script") << "script.txt" << "Source code loaded. Waiting...";
    // The bytes s\xE9.txt (platform/filenames.h): that very file, not a new one.
    QTest::newRow("a name that is not UTF-8") << QString::fromUtf16(u"s\xDCE9.txt")
                                              << "Source code loaded. Waiting...";
    QTest::newRow("missing: a new file") << "new.txt" << "New file: {path}";
    QTest::newRow("in a missing folder") << "gone/new.txt" << "Error loading source {path}: Path not found.";
    QTest::newRow("a folder: as File > Open reports it") << "folder"
                                                         << "Error loading source {path}: Path/File access error.";
}

void TestStartScript::startsOnTheGivenFile()
{
    QFETCH(QString, name);
    QFETCH(QString, status);
    const QByteArray script = "CreateWindow 1, 2, 300, 200, x, , \"T\"\r\n";
    testsupport::writeFile(m_dir.filePath("script.txt"), script);
    QDir(m_dir.path()).mkdir("folder");
    const QString path = m_dir.filePath(name);
    const QString notUtf8 = m_dir.filePath(QString::fromUtf16(u"s\xDCE9.txt"));
    testsupport::writeFile(notUtf8, script);
    const auto removeIt = qScopeGuard([&] { testsupport::removeByName(notUtf8); });

    panel::MainWindow window(path);
    QCOMPARE(window.document().path(), path);
    QCOMPARE(window.statusPanel(1)->text(), status.replace(QStringLiteral("{path}"), path));
    if (status.startsWith("Source code loaded")) {
        QCOMPARE(window.editor()->text(), QString::fromLatin1(script));
        return;
    }
    QCOMPARE(window.editor()->text(), QString());
    if (name == "new.txt") {
        QCOMPARE(window.statusPanel(3)->text(), QStringLiteral("0 bytes"));
        // The first edit's save creates the file, as an editor opening a new file does.
        window.editor()->insertPlainText("; new");
        window.document().waitForSaves();
        QCOMPARE(testsupport::readFile(path), QByteArray("; new\r\n"));
    }
}

QTEST_MAIN(TestStartScript)
#include "tst_startscript.moc"
