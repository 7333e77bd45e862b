// SPDX-License-Identifier: MIT
#include "editor/scripteditor.h"
#include "files/recovery.h"
#include "panel/filebar.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "support/modalhelper.h"
#include "support/testscript.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>
#include <unistd.h>

using panel::MainWindow;
using testsupport::readFile;
using testsupport::writeFile;

namespace {
const QByteArray kOriginal = "SetText t1, \"mine\"\r\n";
const QByteArray kAppended = "SetText t2, \"theirs\"\r\n";
const QByteArray kAppendedLf = "SetText t2, \"theirs\"\n"; // a save would make it CR LF
const QByteArray kReplacement = "SetText t3, \"replaced\"\r\n";
const QByteArray kElsewhere = "; another file\r\n";

void setAutosave(MainWindow &window, bool on)
{
    auto *action = window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"));
    if (action->isChecked() != on)
        action->trigger();
}

// What another program does to the script, and what the path then leads to.
QByteArray changeOutside(const QString &change, const QString &path)
{
    const QString other = QFileInfo(path).dir().filePath(QStringLiteral("other.txt"));
    if (change.startsWith(QLatin1String("append"))) {
        const QByteArray appended = change.endsWith(QLatin1String("LF")) ? kAppendedLf : kAppended;
        QFile file(path);
        if (!file.open(QIODevice::Append) || file.write(appended) != appended.size())
            return "append failed";
        return kOriginal + appended;
    }
    if (change == QLatin1String("replace")) {
        writeFile(other, kReplacement);
        return std::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) == 0
            ? kReplacement
            : "rename failed";
    }
    QFile::remove(path);
    if (change == QLatin1String("link")) {
        writeFile(other, kElsewhere);
        return QFile::link(other, path) ? kElsewhere : "link failed";
    }
    return QByteArray(); // deleted
}

QString barText(MainWindow &window)
{
    return window.fileBar()->isVisible() ? window.fileBar()->findChild<QLabel *>(QStringLiteral("lblFileBar"))->text()
                                         : QString();
}

QStringList barButtons(MainWindow &window)
{
    QStringList shown;
    for (const char *name : {"cmdReload", "cmdOverwrite", "cmdSaveAs", "cmdEditAnyway"}) {
        if (window.fileBar()->findChild<QPushButton *>(QLatin1String(name))->isVisibleTo(window.fileBar()))
            shown << QLatin1String(name);
    }
    return shown;
}

void undo(MainWindow &window)
{
    QTest::keyClick(window.editor(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window.document().waitForSaves());
}
} // namespace

class TestFileChanges : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<MainWindow> m_window;

    MainWindow &openOn(const QByteArray &bytes)
    {
        writeFile(m_path, bytes);
        m_window = std::make_unique<MainWindow>(m_path);
        m_window->show();
        return *m_window;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("script.txt"));
    }
    void cleanup()
    {
        m_window.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    // Another program changes the script while the panel is open. With
    // nothing newer in the editor the panel reads it again, as one edit undo
    // takes back; with edits of its own (a key typed after the change, before
    // the panel saw it; or autosave off) nothing is saved and the bar asks.
    void outsideChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("key"); // typed "before" or "after" the change, or not at all
        QTest::addColumn<bool>("autosave");
        QTest::addColumn<QStringList>("buttons"); // the bar's; none: the panel reloads
        QTest::addColumn<QString>("answer");      // the button pressed
        QTest::addColumn<QByteArray>("fileAfter");
        const QStringList changed{"cmdReload", "cmdOverwrite", "cmdSaveAs"};
        const QStringList deleted{"cmdOverwrite", "cmdSaveAs"};
        QTest::newRow("append while idle") << "append" << "" << true << QStringList() << "" << kOriginal;
        QTest::newRow("rename-replace while idle") << "replace" << "" << true << QStringList() << "" << kOriginal;
        QTest::newRow("delete while idle") << "delete" << "" << true << deleted << "cmdOverwrite"
                                           << "y" + kOriginal;
        QTest::newRow("a link swapped in") << "link" << "" << true << changed << "" << kElsewhere;
        QTest::newRow("append, then a key") << "append" << "after" << true << changed << "cmdReload"
                                            << "yx" + kOriginal;
        QTest::newRow("rename-replace, then a key") << "replace" << "after" << true << changed << "cmdOverwrite"
                                                    << "yx" + kOriginal;
        QTest::newRow("delete, then a key") << "delete" << "after" << true << deleted << "cmdOverwrite"
                                            << "yx" + kOriginal;
        // Reloaded, a file a save would change waits for a deliberate save.
        QTest::newRow("append with a lone LF, then a key")
            << "append LF" << "after" << true << changed << "cmdReload" << kOriginal + kAppendedLf;
        QTest::newRow("autosave off with edits") << "append" << "before" << false << changed << "cmdReload"
                                                 << kOriginal + kAppended;
    }
    void outsideChange()
    {
        QFETCH(QString, change);
        QFETCH(QString, key);
        QFETCH(bool, autosave);
        QFETCH(QStringList, buttons);
        QFETCH(QString, answer);
        QFETCH(QByteArray, fileAfter);
        MainWindow &w = openOn(kOriginal);
        setAutosave(w, autosave);
        if (key == QLatin1String("before"))
            QTest::keyClicks(w.editor(), QStringLiteral("x"));
        const QByteArray theirs = changeOutside(change, m_path);
        if (key == QLatin1String("after")) {
            QTest::keyClicks(w.editor(), QStringLiteral("x"));
            QVERIFY(w.document().waitForSaves());
        }
        if (buttons.isEmpty()) {
            QTRY_COMPARE(w.editor()->text(), QString::fromLatin1(theirs));
            QCOMPARE(w.statusPanel(1)->text(),
                     QStringLiteral("Source reloaded: another program changed ") + m_path + QStringLiteral("."));
            QCOMPARE(w.statusPanel(2)->text(), QString());
            QCOMPARE(readFile(m_path), theirs);
            // The size panel follows the reload.
            QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("%1 bytes").arg(theirs.size()));
            undo(w); // brings back the text before the reload, saved as any edit
            QCOMPARE(w.editor()->text(), QString::fromLatin1(kOriginal));
            QCOMPARE(readFile(m_path), fileAfter);
            return;
        }
        QTRY_VERIFY(w.fileBar()->isVisible());
        QVERIFY(barText(w).startsWith(QStringLiteral("script.txt was ")
                                      + (change == "delete" ? "deleted on disk" : "changed by another program")));
        QCOMPARE(barButtons(w), buttons);
        QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("MODIFIED"));
        // Autosave waits: the next key is kept in the editor only.
        QTest::keyClick(w.editor(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(w.editor(), QStringLiteral("y"));
        QVERIFY(w.document().waitForSaves());
        QCOMPARE(readFile(m_path), theirs);
        QCOMPARE(QFile::exists(m_path), !theirs.isEmpty());
        if (answer.isEmpty()) {
            QCOMPARE(readFile(QFileInfo(m_path).dir().filePath(QStringLiteral("other.txt"))), fileAfter);
            return;
        }
        w.fileBar()->findChild<QPushButton *>(answer)->click();
        QVERIFY(w.document().waitForSaves());
        QVERIFY(!w.fileBar()->isVisible());
        if (answer == QLatin1String("cmdReload")) {
            // The editor gives every line break as CR LF.
            QCOMPARE(w.editor()->text(), QString::fromLatin1(theirs).replace("\r\n", "\n").replace('\n', "\r\n"));
            undo(w);
        }
        QCOMPARE(readFile(m_path), fileAfter);
    }

    // A second panel on a file another panel has open says so, is read-only
    // until the user chooses otherwise, and follows the other's saves.
    void twoPanelsOnOneFile()
    {
        MainWindow &first = openOn(kOriginal);
        MainWindow second(m_path);
        second.show();
        QCOMPARE(barText(first), QString());
        QCOMPARE(barText(second), QStringLiteral("script.txt is open in another Zarvo (process %1): shown read-only, "
                                                 "following its saves.")
                                      .arg(::getpid()));
        QVERIFY(second.editor()->isReadOnly());
        QTest::keyClicks(first.editor(), QStringLiteral("A"));
        QVERIFY(first.document().waitForSaves());
        QTRY_COMPARE(second.editor()->text(), QStringLiteral("A") + QString::fromLatin1(kOriginal));
        second.fileBar()->findChild<QPushButton *>(QStringLiteral("cmdEditAnyway"))->click();
        QVERIFY(!second.editor()->isReadOnly());
        QCOMPARE(barText(second), QString());
        QTest::keyClicks(second.editor(), QStringLiteral("B"));
        QVERIFY(second.document().waitForSaves());
        QCOMPARE(readFile(m_path), "BA" + kOriginal);
        QTRY_COMPARE(first.editor()->text(), QStringLiteral("BA") + QString::fromLatin1(kOriginal));
    }

    // A state folder other users can write keeps no recovery copies: the
    // first load says so, once.
    void stateFolderProblemIsSaid()
    {
        QTemporaryDir state;
        QVERIFY(QDir(state.path()).mkdir(QStringLiteral("zarvo")));
        QVERIFY(QFile::setPermissions(state.filePath(QStringLiteral("zarvo")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::WriteGroup | QFile::ExeGroup));
        const QByteArray ownState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        MainWindow &w = openOn(kOriginal);
        const QString status = w.statusPanel(1)->text();
        QVERIFY(w.sourceFiles().load(m_path));
        qputenv("XDG_STATE_HOME", ownState);
        QVERIFY2(status.startsWith(QStringLiteral("Source code loaded. Waiting... The state folder ")), qPrintable(status));
        QVERIFY(status.contains(QStringLiteral("can be written by other users")));
        QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("Source code loaded. Waiting..."));
    }

    // Quit, and a signal that ends the program, wait for the save under way;
    // a signal keeps edits that autosave did not save as a recovery copy.
    void endingKeepsEdits_data()
    {
        QTest::addColumn<bool>("autosave");
        QTest::addColumn<bool>("bySignal");
        QTest::newRow("quit") << true << false;
        QTest::newRow("signal") << true << true;
        QTest::newRow("signal with autosave off") << false << true;
    }
    void endingKeepsEdits()
    {
        QFETCH(bool, autosave);
        QFETCH(bool, bySignal);
        MainWindow &w = openOn(kOriginal);
        setAutosave(w, autosave);
        QTest::keyClicks(w.editor(), QStringLiteral("x"));
        testsupport::ModalAnswerer answerer;
        if (bySignal)
            w.closeForSignal();
        else
            QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QVERIFY(answerer.records().isEmpty());
        QCOMPARE(readFile(m_path), autosave ? "x" + kOriginal : kOriginal);
        QCOMPARE(files::pendingRecoveryCopy(m_path), autosave ? std::nullopt : std::optional("x" + kOriginal));
        files::discardRecoveryCopy(m_path);
    }
};

QTEST_MAIN(TestFileChanges)
#include "tst_filechanges.moc"
