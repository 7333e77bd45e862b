// SPDX-License-Identifier: MIT
#include "editor/findbar.h"
#include "editor/scripteditor.h"
#include "panel/mainwindow.h"
#include "panel/sourcefiles.h"
#include "support/modalhelper.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ModalAnswerer;

namespace {
void setAutosave(panel::MainWindow &window, bool on)
{
    window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(on);
}

QString focusName() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
} // namespace

// The control panel from the keyboard: where the focus goes, and what each key does.
class TestKeyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void focusAndTabOrder();
    void keysTriggerTheirActions_data();
    void keysTriggerTheirActions();
    void editCommandsFromAnyFocus();
    void goToLineFocusesTheEditor_data();
    void goToLineFocusesTheEditor();
    void cleanup()
    {
        for (QWidget *window : testsupport::outputWindows())
            toolkit::unloadWindow(window);
    }
};

void TestKeyboard::focusAndTabOrder()
{
    panel::MainWindow window;
    setAutosave(window, false);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(focusName(), QStringLiteral("rtbEdit"));
    QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("fraMain"))->focusPolicy(), Qt::NoFocus);

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *focus;
    } steps[] = {
        {Qt::Key_Tab, Qt::NoModifier, "rtbEdit"}, // a tab character
        {Qt::Key_Tab, Qt::ControlModifier, "cmdCompile"},
        {Qt::Key_Tab, Qt::NoModifier, "cmdStepCompile"},
        {Qt::Key_Tab, Qt::NoModifier, "rtbEdit"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "cmdStepCompile"},
        {Qt::Key_Backtab, Qt::ShiftModifier, "cmdCompile"},
        {Qt::Key_Backtab, Qt::ShiftModifier, "rtbEdit"},
    };
    for (const auto &step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key, step.modifiers);
        QCOMPARE(focusName(), QLatin1String(step.focus));
    }
    QCOMPARE(window.editor()->text(), QStringLiteral("\t"));
}

void TestKeyboard::keysTriggerTheirActions_data()
{
    QTest::addColumn<QString>("focus"); // empty: the editor, as at start-up
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("search"); // in the find bar's field beforehand
    QTest::addColumn<QStringList>("effects");

    const QString compiled = QStringLiteral("status Compiled sucessfully...");
    const QStringList stepped{"dialog Cheese Armpits", "selected 0+22", compiled};
    QTest::newRow("Ctrl+N asks for a new file")
        << "" << "Ctrl+N" << "" << QStringList{"dialog New source file...", "status New file cancelled."};
    QTest::newRow("Ctrl+O opens") << "" << "Ctrl+O" << ""
                                  << QStringList{"dialog Select source file...", "status No new source file selected."};
    QTest::newRow("Ctrl+Shift+S saves as") << "" << "Ctrl+Shift+S" << ""
                                           << QStringList{"dialog Save source file as...", "status Save As cancelled."};
    QTest::newRow("Ctrl+Q quits") << "" << "Ctrl+Q" << "" << QStringList{"closed"};
    QTest::newRow("Ctrl+S saves without autosave") << "" << "Ctrl+S" << "" << QStringList{"saved"};
    QTest::newRow("F5 compiles") << "" << "F5" << "" << QStringList{compiled};
    QTest::newRow("F8 steps") << "" << "F8" << "" << stepped;
    QTest::newRow("Ctrl+F finds") << "" << "Ctrl+F" << "" << QStringList{"find bar"};
    QTest::newRow("F3 finds the next") << "" << "F3" << "ab" << QStringList{"selected 16+2"};
    QTest::newRow("Shift+F3 finds the previous, wrapping") << "" << "Shift+F3" << "ab" << QStringList{"selected 19+2"};
    QTest::newRow("F3 with nothing to find opens the bar") << "" << "F3" << "" << QStringList{"find bar"};
    QTest::newRow("Ctrl+G goes to a line") << "" << "Ctrl+G" << "" << QStringList{"dialog Go to Line"};
    QTest::newRow("F1 shows the reference") << "cmdCompile" << "F1" << "" << QStringList{"help"};
    QTest::newRow("Alt+F opens the File menu") << "" << "Alt+F" << "" << QStringList{"menu mFILE"};
    QTest::newRow("Return presses COMPILE") << "cmdCompile" << "Return" << "" << QStringList{compiled};
    QTest::newRow("Space presses STEP COMPILE") << "cmdStepCompile" << "Space" << "" << stepped;
}

void TestKeyboard::keysTriggerTheirActions()
{
    QFETCH(QString, focus);
    QFETCH(QString, key);
    QFETCH(QString, search);
    QFETCH(QStringList, effects);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("script.txt"));
    const QByteArray script = "SetWindowTitle \"ab ab\"\r\n";
    testsupport::writeFile(path, script);
    // An old modification time shows when Ctrl+S writes the file again.
    const QDateTime old(QDate(2000, 1, 1), QTime(0, 0));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    panel::MainWindow window;
    setAutosave(window, false);
    window.sourceFiles().load(path);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (!focus.isEmpty())
        window.findChild<QWidget *>(focus)->setFocus();
    window.findBar()->field()->setText(search);
    const QString status = window.statusPanel(1)->text();
    editing::ScriptEditor *editor = window.editor();
    const auto selection = [editor] { return QStringLiteral("%1+%2").arg(editor->selStart()).arg(editor->selLength()); };
    const QString selectedBefore = selection();

    ModalAnswerer answerer;
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
    QStringList seen;
    for (const testsupport::ModalRecord &record : answerer.records())
        seen << "dialog " + record.title;
    if (QWidget *popup = QApplication::activePopupWidget()) {
        seen << "menu " + popup->objectName();
        popup->close();
    }
    if (!window.isVisible())
        seen << "closed";
    if (auto *help = window.findChild<QWidget *>(QStringLiteral("wHelp")); help && help->isVisible())
        seen << "help";
    if (window.findBar()->isVisible() && QApplication::focusWidget() == window.findBar()->field())
        seen << "find bar";
    if (selection() != selectedBefore)
        seen << "selected " + selection();
    if (window.statusPanel(1)->text() != status)
        seen << "status " + window.statusPanel(1)->text();
    if (QFileInfo(path).lastModified() != old)
        seen << (testsupport::readFile(path) == script ? "saved" : "file changed");
    QCOMPARE(seen, effects);
}

// Each step presses a key with the focus on COMPILE: the Edit menu's command
// acts on the editor and leaves the focus there; its items follow the editor.
void TestKeyboard::editCommandsFromAnyFocus()
{
    panel::MainWindow window;
    setAutosave(window, false);
    window.editor()->setText(QString());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClicks(window.editor(), QStringLiteral("ab"));
    const auto enabled = [&window] {
        QStringList names;
        for (const char *name : {"actUndo", "actRedo", "actCut", "actCopy"}) {
            if (window.findChild<QAction *>(QLatin1String(name))->isEnabled())
                names << QLatin1String(name);
        }
        return names.join(QLatin1Char(' '));
    };
    QCOMPARE(enabled(), QStringLiteral("actUndo"));

    const struct {
        const char *key;
        const char *text;
        const char *enabled;
    } steps[] = {
        {"Ctrl+Z", "", "actRedo"},
        {"Ctrl+Y", "ab", "actUndo"},
        {"Ctrl+Z", "", "actRedo"},
        {"Ctrl+Shift+Z", "ab", "actUndo"},
        {"Ctrl+A", "ab", "actUndo actCut actCopy"},
        {"Ctrl+C", "ab", "actUndo actCut actCopy"},
        {"Ctrl+X", "", "actUndo"},
        {"Ctrl+V", "ab", "actUndo"},
    };
    auto *compile = window.findChild<QWidget *>(QStringLiteral("cmdCompile"));
    for (const auto &step : steps) {
        compile->setFocus();
        QTest::keySequence(compile, QKeySequence(QLatin1String(step.key)));
        QCOMPARE(window.editor()->text(), QLatin1String(step.text));
        QCOMPARE(focusName(), QStringLiteral("rtbEdit"));
        QCOMPARE(enabled(), QLatin1String(step.enabled));
    }
}

void TestKeyboard::goToLineFocusesTheEditor_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("COMPILE") << "cmdCompile";
    QTest::newRow("STEP COMPILE") << "cmdStepCompile";
    QTest::newRow("the find bar") << "txtFind";
}

void TestKeyboard::goToLineFocusesTheEditor()
{
    QFETCH(QString, from);
    panel::MainWindow window;
    setAutosave(window, false);
    window.editor()->setText(QStringLiteral("one\r\ntwo\r\nthree"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findBar()->open();
    window.findChild<QWidget *>(from)->setFocus();
    ModalAnswerer answerer([](QWidget *modal, int) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        dialog->setIntValue(3);
        dialog->accept();
    });
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(QStringLiteral("Ctrl+G")));
    QCOMPARE(window.editor()->textCursor().blockNumber(), 2);
    // The window's focus, which the platform gives back once the dialog is gone.
    QCOMPARE(window.focusWidget(), window.editor());
    // Typed keys go to the line, not to the button or the search field.
    QTest::keyClicks(window.focusWidget(), QStringLiteral(">"));
    QCOMPARE(window.editor()->text(), QStringLiteral("one\r\ntwo\r\n>three"));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
