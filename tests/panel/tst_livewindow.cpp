// SPDX-License-Identifier: MIT
// Live Window from the control panel: when live runs happen, what a failed
// one shows (and does not), Ctrl+click, the cursor's frame, the focus, and
// the panel as it was with Live Window off.

#include "editor/scripteditor.h"
#include "panel/livecontroller.h"
#include "panel/mainwindow.h"
#include "panel/panelsettings.h"
#include "panel/scriptdocument.h"
#include "panel/sourcefiles.h"
#include "support/modalhelper.h"
#include "support/testscript.h"
#include "toolkit/livewindow.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWindow>

using testsupport::ModalAnswerer;

namespace {
const QString kScript = QStringLiteral("CreateWindow 400, 10, 300, 200, w, , \"Live\"\r\n"
                                       "CreateButton 8, 8, 80, 24, a, -, \"A\"\r\n"
                                       "CreateTextbox 8, 40, 80, 22, t, -, \"text\"\r\n");

// Types text at the end of the editor's line, as the user would.
void typeAtEndOfLine(editing::ScriptEditor *editor, int line, const QString &text)
{
    QTextCursor cursor(editor->document()->findBlockByNumber(line - 1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(cursor);
    QTest::keyClicks(editor, text);
}
} // namespace

class TestLiveWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void editRunsAfterTheIdleTime();
    void failureShowsNoBox_data();
    void failureShowsNoBox();
    void ctrlClickSelectsTheLine_data();
    void ctrlClickSelectsTheLine();
    void cursorFramesItsControl();
    void closes_data();
    void closes();
    void liveOffLeavesThePanelAsItWas();
    void compileOpensItsOwnWindowWhileLive();
    void rememberedBetweenStarts();
    void slowRunTurnsLiveOff();

private:
    QWidget *liveWindow() const { return m_window->live().liveWindow().window(); }
    QAction *liveAction() const { return m_window->findChild<QAction *>(QStringLiteral("mLIVE")); }
    QString statusLine() const { return m_window->statusPanel(1)->text(); }
    void goLive();

    QTemporaryDir m_dir;
    panel::MainWindow *m_window = nullptr;
};

void TestLiveWindow::init()
{
    panel::panelSettings()->setValue(QStringLiteral("liveWindow"), false);
    m_window = new panel::MainWindow;
    m_window->findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    m_window->document().setPath(m_dir.filePath(QStringLiteral("script.txt")));
    m_window->editor()->setText(kScript);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->editor()->setFocus();
}

void TestLiveWindow::cleanup()
{
    delete m_window;
    for (QWidget *window : testsupport::outputWindows())
        toolkit::unloadWindow(window);
}

void TestLiveWindow::goLive()
{
    liveAction()->trigger();
    QVERIFY(liveWindow());
    QVERIFY(QTest::qWaitForWindowExposed(liveWindow()));
    // The offscreen platform activates every window it shows, whatever the
    // window asks for; an X11 window manager lets the panel keep the focus.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->editor()->setFocus();
}

void TestLiveWindow::editRunsAfterTheIdleTime()
{
    goLive();
    QWidget *window = liveWindow();
    auto *button = window->findChild<QPushButton *>(QStringLiteral("a"));
    QCOMPARE(button->text(), QStringLiteral("A"));
    // Moving the cursor is no edit.
    m_window->editor()->moveCursor(QTextCursor::End);
    QTest::qWait(panel::LiveController::kIdleMilliseconds * 2);
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("a")), button);

    typeAtEndOfLine(m_window->editor(), 2, QStringLiteral("\b\bB\""));
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("a"))->text(), QStringLiteral("A"));
    QTRY_COMPARE(window->findChild<QPushButton *>(QStringLiteral("a"))->text(), QStringLiteral("B"));
    QCOMPARE(liveWindow(), window);
    QVERIFY(m_window->isActiveWindow());
    QVERIFY(!window->isActiveWindow());
    QCOMPARE(QApplication::focusWidget(), m_window->editor());
}

void TestLiveWindow::failureShowsNoBox_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("typed"); // at the end of that line
    QTest::addColumn<QString>("strip");
    QTest::addColumn<QString>("status");
    QTest::newRow("missing control") << 3 << "\rSetCaption nope, \"N\""
                                     << "Line 4: Control 'nope' not found"
                                     << "Live: line 4: error 730: Control 'nope' not found";
    QTest::newRow("unknown command") << 3 << "\rSetcaption a, \"N\""
                                     << "Line 4: Unknown command: Setcaption"
                                     << "Live: line 4: unknown command: Setcaption";
    QTest::newRow("line too short") << 2 << "\b\b\b\b\b\b\b\b\b"
                                    << "Line 2: Subscript out of range"
                                    << "Live: line 2: error 9: Subscript out of range";
}

void TestLiveWindow::failureShowsNoBox()
{
    QFETCH(int, line);
    QFETCH(QString, typed);
    QFETCH(QString, strip);
    QFETCH(QString, status);
    goLive();
    QWidget *window = liveWindow();
    QWidget *button = window->findChild<QWidget *>(QStringLiteral("a"));
    editing::ScriptEditor *editor = m_window->editor();
    ModalAnswerer answerer;

    typeAtEndOfLine(editor, line, typed);
    const int selectionStart = editor->selStart();
    QTRY_COMPARE(m_window->live().liveWindow().errorText(), strip);
    QCOMPARE(statusLine(), status);
    QCOMPARE(editor->markerLine(), strip.section(u' ', 1, 1).chopped(1).toInt());
    QVERIFY(!editor->markerToolTip().isEmpty());
    QCOMPARE(liveWindow(), window);
    QCOMPARE(window->findChild<QWidget *>(QStringLiteral("a")), button);
    QCOMPARE(editor->selStart(), selectionStart);
    QCOMPARE(QApplication::focusWidget(), editor);
    QVERIFY(answerer.records().isEmpty());

    editor->undo();
    QTRY_VERIFY(m_window->live().liveWindow().errorText().isEmpty());
    QCOMPARE(editor->markerLine(), 0);
    QCOMPARE(statusLine(), QString());
    QVERIFY(answerer.records().isEmpty());
}

void TestLiveWindow::ctrlClickSelectsTheLine_data()
{
    QTest::addColumn<QString>("clicked"); // a control's name, or empty for the window itself
    QTest::addColumn<QString>("selected");
    QTest::newRow("button") << "a" << "CreateButton 8, 8, 80, 24, a, -, \"A\"";
    QTest::newRow("text box") << "t" << "CreateTextbox 8, 40, 80, 22, t, -, \"text\"";
    QTest::newRow("window") << "" << "CreateWindow 400, 10, 300, 200, w, , \"Live\"";
}

void TestLiveWindow::ctrlClickSelectsTheLine()
{
    QFETCH(QString, clicked);
    QFETCH(QString, selected);
    goLive();
    QWidget *target = clicked.isEmpty() ? liveWindow() : liveWindow()->findChild<QWidget *>(clicked);
    QTest::mouseClick(target, Qt::LeftButton, Qt::ControlModifier, clicked.isEmpty() ? QPoint(200, 150) : QPoint(4, 4));
    QCOMPARE(m_window->editor()->textCursor().selectedText(), selected);
    QTRY_VERIFY(m_window->isActiveWindow());
    // The click went to the line, not to the control.
    if (auto *edit = qobject_cast<QLineEdit *>(target))
        QVERIFY(!edit->hasFocus());
}

void TestLiveWindow::cursorFramesItsControl()
{
    goLive();
    toolkit::LiveWindow &live = m_window->live().liveWindow();
    editing::ScriptEditor *editor = m_window->editor();
    editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(2)));
    QCOMPARE(live.overlay()->outlined(), liveWindow()->findChild<QWidget *>(QStringLiteral("t")));
    editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(0)));
    QCOMPARE(live.overlay()->outlined(), nullptr);
}

void TestLiveWindow::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("liveAfter");
    QTest::newRow("unchecking Live Window") << "uncheck" << false;
    QTest::newRow("its close box") << "close box" << false;
    QTest::newRow("opening another script") << "open" << true;
}

void TestLiveWindow::closes()
{
    QFETCH(QString, how);
    QFETCH(bool, liveAfter);
    goLive();
    QPointer<QWidget> window = liveWindow();
    if (how == QLatin1String("uncheck")) {
        liveAction()->trigger();
    } else if (how == QLatin1String("close box")) {
        // As the window system hands on a click on the close box.
        QCloseEvent closeBox;
        QCoreApplication::sendEvent(window->windowHandle(), &closeBox);
    } else {
        const QString other = m_dir.filePath(QStringLiteral("other.txt"));
        testsupport::writeFile(other, "CreateWindow 10, 10, 200, 100, w, , \"Other\"\r\n");
        QVERIFY(m_window->sourceFiles().load(other));
    }
    QTRY_VERIFY(!window);
    QCOMPARE(liveAction()->isChecked(), liveAfter);
    QCOMPARE(panel::panelSettings()->value(QStringLiteral("liveWindow")).toBool(), liveAfter);
    if (liveAfter)
        QTRY_COMPARE(liveWindow() ? liveWindow()->windowTitle() : QString(), QStringLiteral("Other"));
}

void TestLiveWindow::liveOffLeavesThePanelAsItWas()
{
    // Off at the first start; the Run menu holds it after a separator.
    QVERIFY(!liveAction()->isChecked());
    const QList<QAction *> run = m_window->findChild<QMenu *>(QStringLiteral("mRUN"))->actions();
    QCOMPARE(run.value(2)->isSeparator(), true);
    QCOMPARE(run.value(3), liveAction());
    QCOMPARE(liveAction()->shortcut(), QKeySequence(Qt::Key_F6));

    typeAtEndOfLine(m_window->editor(), 3, QStringLiteral("\rSetCaption nope, \"N\""));
    QTest::qWait(panel::LiveController::kIdleMilliseconds * 2);
    QVERIFY(!liveWindow());
    QCOMPARE(m_window->editor()->markerLine(), 0);
    QVERIFY(testsupport::outputWindows().isEmpty());
}

void TestLiveWindow::compileOpensItsOwnWindowWhileLive()
{
    goLive();
    testsupport::writeFile(m_window->document().path(), (kScript + "SetCaption nope, \"N\"\r\n").toUtf8());
    ModalAnswerer answerer;
    m_window->findChild<QPushButton *>(QStringLiteral("cmdCompile"))->click();
    QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Trapped Error...")});
    QCOMPARE(answerer.records()[0].text, QStringLiteral("Cannot find the control named 'nope'."));
    testsupport::writeFile(m_window->document().path(), kScript.toUtf8());
    m_window->findChild<QPushButton *>(QStringLiteral("cmdCompile"))->click();
    QCOMPARE(statusLine(), QStringLiteral("Compiled sucessfully..."));
    // The live window and COMPILE's own.
    QCOMPARE(testsupport::outputWindows().size(), 2);
    QVERIFY(liveWindow()->isVisible());
}

void TestLiveWindow::rememberedBetweenStarts()
{
    goLive();
    delete m_window;
    m_window = new panel::MainWindow;
    QVERIFY(liveAction()->isChecked());
    QVERIFY(m_window->findChild<QAction *>(QStringLiteral("mDESIGN"))->isEnabled());
    m_window->findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    m_window->editor()->setText(kScript);
    QTRY_VERIFY(liveWindow());
}

void TestLiveWindow::slowRunTurnsLiveOff()
{
    m_window->live().setSlowRunLimit(0); // every run is too slow
    liveAction()->trigger();
    QVERIFY(!liveWindow() || !liveWindow()->isVisible());
    QVERIFY(!liveAction()->isChecked());
    QVERIFY(statusLine().startsWith(QStringLiteral("Live: a run took longer than a second")));
    // What the next start remembers stays as the user chose it.
    QVERIFY(panel::panelSettings()->value(QStringLiteral("liveWindow")).toBool());
    typeAtEndOfLine(m_window->editor(), 2, QStringLiteral(" "));
    QTest::qWait(panel::LiveController::kIdleMilliseconds * 2);
    QVERIFY(!liveWindow() || !liveWindow()->isVisible());
    // Turned on again by the user, with runs that are fast enough.
    m_window->live().setSlowRunLimit(panel::LiveController::kSlowRunMilliseconds);
    goLive();
    QVERIFY(liveAction()->isChecked());
}

QTEST_MAIN(TestLiveWindow)
#include "tst_livewindow.moc"
