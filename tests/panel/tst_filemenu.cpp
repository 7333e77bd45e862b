// SPDX-License-Identifier: MIT
// The File menu's New..., Open Recent and the copy of pictures after Save As.

#include "editor/scripteditor.h"
#include "panel/mainwindow.h"
#include "panel/recentscripts.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "platform/filenames.h"
#include "support/modalhelper.h"
#include "support/testscript.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using panel::MainWindow;
using testsupport::ModalAnswerer;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
// Answers a file dialog with path, a question box with the button captioned answer.
ModalAnswerer::Action answerWith(const QString &path, const QString &answer = QString())
{
    return [path, answer](QWidget *modal, int) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == answer)
                    button->click();
            }
            return;
        }
        auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        edit->setText(path);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

QStringList recentMenu(MainWindow &window)
{
    auto *menu = window.findChild<QMenu *>(QStringLiteral("menuOpenRecent"));
    Q_EMIT menu->aboutToShow();
    QStringList items;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            items << action->text();
    }
    return items;
}
} // namespace

class TestFileMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init() { panel::forgetRecentScripts(); }

    void newAsksForANameAndWritesAnEmptyScript()
    {
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.txt"));
        const QString fresh = dir.filePath(QStringLiteral("fresh.zarvo"));
        writeFile(old, "SetWindowTitle \"x\"\r\n");
        MainWindow window(old);
        ModalAnswerer answerer(answerWith(fresh));
        window.findChild<QAction *>(QStringLiteral("actNew"))->trigger();
        QCOMPARE(answerer.titles(), QStringList{QStringLiteral("New source file...")});
        QCOMPARE(window.document().path(), fresh);
        QCOMPARE(window.editor()->text(), QString());
        QCOMPARE(window.statusPanel(1)->text(), "New file: " + fresh);
        QCOMPARE(window.windowTitle(), QStringLiteral("fresh.zarvo[*] - Zarvo - Control Panel"));
        QCOMPARE(readFile(fresh), QByteArray("\r\n"));
        QCOMPARE(readFile(old), QByteArray("SetWindowTitle \"x\"\r\n"));
    }

    // Newest first, only files that are still there, at most eight.
    void openRecentListsTheLastScripts()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 10; ++i) {
            paths << dir.filePath(QStringLiteral("s%1.txt").arg(i));
            writeFile(paths.last(), QByteArray::number(i));
        }
        MainWindow window(paths[0]);
        for (int i = 1; i < 10; ++i)
            window.sourceFiles().load(paths[i]);
        window.sourceFiles().load(paths[5]);
        QFile::remove(paths[8]);
        QCOMPARE(recentMenu(window), (QStringList{"&1 " + paths[5], "&2 " + paths[9], "&3 " + paths[7],
                                                  "&4 " + paths[6], "&5 " + paths[4], "&6 " + paths[3],
                                                  "&7 " + paths[2], "&Clear List"}));
        window.findChild<QMenu *>(QStringLiteral("menuOpenRecent"))->actions().at(2)->trigger();
        QCOMPARE(window.document().path(), paths[7]);
        QCOMPARE(window.editor()->text(), QStringLiteral("7"));

        window.findChild<QAction *>(QStringLiteral("actClearRecent"))->trigger();
        QCOMPARE(recentMenu(window), QStringList{"&Clear List"});
    }

    // Names shown as they are: a "&" is no mnemonic, a byte that is not
    // UTF-8 shows as \xHH, and such a script is still listed.
    void openRecentShowsNamesAsTheyAre()
    {
        QTemporaryDir dir;
        const QString ampersand = dir.filePath(QStringLiteral("a&b.txt"));
        writeFile(ampersand, "1");
        const QByteArray rawName = QFile::encodeName(dir.path()) + "/r\xe9.txt";
        const int fd = ::open(rawName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        MainWindow window(ampersand);
        window.sourceFiles().load(platform::fileNameFromBytes(rawName));
        QCOMPARE(recentMenu(window), (QStringList{"&1 " + dir.path() + "/r\\xE9.txt",
                                                  "&2 " + dir.path() + "/a&&b.txt", "&Clear List"}));
    }

    void saveAsOffersToCopyPictures_data()
    {
        QTest::addColumn<QString>("newFolder"); // below the old script's folder
        QTest::addColumn<QString>("answer"); // empty: no question
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QString>("foldersNote");
        QTest::newRow("copy") << "forms" << "Copy" << QStringList{"zarvo.png", "pics/logo.png"}
                              << "Folders are not copied: lists";
        QTest::newRow("don't copy") << "forms" << "Don't copy" << QStringList{} << "Folders are not copied: lists";
        QTest::newRow("the same folder: no question") << "" << "" << QStringList{} << "";
        QTest::newRow("pictures there already: no question") << "full" << "" << QStringList{} << "";
    }
    void saveAsOffersToCopyPictures()
    {
        QFETCH(QString, newFolder);
        QFETCH(QString, answer);
        QFETCH(QStringList, copied);
        QFETCH(QString, foldersNote);
        QTemporaryDir dir;
        const QDir old(dir.path());
        const QString script = QStringLiteral("CreateWindow 1, 1, 90, 90, -, , \"W\"\r\n"
                                              "CreateImage 1, 1, 9, 9, a, -, \"zarvo.png\"\r\n"
                                              "CreateImage 1, 1, 9, 9, b, -, \"pics/logo.png\"\r\n"
                                              "CreateImage 1, 1, 9, 9, c, -, \"absent.png\"\r\n"
                                              "CreateDirlist 1, 1, 9, 9, d, -, \"lists\"\r\n"
                                              "CreateFilelist 1, 1, 9, 9, e, -, \".\"\r\n");
        writeFile(old.filePath(QStringLiteral("script.txt")), script.toUtf8());
        for (const QString &picture : {QStringLiteral("zarvo.png"), QStringLiteral("pics/logo.png")}) {
            old.mkpath(QFileInfo(picture).path());
            writeFile(old.filePath(picture), "picture");
            old.mkpath(QStringLiteral("full/") + QFileInfo(picture).path());
            writeFile(old.filePath(QStringLiteral("full/") + picture), "there");
        }
        old.mkpath(QStringLiteral("lists"));
        old.mkpath(QStringLiteral("forms"));
        MainWindow window(old.filePath(QStringLiteral("script.txt")));
        const QDir target(old.filePath(newFolder));
        ModalAnswerer answerer(answerWith(target.filePath(QStringLiteral("copy.txt")), answer));
        window.findChild<QAction *>(QStringLiteral("mSAVEAS"))->trigger();

        QCOMPARE(answerer.records().size(), answer.isEmpty() ? 1 : 2);
        if (!answer.isEmpty()) {
            QCOMPARE(answerer.records().at(1).objectName, QStringLiteral("copyFilesQuestion"));
            QCOMPARE(answerer.records().at(1).informativeText, foldersNote);
        }
        QStringList found;
        for (const QString &picture : {QStringLiteral("zarvo.png"), QStringLiteral("pics/logo.png")}) {
            if (!newFolder.isEmpty() && readFile(target.filePath(picture)) == "picture")
                found << picture;
        }
        QCOMPARE(found, copied);
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("New save file created. All future modifications "
                                                               "will be saved into the selected file."));
    }
};

QTEST_MAIN(TestFileMenu)
#include "tst_filemenu.moc"
