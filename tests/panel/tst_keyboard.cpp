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

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
