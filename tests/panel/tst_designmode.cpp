// SPDX-License-Identifier: MIT
// Design mode, driven with the mouse and the keys on the live window: what
// each move, size, addition and removal does to the script's bytes on disk,
// undo, the round trip of every kind (also at a scale factor of 2, as a
// second run of this program), and the controls taking input again after.

#include "editor/scripteditor.h"
#include "panel/livecontroller.h"
#include "panel/mainwindow.h"
#include "panel/panelsettings.h"
#include "panel/sourcefiles.h"
#include "support/modalhelper.h"
#include "support/testscript.h"
#include "toolkit/designoverlay.h"
#include "toolkit/livewindow.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

namespace {
const QString kScript = QStringLiteral("; layout, by hand\n"
                                       "CreateWindow 300, 10, 320, 240, w, , \"Design\"\n"
                                       "CreateButton   8,  8 , 80, 24, cmdA, -, \"A, b\"\n"
                                       "CreateCombobox 8, 40, 120, cboB, \"x\", \"One|Two\"\n"
                                       "CreateTextbox 8, 80, 100, 22, txtC, -, \"\xe9t\xe9\"\n");

QByteArray encoded(const QString &text, const QString &format)
{
    QString lines = text;
    if (format.contains(QLatin1String("CR LF")))
        lines.replace(u'\n', QLatin1String("\r\n"));
    if (!format.startsWith(QLatin1String("UTF-16")))
        return lines.toUtf8();
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(lines);
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at, Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

// A drag from one point to another in three steps; Alt keeps it off the grid.
void drag(QWidget *overlay, const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers = Qt::AltModifier)
{
    sendMouse(overlay, QEvent::MouseButtonPress, from, modifiers);
    for (int step = 1; step <= 3; ++step)
        sendMouse(overlay, QEvent::MouseMove, from + (to - from) * step / 3, modifiers);
    sendMouse(overlay, QEvent::MouseButtonRelease, to, modifiers);
}
} // namespace

class TestDesignMode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dragChangesOnlyTheNumbers_data();
    void dragChangesOnlyTheNumbers();
    void keys_data();
    void keys();
    void selectionKeys_data();
    void selectionKeys();
    void undoPutsTheLineBack();
    void roundTrip_data();
    void roundTrip();
    void windowEdges();
    void newControlAndDelete();
    void designOffGivesInputBack();

private:
    void open(const QByteArray &bytes);
    QString line(int number) const { return m_window->editor()->document()->findBlockByNumber(number - 1).text(); }
    toolkit::LiveWindow &live() const { return m_window->live().liveWindow(); }
    toolkit::DesignOverlay *overlay() const { return live().designOverlay(); }
    QWidget *control(const QString &name) const { return live().control(name); }
    // Waits for the live run after an edit.
    void settle() { QTest::qWait(panel::LiveController::kIdleMilliseconds * 2); }

    QTemporaryDir m_dir;
    QString m_path;
    panel::MainWindow *m_window = nullptr;
};

void TestDesignMode::init()
{
    panel::panelSettings()->setValue(QStringLiteral("liveWindow"), false);
    m_window = new panel::MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestDesignMode::cleanup()
{
    delete m_window;
    for (QWidget *window : testsupport::outputWindows())
        toolkit::unloadWindow(window);
}

void TestDesignMode::open(const QByteArray &bytes)
{
    m_path = m_dir.filePath(QStringLiteral("design.txt"));
    testsupport::writeFile(m_path, bytes);
    QVERIFY(m_window->sourceFiles().load(m_path));
    m_window->findChild<QAction *>(QStringLiteral("mLIVE"))->trigger();
    m_window->findChild<QAction *>(QStringLiteral("mDESIGN"))->trigger();
    QVERIFY(overlay());
    QVERIFY(QTest::qWaitForWindowExposed(live().window()));
}

void TestDesignMode::dragChangesOnlyTheNumbers_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : {"UTF-8 LF", "UTF-8 CR LF", "UTF-16 LF", "UTF-16 CR LF"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void TestDesignMode::dragChangesOnlyTheNumbers()
{
    QFETCH(QString, format);
    open(encoded(kScript, format));
    drag(overlay(), QPoint(48, 20), QPoint(65, 29));
    QCOMPARE(control(QStringLiteral("cmdA"))->pos(), QPoint(25, 17));
    QString expected = kScript;
    expected.replace(QLatin1String("CreateButton   8,  8 , 80"), QLatin1String("CreateButton   25,  17 , 80"));
    m_window->sourceFiles().finishSaves();
    QCOMPARE(testsupport::readFile(m_path), encoded(expected, format));
}

void TestDesignMode::keys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<QString>("expected");
    const Qt::KeyboardModifiers none;
    QTest::newRow("right") << "cmdA" << int(Qt::Key_Right) << none << 3
                           << "CreateButton   9,  8 , 80, 24, cmdA, -, \"A, b\"";
    QTest::newRow("Shift+Down") << "cmdA" << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 3
                                << "CreateButton   8,  16 , 80, 24, cmdA, -, \"A, b\"";
    QTest::newRow("Alt+Right: wider") << "cmdA" << int(Qt::Key_Right) << Qt::KeyboardModifiers(Qt::AltModifier) << 3
                                      << "CreateButton   8,  8 , 81, 24, cmdA, -, \"A, b\"";
    QTest::newRow("Alt+Shift+Down: taller")
        << "cmdA" << int(Qt::Key_Down) << (Qt::AltModifier | Qt::ShiftModifier) << 3
        << "CreateButton   8,  8 , 80, 32, cmdA, -, \"A, b\"";
    QTest::newRow("Alt+Left on a combo box: narrower")
        << "cboB" << int(Qt::Key_Left) << Qt::KeyboardModifiers(Qt::AltModifier) << 4
        << "CreateCombobox 8, 40, 119, cboB, \"x\", \"One|Two\"";
    QTest::newRow("Alt+Down on a combo box: nothing")
        << "cboB" << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier) << 4
        << "CreateCombobox 8, 40, 120, cboB, \"x\", \"One|Two\"";
}

void TestDesignMode::keys()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, lineNumber);
    QFETCH(QString, expected);
    open(encoded(kScript, "UTF-8 LF"));
    overlay()->setSelected(control(name));
    QTest::keyClick(overlay(), Qt::Key(key), modifiers);
    QCOMPARE(line(lineNumber), expected);
}

void TestDesignMode::selectionKeys_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("selected"); // empty: none
    QTest::newRow("Tab: the next in script order") << "cmdA" << int(Qt::Key_Tab) << Qt::KeyboardModifiers() << "cboB";
    QTest::newRow("Shift+Tab: the one before") << "txtC" << int(Qt::Key_Backtab)
                                               << Qt::KeyboardModifiers(Qt::ShiftModifier) << "cboB";
    QTest::newRow("Escape: none") << "cboB" << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << "";
}

void TestDesignMode::selectionKeys()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, selected);
    open(encoded(kScript, "UTF-8 LF"));
    overlay()->setSelected(control(from));
    QTest::keyClick(overlay(), Qt::Key(key), modifiers);
    QCOMPARE(overlay()->selected(), selected.isEmpty() ? nullptr : control(selected));
    if (!selected.isEmpty()) // the editor selects the control's line, as a click does
        QCOMPARE(m_window->editor()->textCursor().selectedText(), line(4));
    // The file is untouched: choosing is no edit.
    m_window->sourceFiles().finishSaves();
    QCOMPARE(testsupport::readFile(m_path), encoded(kScript, "UTF-8 LF"));
}

void TestDesignMode::undoPutsTheLineBack()
{
    open(encoded(kScript, "UTF-8 LF"));
    overlay()->setSelected(control(QStringLiteral("cmdA")));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(overlay(), Qt::Key_Right);
    drag(overlay(), QPoint(52, 20), QPoint(52, 50));
    QCOMPARE(line(3), QStringLiteral("CreateButton   11,  38 , 80, 24, cmdA, -, \"A, b\""));
    settle();
    QCOMPARE(control(QStringLiteral("cmdA"))->pos(), QPoint(11, 38));
    m_window->editor()->undo(); // the drag
    QCOMPARE(line(3), QStringLiteral("CreateButton   11,  8 , 80, 24, cmdA, -, \"A, b\""));
    // The cursor goes where the undone numbers are, as after any undo.
    QCOMPARE(m_window->editor()->textCursor().blockNumber(), 2);
    m_window->editor()->undo(); // the three keys
    QCOMPARE(line(3), QStringLiteral("CreateButton   8,  8 , 80, 24, cmdA, -, \"A, b\""));
    settle();
    QCOMPARE(control(QStringLiteral("cmdA"))->pos(), QPoint(8, 8));
    QCOMPARE(overlay()->selected(), control(QStringLiteral("cmdA")));
}

void TestDesignMode::roundTrip_data()
{
    QTest::addColumn<QString>("creation"); // a control named k at 16, 16
    QTest::newRow("button") << "CreateButton 16, 16, 80, 24, k, -, \"B\"";
    QTest::newRow("label") << "CreateLabel 16, 16, 80, 20, k, -, \"L\"";
    QTest::newRow("text box") << "CreateTextbox 16, 16, 80, 22, k, -, \"T\"";
    QTest::newRow("check box") << "CreateCheckbox 16, 16, 80, 22, k, -, \"C\"";
    QTest::newRow("combo box") << "CreateCombobox 16, 16, 120, k, \"x\", \"A|B\"";
    QTest::newRow("list box") << "CreateListbox 16, 16, 80, 60, k, -, \"A|B\"";
    QTest::newRow("frame") << "CreateFrame 16, 16, 120, 80, k, -, \"F\"";
    QTest::newRow("image") << "CreateImage 16, 16, 32, 32, k, -, \"\"";
    QTest::newRow("drive list") << "CreateDrivelist 16, 16, 120, k, -, \"/\"";
    QTest::newRow("folder list") << "CreateDirlist 16, 16, 120, 80, k, -, \".\"";
    QTest::newRow("file list") << "CreateFilelist 16, 16, 120, 80, k, -, \".\"";
}

// Dropped by a drag, then sized by its lower right handle (the right one
// for a kind without a height): run again, the control is where it was.
void TestDesignMode::roundTrip()
{
    QFETCH(QString, creation);
    open(("CreateWindow 300, 10, 320, 240, w, , \"Design\"\n" + creation + "\n").toUtf8());
    const QRect start = control(QStringLiteral("k"))->geometry();
    drag(overlay(), start.topLeft() + QPoint(4, 4), start.topLeft() + QPoint(17, 11));
    settle();
    QCOMPARE(control(QStringLiteral("k"))->geometry(), start.translated(13, 7));

    const bool widthOnly = creation.contains(QLatin1String("box 16")) || creation.contains(QLatin1String("Drive"));
    const Qt::Edges corner = widthOnly ? Qt::Edges(Qt::RightEdge) : (Qt::RightEdge | Qt::BottomEdge);
    QRect handle;
    for (const auto &[edges, place] : overlay()->handles()) {
        if (edges == corner)
            handle = place;
    }
    QVERIFY(!handle.isEmpty());
    drag(overlay(), handle.center(), handle.center() + QPoint(10, 6));
    settle();
    QCOMPARE(control(QStringLiteral("k"))->geometry(),
             start.translated(13, 7).adjusted(0, 0, 10, widthOnly ? 0 : 6));
}

// The window's edges size the window: its CreateWindow line takes the size.
void TestDesignMode::windowEdges()
{
    open(encoded(kScript, "UTF-8 LF"));
    QWidget *window = live().window();
    window->resize(window->size() + QSize(24, 16));
    const QSize outer = window->frameGeometry().size();
    QTRY_COMPARE(line(2), QStringLiteral("CreateWindow 300, 10, %1, %2, w, , \"Design\"").arg(outer.width()).arg(outer.height()));
    settle();
    QCOMPARE(live().window(), window);
    QCOMPARE(window->frameGeometry().size(), outer);
}

void TestDesignMode::newControlAndDelete()
{
    open(encoded(kScript + "SetCaption cmdA, \"Z\"\n", "UTF-8 LF"));
    QAction *button = m_window->findChild<QMenu *>(QStringLiteral("mADDCONTROL"))->actions().value(0);
    QCOMPARE(button->text(), QStringLiteral("Button"));
    for (const QPoint at : {QPoint(150, 126), QPoint(150, 170)}) {
        button->trigger();
        QVERIFY(overlay()->isArmed());
        sendMouse(overlay(), QEvent::MouseButtonPress, at, Qt::NoModifier);
        sendMouse(overlay(), QEvent::MouseButtonRelease, at, Qt::NoModifier);
        settle();
    }
    QCOMPARE(line(6), QStringLiteral("CreateButton 152, 128, 80, 24, cmd1, -, \"Button\""));
    QCOMPARE(line(7), QStringLiteral("CreateButton 152, 168, 80, 24, cmd2, -, \"Button\""));
    QCOMPARE(line(8), QStringLiteral("SetCaption cmdA, \"Z\""));
    QCOMPARE(control(QStringLiteral("cmd2"))->pos(), QPoint(152, 168));
    QCOMPARE(overlay()->selected(), control(QStringLiteral("cmd2")));

    // Taking away a control whose name a later line uses: that line fails,
    // in the strip and not in a box.
    testsupport::ModalAnswerer answerer;
    overlay()->setSelected(control(QStringLiteral("cmdA")));
    QTest::keyClick(overlay(), Qt::Key_Delete);
    QCOMPARE(line(3), QStringLiteral("CreateCombobox 8, 40, 120, cboB, \"x\", \"One|Two\""));
    settle();
    QCOMPARE(live().errorText(), QStringLiteral("Line 7: Control 'cmdA' not found"));
    QVERIFY(answerer.records().isEmpty());
    m_window->editor()->undo();
    QCOMPARE(line(3), QStringLiteral("CreateButton   8,  8 , 80, 24, cmdA, -, \"A, b\""));
    settle();
    QCOMPARE(live().errorText(), QString());
}

void TestDesignMode::designOffGivesInputBack()
{
    open(encoded(kScript, "UTF-8 LF"));
    QWidget *window = live().window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *text = qobject_cast<QLineEdit *>(control(QStringLiteral("txtC")));
    // Through the window, as the window system hands on a click.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, text->geometry().center());
    QCOMPARE(overlay()->selected(), text);
    QVERIFY(!text->hasFocus());
    QCOMPARE(m_window->editor()->textCursor().selectedText(), line(5));

    m_window->findChild<QAction *>(QStringLiteral("mDESIGN"))->trigger();
    QVERIFY(!overlay());
    QTest::mouseClick(text, Qt::LeftButton);
    QVERIFY(text->hasFocus());
    // Design mode goes with Live Window, and opens only with it.
    m_window->findChild<QAction *>(QStringLiteral("mLIVE"))->trigger();
    QVERIFY(!m_window->findChild<QAction *>(QStringLiteral("mDESIGN"))->isEnabled());
}

QTEST_MAIN(TestDesignMode)
#include "tst_designmode.moc"
