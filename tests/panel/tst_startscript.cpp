// The control panel started on a script named on the command line.

#include "editor/scripteditor.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "support/testscript.h"

#include <QDir>
#include <QLabel>
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
    QTest::addColumn<QString>("statusAfterPath"); // the status line after "Error loading source PATH"
    QTest::newRow("a script") << "script.txt" << QString();
    QTest::newRow("missing: like a missing default script") << "new.txt" << ".";
    QTest::newRow("a folder: as File > Open reports it") << "folder" << ": Path/File access error.";
}

void TestStartScript::startsOnTheGivenFile()
{
    QFETCH(QString, name);
    QFETCH(QString, statusAfterPath);
    const QByteArray script = "CreateWindow 1, 2, 300, 200, x, , \"T\"\r\n";
    testsupport::writeFile(m_dir.filePath("script.txt"), script);
    QDir(m_dir.path()).mkdir("folder");
    const QString path = m_dir.filePath(name);

    panel::MainWindow window(path);
    QCOMPARE(window.document().path(), path);
    if (statusAfterPath.isEmpty()) {
        QCOMPARE(window.statusPanel(1)->text(), "Source code loaded. Waiting...");
        QCOMPARE(window.editor()->text(), QString::fromLatin1(script));
        return;
    }
    QCOMPARE(window.statusPanel(1)->text(), "Error loading source " + path + statusAfterPath);
    QCOMPARE(window.editor()->text(), QString());
    if (name == "new.txt") {
        // The first edit's save creates the file, as an editor opening a new file does.
        window.editor()->insertPlainText("; new");
        window.document().waitForSaves();
        QCOMPARE(testsupport::readFile(path), QByteArray("; new\r\n"));
    }
}

QTEST_MAIN(TestStartScript)
#include "tst_startscript.moc"
