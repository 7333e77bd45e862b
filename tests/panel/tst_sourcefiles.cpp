// SPDX-License-Identifier: MIT
#include "editor/scripteditor.h"
#include "files/recovery.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "support/modalhelper.h"
#include "support/testscript.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <dirent.h>
#include <memory>

using panel::MainWindow;
using testsupport::FileSizeLimit;
using testsupport::ModalAnswerer;
using testsupport::readFile;
using testsupport::removeByName;
using testsupport::writeFile;

Q_DECLARE_METATYPE(files::TextEncoding)

namespace {
QString defaultScript() { return QCoreApplication::applicationDirPath() + QStringLiteral("/GUI_All.txt"); }

QString panelText(MainWindow &window, int index) { return window.statusPanel(index)->text(); }

// Types keys into the editor and waits until the saves they started are
// written and their results shown.
void typeText(MainWindow &window, const QString &keys)
{
    QTest::keyClicks(window.editor(), keys);
    QVERIFY(window.document().waitForSaves());
}

void setAutosave(MainWindow &window, bool on)
{
    auto *action = window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"));
    if (action->isChecked() != on)
        action->trigger();
}

// Types path into a shown file dialog and confirms it as the user would; run
// also runs once the dialog has accepted, before the caller sees the path.
void choosePath(QWidget *modal, const QString &path, std::function<void()> run = {})
{
    auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    if (run)
        QObject::connect(qobject_cast<QDialog *>(modal), &QDialog::accepted, run);
    edit->setText(path);
    QTest::keyClick(edit, Qt::Key_Return);
}

void pressButton(QWidget *modal, QMessageBox::StandardButton which)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    QVERIFY(box);
    box->button(which)->click();
}

// Counted by their bytes: QDir leaves out names that are not UTF-8.
int fileCount(const QString &folder)
{
    int count = 0;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    while (const dirent *entry = dir ? ::readdir(dir) : nullptr)
        count += entry->d_type == DT_REG;
    if (dir)
        ::closedir(dir);
    return count;
}

} // namespace

class TestSourceFiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    QString m_path;

    MainWindow &window() { return *m_window; }
    // A control panel on a script in the temporary folder.
    MainWindow &openOn(const QByteArray &bytes)
    {
        writeFile(m_path, bytes);
        m_window = std::make_unique<MainWindow>();
        m_window->show();
        m_window->document().setPath(m_path);
        m_window->sourceFiles().load(m_path);
        return *m_window;
    }

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("script.txt"));
    }
    void cleanup()
    {
        m_window.reset();
        removeByName(m_path);
        QFile::remove(defaultScript());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void savesBytesExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<files::TextEncoding>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<files::TextEncoding>("next"); // the encoding later saves use
        const auto utf8 = files::TextEncoding::Utf8;
        const auto cp1252 = files::TextEncoding::Windows1252;
        QTest::newRow("abc") << "abc" << utf8 << QByteArray("abc\r\n") << utf8;
        QTest::newRow("empty") << "" << utf8 << QByteArray("\r\n") << utf8;
        QTest::newRow("ends with a break") << "a\r\nb\r\n" << utf8 << QByteArray("a\r\nb\r\n") << utf8;
        QTest::newRow("utf-8") << QString::fromUtf16(u"é€\u00A0ok") << utf8 << QByteArray("\xC3\xA9\xE2\x82\xAC\xC2\xA0ok\r\n") << utf8;
        QTest::newRow("windows-1252") << QString::fromUtf16(u"é€\u00A0ok") << cp1252 << QByteArray("\xE9\x80\xA0ok\r\n") << cp1252;
        QTest::newRow("1252 lacks a character") << QString::fromUtf16(u"é ā") << cp1252 << QByteArray("\xC3\xA9 \xC4\x81\r\n") << utf8;
    }
    void savesBytesExactly()
    {
        QFETCH(QString, text);
        QFETCH(files::TextEncoding, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(files::TextEncoding, next);
        // A file with a byte that is no UTF-8 is read as Windows-1252.
        MainWindow &w = openOn(encoding == files::TextEncoding::Windows1252 ? QByteArray("\xE9") : QByteArray());
        QCOMPARE(w.document().encoding(), encoding);
        setAutosave(w, false);
        w.editor()->setText(text);
        w.document().saveTo(m_path);
        QCOMPARE(readFile(m_path), bytes);
        QCOMPARE(panelText(w, 2), QString());
        QCOMPARE(w.document().encoding(), next);
    }

    void loadThenSaveKeepsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        const QString script = QStringLiteral("script.txt");
        QTest::newRow("crlf lines") << QByteArray("CreateWindow 1, 2\r\n\r\n; done\r\n") << script;
        QTest::newRow("lf lines keep lf") << QByteArray("CreateWindow 1, 2\n\n; done\n") << script;
        QTest::newRow("lf lines, no final break") << QByteArray("a\nb") << script;
        QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e\xC2\xA0\xE2\x80\xA8x\r\n")
                               << script;
        QTest::newRow("windows-1252 0x80-0xFF") << high + "\r\n" << script;
        // The bytes s\xE9.txt (platform/filenames.h): that file, never a second.
        QTest::newRow("a file name that is not UTF-8") << QByteArray("a\r\n") << QString::fromUtf16(u"s\xDCE9.txt");
    }
    void loadThenSaveKeepsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        m_path = m_dir.filePath(name);
        MainWindow &w = openOn(bytes);
        QCOMPARE(readFile(m_path), bytes); // the load itself wrote nothing
        w.document().saveTo(m_path);
        const QByteArray saved = bytes.endsWith('\n') ? bytes : bytes + "\n";
        QCOMPARE(readFile(m_path), saved);
        typeText(w, QStringLiteral("x")); // and an edit keeps every other byte
        QCOMPARE(readFile(m_path), QByteArray("x") + saved);
        QCOMPARE(fileCount(m_dir.path()), 1);
        // the same characters reach the compile run's decoding as the editor's
        if (saved == bytes)
            QCOMPARE(files::readTextFile(m_path).text.replace(QLatin1String("\r\n"), QLatin1String("\n")),
                     w.editor()->text().replace(QLatin1String("\r\n"), QLatin1String("\n")));
    }

    void startupWithDefaultScript()
    {
        writeFile(defaultScript(), "abc");
        MainWindow w;
        QCOMPARE(panelText(w, 1), QStringLiteral("Source code loaded. Waiting..."));
        QCOMPARE(panelText(w, 2), QString());
        QCOMPARE(panelText(w, 3), QStringLiteral("3 bytes"));
        QCOMPARE(readFile(defaultScript()), QByteArray("abc"));
    }

    void startupWithoutDefaultScript()
    {
        MainWindow w;
        w.show();
        QCOMPARE(panelText(w, 1), QStringLiteral("Error loading source ") + w.document().path() + QStringLiteral("."));
        QCOMPARE(w.editor()->text(), QString());
        QVERIFY(!QFile::exists(defaultScript()));
        typeText(w, QStringLiteral("x"));
        QCOMPARE(readFile(defaultScript()), QByteArray("x\r\n"));
    }

    // The bytes the file holds, in its encoding and line breaks, after the
    // load and after a key typed at its start, saved at once or not.
    void sizeDisplay_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << QByteArray() << "0 bytes" << "1 bytes";
        QTest::newRow("no final line break") << QByteArray("abc") << "3 bytes" << "4 bytes";
        QTest::newRow("CR LF counts two") << QByteArray("a\r\nb") << "4 bytes" << "5 bytes";
        QTest::newRow("grouped") << QByteArray(1233, 'a') + "\r\n" << "1,235 bytes" << "1,236 bytes";
        QTest::newRow("LF counts one") << QByteArray("a\nb\n") << "4 bytes" << "5 bytes";
        QTest::newRow("UTF-8 letter, two") << QByteArray("\xC3\xA9\r\n") << "4 bytes" << "5 bytes";
        QTest::newRow("Windows-1252 letter, one") << QByteArray("\xE9\r\n") << "3 bytes" << "4 bytes";
        QTest::newRow("UTF-16 with its mark") << QByteArray("\xFF\xFE" "a\0\r\0\n\0", 8) << "8 bytes" << "10 bytes";
    }
    void sizeDisplay()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, loaded);
        QFETCH(QString, typed);
        for (const bool autosave : {true, false}) {
            MainWindow &w = openOn(file);
            setAutosave(w, autosave);
            QCOMPARE(panelText(w, 3), loaded);
            typeText(w, QStringLiteral("x"));
            QCOMPARE(panelText(w, 3), typed);
        }
    }

    void autosaveMarkDecidesSaving()
    {
        MainWindow &w = openOn("abc\r\n");
        typeText(w, QStringLiteral("1"));
        QCOMPARE(readFile(m_path), QByteArray("1abc\r\n"));
        QCOMPARE(panelText(w, 2), QString());
        setAutosave(w, false);
        typeText(w, QStringLiteral("2"));
        QCOMPARE(panelText(w, 2), QStringLiteral("MODIFIED"));
        QVERIFY(w.isWindowModified());
        setAutosave(w, true); // the toggle itself saves nothing
        QCOMPARE(readFile(m_path), QByteArray("1abc\r\n"));
        QCOMPARE(panelText(w, 2), QStringLiteral("MODIFIED"));
        typeText(w, QStringLiteral("3"));
        QCOMPARE(readFile(m_path), QByteArray("123abc\r\n"));
        QCOMPARE(panelText(w, 2), QString());
        QVERIFY(!w.isWindowModified());
    }

    void loadNeverMarksModified()
    {
        MainWindow &w = openOn("abc\r\n");
        setAutosave(w, false);
        typeText(w, QStringLiteral("x"));
        QVERIFY(w.sourceFiles().load(m_path));
        QCOMPARE(panelText(w, 2), QString());
        QCOMPARE(w.editor()->text(), QStringLiteral("abc\r\n"));
    }

    void failedLoadIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("missing file") << "none.txt" << ".";
        QTest::newRow("missing folder") << "none/x.txt" << ": Path not found.";
        QTest::newRow("folder") << "folder" << ": Path/File access error.";
    }
    void failedLoadIsReported()
    {
        QFETCH(QString, name);
        QFETCH(QString, suffix);
        MainWindow &w = openOn("kept\r\n");
        QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
        const QString path = m_dir.filePath(name);
        QVERIFY(!w.sourceFiles().load(path));
        QCOMPARE(panelText(w, 1), QStringLiteral("Error loading source ") + path + suffix);
        QCOMPARE(w.editor()->text(), QStringLiteral("kept\r\n"));
        QVERIFY(!w.document().isLoading());
    }

    // Files the editor holds in another form: a load plus an edit still
    // writes back their own bytes.
    void editKeepsEncodedForm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("edited");
        QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE" "a\0\r\0\n\0", 8) << QByteArray("\xFF\xFEx\0a\0\r\0\n\0", 10);
        QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF\0a\0\n", 6) << QByteArray("\xFE\xFF\0x\0a\0\n", 8);
        QTest::newRow("UTF-32LE") << QByteArray("\xFF\xFE\0\0a\0\0\0", 8) << QByteArray("\xFF\xFE\0\0x\0\0\0a\0\0\0\r\0\0\0\n\0\0\0", 20);
    }
    void editKeepsEncodedForm()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, edited);
        MainWindow &w = openOn(bytes);
        QCOMPARE(w.editor()->text().left(1), QStringLiteral("a"));
        typeText(w, QStringLiteral("x"));
        QCOMPARE(readFile(m_path), edited);
    }

    // A file a save would change, or one the editor cannot show, is never
    // rewritten behind the user's back.
    void fileKeptUntilSavedOnPurpose_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("status");
        QTest::newRow("lone CR") << QByteArray("a\rb\r\n")
                                 << "A save would change this file: CR without LF becomes CR LF. "
                                    "Autosave is off until you save on purpose.";
        QTest::newRow("line too long for the editor")
            << "x " + QByteArray(1 << 20, 'x')
            << "Error loading source %1: a line of 1,048,578 characters is longer than the editor can hold "
               "(1,048,576). Autosave is off, so the file is not overwritten.";
    }
    void fileKeptUntilSavedOnPurpose()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, status);
        writeFile(m_path, bytes);
        m_window = std::make_unique<MainWindow>();
        MainWindow &w = *m_window;
        w.document().setPath(m_path);
        w.sourceFiles().load(m_path);
        QCOMPARE(panelText(w, 1), status.arg(m_path));
        QVERIFY(!w.autosaveChecked());
        typeText(w, QStringLiteral("y"));
        QCOMPARE(readFile(m_path), bytes);
        QCOMPARE(panelText(w, 2), QStringLiteral("MODIFIED"));
        // The next file that loads clean has autosave back.
        const QString clean = m_dir.filePath(QStringLiteral("clean.txt"));
        writeFile(clean, "clean\r\n");
        QVERIFY(w.sourceFiles().load(clean));
        QVERIFY(w.autosaveChecked());
    }

    // An in-place save cut short left its text in a recovery copy: the load
    // says so and asks, Discard being the default; Restore puts it back as
    // an edit that undo takes back, Discard drops it.
    void recoveryCopyIsOffered_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("stale"); // the file was written again since
        QTest::newRow("restore") << true << false;
        QTest::newRow("discard") << false << false;
        QTest::newRow("stale copy, not offered") << true << true;
    }
    void recoveryCopyIsOffered()
    {
        QFETCH(bool, restore);
        QFETCH(bool, stale);
        // Cut inside a UTF-8 character, the file reads as Windows-1252.
        QByteArray torn = "torn Gr\xC3";
        const QByteArray whole = "whole Gr\xC3\xBC\xC3\x9F" "e\r\n";
        writeFile(m_path, torn);
        files::keepRecoveryCopy(QFile::encodeName(m_path), whole);
        if (stale) {
            torn = "written again by another program\r\n";
            writeFile(m_path + QStringLiteral(".new"), torn);
            QVERIFY(std::rename(QFile::encodeName(m_path + QStringLiteral(".new")).constData(),
                                QFile::encodeName(m_path).constData()) == 0);
        }
        QStringList asked;
        QString defaultButton;
        ModalAnswerer answerer([&](QWidget *modal, int) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            asked.append(modal->objectName());
            defaultButton = box->defaultButton()->text();
            const QString wanted = restore ? QStringLiteral("Restore") : QStringLiteral("Discard");
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == wanted)
                    button->click();
            }
        });
        MainWindow &w = openOn(torn);
        if (stale) {
            QCoreApplication::processEvents();
            QCOMPARE(panelText(w, 1), QStringLiteral("Source code loaded. Waiting..."));
            QCOMPARE(asked, QStringList());
            QVERIFY(!files::pendingRecoveryCopy(m_path));
            QCOMPARE(readFile(m_path), torn);
            return;
        }
        QVERIFY(panelText(w, 1).contains(QStringLiteral("recovery copy")));
        QTRY_COMPARE(asked, QStringList{QStringLiteral("recoveryQuestion")});
        QCOMPARE(defaultButton, QStringLiteral("Discard"));
        QVERIFY(w.document().waitForSaves());
        QCOMPARE(readFile(m_path), restore ? whole : torn);
        QVERIFY(!files::pendingRecoveryCopy(m_path));
        if (!restore)
            return;
        QTest::keyClick(w.editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.editor()->text(), QString::fromLatin1(torn));
    }

    void failedSaveKeepsFile_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("folder is a file") << "folder";
        QTest::newRow("target is a folder") << "target";
        QTest::newRow("disk full") << "disk";
    }
    void failedSaveKeepsFile()
    {
        QFETCH(QString, obstacle);
        const QByteArray previous = QByteArray(20000, 'p') + "\r\n";
        MainWindow &w = openOn(previous);
        QString path = m_path;
        QString kept = m_path; // the file that must stay byte-identical
        if (obstacle == QLatin1String("folder")) {
            path = m_path + QStringLiteral("/inner.txt");
        } else if (obstacle == QLatin1String("target")) {
            path = m_dir.filePath(QStringLiteral("target"));
            QVERIFY(QDir().mkpath(path));
            kept = path + QStringLiteral("/inside.txt");
            writeFile(kept, previous);
        }
        w.document().setPath(path);
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (obstacle == QLatin1String("disk"))
                limit = std::make_unique<FileSizeLimit>(64 * 1024);
            w.editor()->setText(QString(100000, QLatin1Char('n')));
            typeText(w, QStringLiteral("x"));
            typeText(w, QStringLiteral("y")); // later edits are still handled
        }
        const QString status = panelText(w, 1);
        QVERIFY2(status.startsWith(QStringLiteral("Error saving source ") + path + QStringLiteral(": ")),
                 qPrintable(status));
        QVERIFY(status.size() > QStringLiteral("Error saving source : ").size() + path.size());
        QCOMPARE(panelText(w, 2), QStringLiteral("MODIFIED"));
        QCOMPARE(readFile(kept), previous);
        QCOMPARE(readFile(m_path), previous);
        QCOMPARE(w.editor()->text().left(3), QStringLiteral("xyn"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        w.document().setPath(m_dir.filePath(QStringLiteral("other.txt")));
        typeText(w, QStringLiteral("z")); // the next good save clears the marker
        QCOMPARE(panelText(w, 2), QString());
    }

    void openChoosesFile()
    {
        MainWindow &w = openOn("first\r\n");
        const QString other = m_dir.filePath(QStringLiteral("other.txt"));
        writeFile(other, "second\r\n");
        ModalAnswerer answerer([&](QWidget *modal, int) { choosePath(modal, other); });
        w.findChild<QAction *>(QStringLiteral("mOPEN"))->trigger();
        QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Select source file...")});
        QCOMPARE(w.document().path(), other);
        QCOMPARE(w.editor()->text(), QStringLiteral("second\r\n"));
        QCOMPARE(panelText(w, 1), QStringLiteral("Source code loaded. Waiting..."));
    }

    void cancelledDialogs_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("status");
        QTest::newRow("open") << "mOPEN" << "No new source file selected.";
        QTest::newRow("save as") << "mSAVEAS" << "Save As cancelled.";
    }
    void cancelledDialogs()
    {
        QFETCH(QString, menu);
        QFETCH(QString, status);
        MainWindow &w = openOn("text\r\n");
        setAutosave(w, false);
        typeText(w, QStringLiteral("x"));
        QString startFolder;
        ModalAnswerer answerer([&](QWidget *modal, int) {
            if (qobject_cast<QMessageBox *>(modal)) {
                pressButton(modal, QMessageBox::Discard);
                return;
            }
            startFolder = qobject_cast<QFileDialog *>(modal)->directory().absolutePath();
            modal->close();
        });
        w.findChild<QAction *>(menu)->trigger();
        QCOMPARE(startFolder, m_dir.path()); // the script's folder, not the working one
        QVERIFY(ModalAnswerer::centredAndWholeTitle(answerer.records().at(0), w)); // the question
        QCOMPARE(panelText(w, 1), status);
        QCOMPARE(w.document().path(), m_path);
        QCOMPARE(w.editor()->text(), QStringLiteral("xtext\r\n"));
        QCOMPARE(panelText(w, 2), QStringLiteral("MODIFIED"));
    }

    void failedOpenKeepsPath()
    {
        MainWindow &w = openOn("first\r\n");
        const QString other = m_dir.filePath(QStringLiteral("other.txt"));
        writeFile(other, "second\r\n");
        // The chosen file disappears between the choice and the load.
        ModalAnswerer answerer([&](QWidget *modal, int) { choosePath(modal, other, [&] { QFile::remove(other); }); });
        w.findChild<QAction *>(QStringLiteral("mOPEN"))->trigger();
        QCOMPARE(panelText(w, 1), QStringLiteral("Error loading source ") + other + QStringLiteral("."));
        QCOMPARE(w.document().path(), m_path);
        typeText(w, QStringLiteral("x"));
        QCOMPARE(readFile(m_path), QByteArray("xfirst\r\n"));
        QVERIFY(!QFile::exists(other));
    }

    void saveAs_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("saved") << false;
        QTest::newRow("failed") << true;
    }
    void saveAs()
    {
        QFETCH(bool, fails);
        MainWindow &w = openOn("text\r\n");
        const QString target = m_dir.filePath(QStringLiteral("copy.txt"));
        ModalAnswerer answerer([&](QWidget *modal, int) {
            choosePath(modal, target, [&] { if (fails) QDir().mkpath(target); });
        });
        w.findChild<QAction *>(QStringLiteral("mSAVEAS"))->trigger();
        if (fails) {
            QVERIFY(panelText(w, 1).startsWith(QStringLiteral("Error saving source ") + target + QStringLiteral(": ")));
            QCOMPARE(w.document().path(), m_path);
        } else {
            QCOMPARE(panelText(w, 1), QStringLiteral("New save file created. All future modifications will be "
                                                     "saved into the selected file."));
            QCOMPARE(w.document().path(), target);
            QCOMPARE(readFile(target), QByteArray("text\r\n"));
        }
    }

    void unsavedChangesQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("save") << int(QMessageBox::Save) << true << QByteArray("xabc\r\n");
        QTest::newRow("discard") << int(QMessageBox::Discard) << true << QByteArray("abc\r\n");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << QByteArray("abc\r\n");
    }
    void unsavedChangesQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(QByteArray, file);
        MainWindow &w = openOn("abc\r\n");
        setAutosave(w, false);
        typeText(w, QStringLiteral("x"));
        ModalAnswerer answerer([&](QWidget *modal, int index) {
            if (index == 0)
                pressButton(modal, QMessageBox::StandardButton(answer));
            else
                modal->close(); // the Open dialog that follows
        });
        QCOMPARE(w.close(), closed);
        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(readFile(m_path), file);
        if (closed)
            return;
        QVERIFY(w.isVisible());
        QCOMPARE(panelText(w, 2), QStringLiteral("MODIFIED"));
        w.findChild<QAction *>(QStringLiteral("mOPEN"))->trigger(); // asks too; Cancel shows no dialog
        QCOMPARE(answerer.records().size(), 2);
        QCOMPARE(answerer.records().at(1).objectName, QStringLiteral("unsavedChangesQuestion"));
    }

    void noQuestionWithAutosave()
    {
        MainWindow &w = openOn("abc\r\n");
        typeText(w, QStringLiteral("x"));
        ModalAnswerer answerer;
        QVERIFY(w.close());
        QVERIFY(answerer.records().isEmpty());
    }
};

QTEST_MAIN(TestSourceFiles)
#include "tst_sourcefiles.moc"
