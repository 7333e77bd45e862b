// SPDX-License-Identifier: MIT
#include "editor/findbar.h"
#include "editor/scripteditor.h"
#include "interpreter/compilesource.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "panel/stepwindow.h"
#include "support/modalhelper.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ModalAnswerer;

namespace {
// Calls see for every event any object receives while it lives.
class EventSpy : public QObject {
public:
    explicit EventSpy(std::function<void(QObject *, QEvent *)> see) : m_see(std::move(see))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_see(watched, event);
        return false;
    }

private:
    std::function<void(QObject *, QEvent *)> m_see;
};
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namedWidgets_data();
    void namedWidgets();
    void menusHoldEveryCommand_data();
    void menusHoldEveryCommand();
    void accessibleNames_data();
    void accessibleNames();
    void windowDesign();
    void startUpWithMissingDefaultScript();
    void startUpLoadsDefaultScript();
    void aboutBox();
    void compileButtonRunsTheCurrentFile();
    void closingUnloadsNewestFirst();
    void layoutFollowsResize_data();
    void layoutFollowsResize();
    void busyCursorOnlyWhileTheRunWorks_data();
    void busyCursorOnlyWhileTheRunWorks();
    void titleNamesTheFile();
    void findBarBelowTheScrollBar();
    void cutStatusShowsWholeInToolTip();
    void helpShowsTheDocumentation_data();
    void helpShowsTheDocumentation();
    void cleanup();
};

void TestMainWindow::cleanup()
{
    for (QWidget *window : testsupport::outputWindows())
        toolkit::unloadWindow(window);
}

void TestMainWindow::namedWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("key"); // a menu item's shortcut
    QTest::newRow("COMPILE") << "cmdCompile" << "COMPILE" << "Compile the whole program" << "";
    QTest::newRow("STEP COMPILE") << "cmdStepCompile" << "STEP COMPILE" << "Compile one line of code at a time" << "";
    QTest::newRow("File") << "mFILE" << "&File" << "" << "";
    QTest::newRow("Open") << "mOPEN" << "&Open..." << "" << "Ctrl+O";
    QTest::newRow("Save As") << "mSAVEAS" << "&Save As..." << "" << "Ctrl+Shift+S";
    QTest::newRow("Quit") << "mQUIT" << "&Quit" << "" << "Ctrl+Q";
    QTest::newRow("Edit") << "mEDIT" << "&Edit" << "" << "";
    QTest::newRow("autosave") << "mSAVEATEVERYEDIT" << "Save source at every edit" << "" << "";
    QTest::newRow("Help") << "mHELP" << "&Help" << "" << "";
    QTest::newRow("About") << "mABOUT" << "&About" << "" << "";
}

void TestMainWindow::namedWidgets()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, key);
    panel::MainWindow window;
    QObject *object = window.findChild<QObject *>(name);
    QVERIFY2(object, qPrintable(name));
    if (auto *button = qobject_cast<QPushButton *>(object)) {
        QCOMPARE(button->text(), text);
        QCOMPARE(button->toolTip(), toolTip);
    } else if (auto *menu = qobject_cast<QMenu *>(object)) {
        QCOMPARE(menu->title(), text);
    } else if (auto *action = qobject_cast<QAction *>(object)) {
        QCOMPARE(action->text(), text);
        QCOMPARE(action->shortcut(), QKeySequence(key));
    } else {
        QFAIL("unexpected kind of object");
    }
}

// The defined items keep their order among themselves; the others stand
// around them.
void TestMainWindow::menusHoldEveryCommand_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items"); // unnamed separators left out
    QTest::newRow("File") << "mFILE"
                          << QStringList{"actNew", "mOPEN", "actOpenRecent", "actSave", "mSAVEAS", "blank0", "mQUIT"};
    QTest::newRow("Edit") << "mEDIT"
                          << QStringList{"actUndo", "actRedo", "actCut", "actCopy", "actPaste", "actSelectAll",
                                         "actFind", "actFindNext", "actFindPrevious", "actGoToLine",
                                         "mSAVEATEVERYEDIT"};
    QTest::newRow("Run") << "mRUN" << QStringList{"actCompile", "actStepCompile", "mLIVE", "mDESIGN"};
    QTest::newRow("Help") << "mHELP" << QStringList{"actScriptReference", "actShellModes", "mABOUT"};
}

void TestMainWindow::menusHoldEveryCommand()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    panel::MainWindow window;
    QStringList names;
    for (const QAction *action : window.findChild<QMenu *>(menu)->actions()) {
        if (!action->objectName().isEmpty())
            names << action->objectName();
    }
    QCOMPARE(names, items);
}

void TestMainWindow::accessibleNames_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("editor") << "rtbEdit" << "Script" << "";
    QTest::newRow("gutter") << "gutter" << "Line numbers" << "";
    QTest::newRow("COMPILE") << "cmdCompile" << "Compile" << "Compile the whole program";
    QTest::newRow("STEP COMPILE") << "cmdStepCompile" << "Step compile" << "Compile one line of code at a time";
    QTest::newRow("status line: its text") << "Panel1" << "Compiling ..." << "Status";
    QTest::newRow("size panel") << "Panel3" << "" << "Size";
    QTest::newRow("find field, by its label") << "txtFind" << "Find:" << "";
    QTest::newRow("find bar's close button") << "cmdFindClose" << "Close the find bar" << "Close (Escape)";
    QTest::newRow("find result") << "lblFindResult" << "Not found" << "Search result";
    QTest::newRow("step window's button") << "cmdCompileNextLine" << "Compile the next line" << "";
}

void TestMainWindow::accessibleNames()
{
    QFETCH(QString, objectName);
    QFETCH(QString, name);
    QFETCH(QString, description);
    panel::MainWindow window;
    window.setStatus(QStringLiteral("Compiling ..."));
    window.statusPanel(3)->clear();
    window.findBar()->field()->setText(QStringLiteral("no such text anywhere"));
    window.findBar()->findNext();
    panel::StepWindow step;
    QWidget *widget = window.findChild<QWidget *>(objectName);
    if (!widget)
        widget = step.findChild<QWidget *>(objectName);
    QVERIFY2(widget, qPrintable(objectName));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(face->text(QAccessible::Description), description);
}

void TestMainWindow::windowDesign()
{
    panel::MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("wMain"));
    QVERIFY(window.windowTitle().endsWith(QStringLiteral(" - Zarvo - Control Panel")));
    QCOMPARE(window.windowIcon().availableSizes().value(0), QSize(32, 32));
    for (const char *name : {"fraMain", "rtbEdit", "StatusBar", "Panel1", "Panel2", "Panel3", "Panel4"})
        QVERIFY2(window.findChild<QWidget *>(QLatin1String(name)), name);
    QVERIFY(window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->isChecked());
    QVERIFY(window.findChild<QAction *>(QStringLiteral("blank0"))->isSeparator());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.clientSize(), QSize(608, 347));
    QCOMPARE(window.statusBar()->height(), 18);

    // A size display with a thousands separator is shown whole.
    window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    window.editor()->setText(QString(12345, QLatin1Char('x')));
    QLabel *size = window.statusPanel(3);
    QTRY_VERIFY(size->width() >= size->sizeHint().width());
    QVERIFY(size->text().startsWith(QStringLiteral("12,345")));
}

void TestMainWindow::startUpWithMissingDefaultScript()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("GUI_All.txt"));
    QFile::remove(path);
    panel::MainWindow window;
    QCOMPARE(window.document().path(), path);
    QCOMPARE(window.statusPanel(1)->text(), "Error loading source " + path + ".");
    QCOMPARE(window.editor()->text(), QString());
}

void TestMainWindow::startUpLoadsDefaultScript()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("GUI_All.txt"));
    const QByteArray script = "; sample\r\nCreateWindow 1, 2, 300, 200, x, , \"T\"\r\n";
    testsupport::writeFile(path, script);
    {
        panel::MainWindow window;
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Source code loaded. Waiting..."));
        QCOMPARE(window.editor()->text(), QString::fromLatin1(script));
    }
    // The load alone never rewrites the file.
    QCOMPARE(testsupport::readFile(path), script);
    QFile::remove(path);
}

void TestMainWindow::aboutBox()
{
    panel::MainWindow window;
    const QString text = panel::aboutText();
    QCOMPARE(text.count(QStringLiteral("\r\n")), 1);
    QCOMPARE(text.count(QLatin1Char('\n')), 1);
    QVERIFY(!text.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QVERIFY(lines[0].startsWith(QStringLiteral("Zarvo ")));
    QVERIFY(lines[1].startsWith(QString(11, QLatin1Char(' '))));
    QVERIFY(lines[1].at(11) != QLatin1Char(' '));

    ModalAnswerer answerer;
    window.findChild<QAction *>(QStringLiteral("mABOUT"))->trigger();
    QCOMPARE(answerer.records().size(), 1);
    QCOMPARE(answerer.records()[0].title, QStringLiteral("About..."));
    QCOMPARE(answerer.records()[0].text, text);
    QCOMPARE(answerer.records()[0].iconStyle, 64);
    QCOMPARE(answerer.records()[0].owner, QStringLiteral("wMain"));
    QVERIFY(ModalAnswerer::centredAndWholeTitle(answerer.records()[0], window));
}

void TestMainWindow::compileButtonRunsTheCurrentFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.txt"));
    testsupport::writeFile(path, "CreateWindow 1, 2, 300, 200, x, , \"Clicked\"");
    panel::MainWindow window;
    window.document().setPath(path);
    window.findChild<QPushButton *>(QStringLiteral("cmdCompile"))->click();
    QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Compiled sucessfully..."));
    QWidget *output = window.findChild<QWidget *>(QStringLiteral("wTemplate"));
    QVERIFY(!output); // output windows have no owner
    const QList<QWidget *> loaded = toolkit::loadedWindows();
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[1]->windowTitle(), QStringLiteral("Clicked"));
    toolkit::unloadWindow(loaded[1]);
}

void TestMainWindow::closingUnloadsNewestFirst()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.txt"));
    testsupport::writeFile(path, "CreateWindow 1, 2, 300, 200, x, , \"W\"");
    auto *window = new panel::MainWindow;
    window->show();
    interpreter::compileSource(path, 0, window->runHost());
    interpreter::compileSource(path, 0, window->runHost());
    QList<QWidget *> loaded = toolkit::loadedWindows();
    QCOMPARE(loaded.size(), 3);
    QCOMPARE(loaded[0], window);

    QStringList order;
    loaded[1]->setWindowTitle(QStringLiteral("older"));
    loaded[2]->setWindowTitle(QStringLiteral("newer"));
    for (QWidget *w : loaded) {
        const QString title = w->windowTitle();
        connect(w, &QObject::destroyed, [&order, title] { order.append(title); });
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->findChild<QAction *>(QStringLiteral("mQUIT"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(order, (QStringList{"newer", "older", "GUI_All.txt[*] - Zarvo - Control Panel"}));
    QVERIFY(toolkit::loadedWindows().isEmpty());
}

void TestMainWindow::layoutFollowsResize_data()
{
    QTest::addColumn<int>("dw");
    QTest::addColumn<int>("dh");
    QTest::addColumn<bool>("editorHeightFollows");
    QTest::newRow("design size") << 0 << 0 << true;
    QTest::newRow("ten pixels larger") << 10 << 10 << true;
    QTest::newRow("wider and shorter") << 200 << -100 << true;
    QTest::newRow("too short for the editor") << -100 << -320 << false;
}

void TestMainWindow::layoutFollowsResize()
{
    QFETCH(int, dw);
    QFETCH(int, dh);
    QFETCH(bool, editorHeightFollows);
    panel::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *frame = window.findChild<QGroupBox *>(QStringLiteral("fraMain"));
    auto *editor = window.findChild<QWidget *>(QStringLiteral("rtbEdit"));
    auto *compile = window.findChild<QWidget *>(QStringLiteral("cmdCompile"));
    const QRect compileBefore = compile->geometry();
    const int editorHeightBefore = editor->height();

    window.resize(window.width() + dw, window.height() + dh);
    QTRY_COMPARE(window.clientSize(), QSize(608 + dw, 347 + dh));
    const QSize client = window.clientSize();
    QCOMPARE(frame->geometry(), QRect(1, -5, client.width() - 2, client.height() - 15));
    // The editor ends 5 pixels inside the frame's right edge and 6 above its bottom.
    QCOMPARE(editor->mapTo(frame, QPoint(0, 0)), QPoint(6, 38));
    QCOMPARE(editor->width(), frame->width() - 11);
    if (editorHeightFollows)
        QCOMPARE(editor->height(), frame->height() - 44);
    else
        QCOMPARE(editor->height(), editorHeightBefore);
    QCOMPARE(compile->geometry(), compileBefore);
}

void TestMainWindow::busyCursorOnlyWhileTheRunWorks_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("seen");
    // The run builds its window, then fails on line 2 with a box.
    QTest::newRow("COMPILE") << "cmdCompile"
                             << QStringList{"painted Compiling ...", "busy at the run window",
                                            "idle at UNTRAPPED ERROR..."};
    QTest::newRow("STEP COMPILE") << "cmdStepCompile"
                                  << QStringList{"painted Compiling ...", "idle at Cheese Armpits",
                                                 "busy at the run window", "idle at Cheese Armpits",
                                                 "idle at UNTRAPPED ERROR..."};
}

void TestMainWindow::busyCursorOnlyWhileTheRunWorks()
{
    QFETCH(QString, button);
    QFETCH(QStringList, seen);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("script.txt"));
    testsupport::writeFile(path, "CreateWindow 10, 10, 200, 150, w, , \"T\"\r\nCreateButton x, 8, 80, 24, b, -, \"B\"");
    panel::MainWindow window;
    window.document().setPath(path);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStringList saw;
    const auto cursor = [] {
        const QCursor *override = QGuiApplication::overrideCursor();
        return QString::fromLatin1(override && override->shape() == Qt::WaitCursor ? "busy" : "idle");
    };
    QLabel *statusLine = window.statusPanel(1);
    EventSpy spy([&](QObject *watched, QEvent *event) {
        if (event->type() == QEvent::Paint && watched == statusLine && statusLine->text() == "Compiling ..."
            && !saw.contains("painted Compiling ..."))
            saw << "painted Compiling ...";
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("wTemplate"))
            saw << cursor() + " at the run window";
    });
    ModalAnswerer answerer([&](QWidget *modal, int) {
        saw << cursor() + " at " + modal->windowTitle();
        modal->close();
    });
    window.findChild<QPushButton *>(button)->click();
    QCOMPARE(saw, seen);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::titleNamesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("order.zarvo"));
    testsupport::writeFile(path, "SetWindowTitle \"x\"\r\n");
    panel::MainWindow window(path);
    window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("order.zarvo[*] - Zarvo - Control Panel"));
    QCOMPARE(window.windowFilePath(), path);
    QCOMPARE(window.windowHandle()->title(), QStringLiteral("order.zarvo - Zarvo - Control Panel"));
    QTest::keyClicks(window.editor(), QStringLiteral("x"));
    QCOMPARE(window.windowHandle()->title(), QStringLiteral("order.zarvo* - Zarvo - Control Panel"));
}

// At the design size with a line wider than the editor, the open find bar
// shows whole below the horizontal scroll bar, inside the frame.
void TestMainWindow::findBarBelowTheScrollBar()
{
    panel::MainWindow window;
    window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    window.editor()->setText(QString(300, QLatin1Char('w')) + QStringLiteral("\r\nx"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *frame = window.findChild<QGroupBox *>(QStringLiteral("fraMain"));
    QWidget *bar = window.findBar();
    QScrollBar *sideways = window.editor()->horizontalScrollBar();
    window.findBar()->open();
    QTRY_VERIFY(bar->isVisible() && sideways->isVisible());
    QTRY_COMPARE(bar->height(), bar->sizeHint().height());
    const QRect barRect(bar->mapTo(frame, QPoint(0, 0)), bar->size());
    const QRect scrollRect(sideways->mapTo(frame, QPoint(0, 0)), sideways->size());
    QVERIFY(barRect.top() > scrollRect.bottom());
    QVERIFY(frame->contentsRect().contains(barRect));

    window.findBar()->dismiss();
    QTRY_COMPARE(window.editor()->height(), frame->height() - 44);
}

void TestMainWindow::cutStatusShowsWholeInToolTip()
{
    panel::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString saved =
        QStringLiteral("New save file created. All future modifications will be saved into the selected file.");
    window.setStatus(saved);
    QLabel *line = window.statusPanel(1);
    QCOMPARE(line->text(), saved);
    QVERIFY(line->toolTip().contains(saved));
    window.setStatus(QStringLiteral("Source code loaded. Waiting..."));
    QCOMPARE(line->toolTip(), QString());
}

void TestMainWindow::helpShowsTheDocumentation_data()
{
    QTest::addColumn<QString>("line"); // the editor's line, with the cursor in it
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("link"); // followed in the help window; empty: none
    QTest::addColumn<QString>("top"); // the first line the help window shows

    const QString button = QStringLiteral("CreateButton 8, 8, 80, 24, b, -, \"B\"");
    QTest::newRow("at the command") << button << "actScriptReference" << "" << "CreateButton";
    QTest::newRow("indented, another letter case") << "  createwindow 1" << "actScriptReference" << ""
                                                   << "CreateWindow";
    QTest::newRow("no command on the line") << "; comment" << "actScriptReference" << "" << "Zarvo script reference";
    QTest::newRow("shell modes") << button << "actShellModes" << "" << "Zarvo in shell scripts and CI";
    QTest::newRow("a link to a heading") << button << "actScriptReference" << "#how-a-run-reports-a-failure"
                                         << "How a run reports a failure";
    QTest::newRow("a link to another document's heading") << button << "actScriptReference"
                                                          << "control-panel.md#keyboard" << "Keyboard";
}

void TestMainWindow::helpShowsTheDocumentation()
{
    QFETCH(QString, line);
    QFETCH(QString, action);
    QFETCH(QString, link);
    QFETCH(QString, top);
    panel::MainWindow window;
    window.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    window.editor()->setText(QStringLiteral("; above\r\n") + line);
    window.editor()->goToLine(2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QAction *>(action)->trigger();
    auto *help = window.findChild<QWidget *>(QStringLiteral("wHelp"));
    QVERIFY(help && QTest::qWaitForWindowExposed(help));
    auto *browser = help->findChild<QTextBrowser *>(QStringLiteral("txtHelp"));
    if (!link.isEmpty())
        browser->setSource(browser->source().resolved(QUrl(link)));
    QTRY_COMPARE(browser->cursorForPosition(QPoint(4, 4)).block().text(), top);

    QTest::keySequence(browser, QKeySequence::Find);
    QTRY_COMPARE(QApplication::focusWidget(), help->findChild<QWidget *>(QStringLiteral("txtFind")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
