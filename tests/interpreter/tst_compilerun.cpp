// SPDX-License-Identifier: MIT
#include "cli/terminal.h"
#include "editor/scripteditor.h"
#include "interpreter/compilesource.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "platform/localerules.h"
#include "support/modalhelper.h"
#include "support/recordinghost.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ModalAnswerer;
using testsupport::outputWindows;

namespace {
void closeOutputWindows()
{
    for (QWidget *w : outputWindows())
        toolkit::unloadWindow(w);
}
} // namespace

class TestCompileRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void runOutcome_data();
    void runOutcome();
    void missingScriptReportsInStatusLine();
    void unknownKeywordHighlight_data();
    void unknownKeywordHighlight();
    void failurePlace_data();
    void failurePlace();
    void failureDetails_data();
    void failureDetails();
    void twoRunsGiveTwoWindows();
    void scriptIsReadFromFileNotEditor();

private:
    QString writeScript(const QByteArray &bytes);
    QString status() const { return m_window->statusPanel(1)->text(); }

    QTemporaryDir m_dir;
    panel::MainWindow *m_window = nullptr;
};

void TestCompileRun::init()
{
    m_window = new panel::MainWindow;
    // Edits made by the tests must not be written anywhere.
    m_window->findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
    m_window->document().setPath(m_dir.filePath(QStringLiteral("unused.txt")));
    m_window->show();
}

void TestCompileRun::cleanup()
{
    closeOutputWindows();
    delete m_window;
    m_window = nullptr;
}

QString TestCompileRun::writeScript(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("script.txt"));
    testsupport::writeFile(path, bytes);
    return path;
}

void TestCompileRun::runOutcome_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("finalStatus");
    QTest::addColumn<int>("windows");
    QTest::addColumn<QString>("boxTitle"); // empty: no message box
    QTest::addColumn<QString>("boxText");

    const QString ok = QStringLiteral("Compiled sucessfully...");
    const QString line1 = QStringLiteral("Compile failed at line 1");
    const QString line2 = QStringLiteral("Compile failed at line 2");
    const QString untrapped = QStringLiteral("UNTRAPPED ERROR...");
    const QByteArray window = "CreateWindow 10, 20, 300, 200, x, , \"Hello\"";

    QTest::newRow("empty script") << QByteArray() << ok << 0 << QString() << QString();
    QTest::newRow("only skipped lines") << QByteArray("\r\n   \r\n; comment\r\n") << ok << 0 << QString() << QString();
    QTest::newRow("one window, CR LF") << window + "\r\n" << ok << 1 << QString() << QString();
    QTest::newRow("LF line ends") << window + "\nSetWindowTitle \"T\"\n" << ok << 1 << QString() << QString();
    QTest::newRow("CR line ends") << window + "\rSetWindowTitle \"T\"" << ok << 1 << QString() << QString();
    QTest::newRow("UTF-8 byte order mark") << "\xEF\xBB\xBF" + window << ok << 1 << QString() << QString();
    QTest::newRow("line without a space") << window + "\r\nCreateWindow\r\n" << line2 << 0 << untrapped
                                          << "5: Invalid procedure call or argument";
    QTest::newRow("short line") << QByteArray("CreateWindow 1, 2, 3") << line1 << 0 << untrapped
                                << "9: Subscript out of range";
    QTest::newRow("left not a number") << QByteArray("CreateWindow a, 2, 3, 4, x, , \"T\"") << line1 << 0
                                       << untrapped << "13: Type mismatch";
    QTest::newRow("height not a number") << QByteArray("CreateWindow 1, 2, 3, h, x, , \"T\"") << line1 << 0
                                         << untrapped << "13: Type mismatch";
    QTest::newRow("width not a number is zero") << QByteArray("CreateWindow 1, 2, w, 40, x, , \"T\"") << ok << 1
                                                << QString() << QString();
    QTest::newRow("overflowing left") << QByteArray("CreateWindow 1e38, 2, 3, 4, x, , \"T\"") << line1 << 0
                                      << untrapped << "6: Overflow";
    QTest::newRow("unknown keyword after a window") << window + "\r\nBogus 1, 2\r\nSetWindowTitle \"late\""
                                                    << "Unknown command. Error trying to highlight Bogus ..." << 0
                                                    << QString() << QString();
    QTest::newRow("a #! first line is a command in the panel")
        << "#!/usr/bin/env -S zarvo --run\n" + window << "Unknown command. Error trying to highlight #!/usr/bin/env ..."
        << 0 << QString() << QString();
    QTest::newRow("missing control") << window + "\r\nSetCaption nope, \"x\"" << line2 << 0
                                     << "Trapped Error..." << "Cannot find the control named 'nope'.";
}

void TestCompileRun::runOutcome()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, finalStatus);
    QFETCH(int, windows);
    QFETCH(QString, boxTitle);
    QFETCH(QString, boxText);

    QString statusAtBox;
    ModalAnswerer answerer([&](QWidget *modal, int) {
        statusAtBox = status();
        modal->close();
    });
    interpreter::compileSource(writeScript(script), 0, m_window->runHost());

    QCOMPARE(status(), finalStatus);
    QCOMPARE(outputWindows().size(), windows);
    if (boxTitle.isEmpty()) {
        QVERIFY(answerer.records().isEmpty());
    } else {
        // While the box is up the run has not ended yet.
        QCOMPARE(statusAtBox, QStringLiteral("Compiling ..."));
        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().at(0).title, boxTitle);
        QCOMPARE(answerer.records().at(0).text, boxText);
        QCOMPARE(answerer.records().at(0).iconStyle, 16);
    }
}

void TestCompileRun::missingScriptReportsInStatusLine()
{
    ModalAnswerer answerer;
    const QString path = m_dir.filePath(QStringLiteral("absent.txt"));
    interpreter::compileSource(path, 0, m_window->runHost());
    QCOMPARE(status(), "Error loading source " + path + ". Is the editor above empty?");
    QVERIFY(answerer.records().isEmpty());
    QVERIFY(outputWindows().isEmpty());

    // A folder where the script should be is an access failure, not a missing file.
    interpreter::compileSource(m_dir.path(), 0, m_window->runHost());
    QCOMPARE(answerer.records().size(), 1);
    QCOMPARE(answerer.records().at(0).title, QStringLiteral("UNTRAPPED ERROR..."));
    QVERIFY(answerer.records().at(0).text.startsWith(QStringLiteral("75: ")));
}

void TestCompileRun::unknownKeywordHighlight_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("editor"); // empty: the editor holds the script
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("finalStatus");

    const QString w = QStringLiteral("CreateWindow 1, 2, 300, 200, x, , \"T\"\r\n");
    QTest::newRow("failing line, not the first similar word")
        << w + "; createbutton is misspelt below\r\n  createbutton 1, 2, 3, 4, b, x, \"c\"" << QString()
        << int(w.size()) + 36 << 12 << "Unknown command: createbutton";
    QTest::newRow("same keyword earlier in a comment") << "; Bogus comes next\r\nBogus 1" << QString() << 20 << 5
                                                       << "Unknown command: Bogus";
    QTest::newRow("editor differs: first occurrence, any case")
        << w + "Bogus 1" << "x\r\nbogus here\r\nBOGUS" << 3 << 5 << "Unknown command: Bogus";
    QTest::newRow("editor differs, inside a longer word") << "Bog 1" << "A bogey" << 2 << 3 << "Unknown command: Bog";
    QTest::newRow("first line after a byte order mark")
        << QString(QChar(0xFEFF)) + "Date$ x" << QString() << 1 << 5
        << "Unknown command: " + platform::formatDayMonthYear(QDate::currentDate());
    QTest::newRow("Date$ line matches before substitution")
        << "SetWindowTitle \"Date$\"\r\nDate$ x" << QString() << 24 << 5
        << "Unknown command: " + platform::formatDayMonthYear(QDate::currentDate());
}

void TestCompileRun::unknownKeywordHighlight()
{
    QFETCH(QString, script);
    QFETCH(QString, editor);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, finalStatus);

    m_window->editor()->setText(editor.isEmpty() ? script : editor);
    ModalAnswerer answerer;
    interpreter::compileSource(writeScript(script.toUtf8()), 0, m_window->runHost());
    QCOMPARE(status(), finalStatus);
    QCOMPARE(m_window->editor()->selStart(), selStart);
    QCOMPARE(m_window->editor()->selLength(), selLength);
    QVERIFY(outputWindows().isEmpty());
    QVERIFY(answerer.records().isEmpty());
}

void TestCompileRun::failurePlace_data()
{
    QTest::addColumn<QString>("script"); // null: there is no script file
    QTest::addColumn<QString>("editor"); // null: the editor holds the script
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("markedLine"); // 0: no mark
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("place"); // the box's informative text; null: no box

    const QString w = QStringLiteral("CreateWindow 1, 2, 300, 200, x, , \"T\"\r\n");
    const QString mismatch = QStringLiteral("CreateWindow a, 2, 3, 4, x, , \"T\"");
    const QString longLine = "SetWindowTitle \"" + QString(90, QLatin1Char('y')) + "\"";
    const QString left = QStringLiteral("\nargument 1 (left) is \"a\", not a number");
    QTest::newRow("box on line 1") << mismatch << QString() << mismatch << 1
                                   << "UNTRAPPED ERROR...\n13: Type mismatch" + left << "Line 1: " + mismatch + left;
    QTest::newRow("missing control on an indented line")
        << w + "; set it\r\n   SetCaption nope, \"x\"  " << QString() << "SetCaption nope, \"x\"" << 3
        << "Trapped Error...\nCannot find the control named 'nope'." << "Line 3: SetCaption nope, \"x\"";
    QTest::newRow("missing picture") << w + "CreateImage 1, 1, 9, 9, pic, -, \"none.png\"" << QString()
                                     << "CreateImage 1, 1, 9, 9, pic, -, \"none.png\"" << 2
                                     << "CreateImage error...\nImage does not appear to exist!\npicture not found: "
            + m_dir.filePath(QStringLiteral("none.png"))
                                     << "Line 2: CreateImage 1, 1, 9, 9, pic, -, \"none.png\"\npicture not found: "
            + m_dir.filePath(QStringLiteral("none.png"));
    const QString noSpace = QStringLiteral("\na keyword is followed by a space, and this line has none");
    QTest::newRow("line without a space") << w + "CreateWindow" << QString() << "CreateWindow" << 2
                                          << "UNTRAPPED ERROR...\n5: Invalid procedure call or argument" + noSpace
                                          << "Line 2: CreateWindow" + noSpace;
    QTest::newRow("long line cut") << "SetCaption " + longLine << QString() << "SetCaption " + longLine << 1
                                   << "Trapped Error...\nCannot find the control named '" + longLine + "'."
                                   << "Line 1: " + ("SetCaption " + longLine).left(80) + "...";
    QTest::newRow("unknown keyword selects itself") << w + "Bogus 1, 2" << QString() << "Bogus" << 2
                                                    << "Unknown command: Bogus" << QString();
    QTest::newRow("line the editor no longer holds")
        << mismatch << QStringLiteral("CreateWindow b, 2, 3, 4, x, , \"T\"") << "" << 0 << ""
        << "Line 1: " + mismatch + left;
    QTest::newRow("no script file") << QString() << QStringLiteral("CreateWindow 1") << "" << 0 << "" << QString();
}

void TestCompileRun::failurePlace()
{
    QFETCH(QString, script);
    QFETCH(QString, editor);
    QFETCH(QString, selected);
    QFETCH(int, markedLine);
    QFETCH(QString, toolTip);
    QFETCH(QString, place);

    const QString path = script.isNull() ? m_dir.filePath(QStringLiteral("absent.txt")) : writeScript(script.toUtf8());
    editing::ScriptEditor *edit = m_window->editor();
    edit->setText(editor.isNull() ? script : editor);
    edit->setSelection(0, 0);
    m_window->document().setPath(path);
    auto *compile = m_window->findChild<QPushButton *>(QStringLiteral("cmdCompile"));
    ModalAnswerer answerer;
    compile->click();

    QCOMPARE(edit->text().mid(edit->selStart(), edit->selLength()), selected);
    QCOMPARE(edit->markerLine(), markedLine);
    QCOMPARE(edit->markerToolTip(), toolTip);
    QCOMPARE(answerer.records().size(), place.isNull() ? 0 : 1);
    if (!place.isNull()) {
        QCOMPARE(answerer.records().at(0).informativeText, place);
        QCOMPARE(answerer.records().at(0).owner, QStringLiteral("wMain"));
        QVERIFY(ModalAnswerer::centredAndWholeTitle(answerer.records().at(0), *m_window));
    }
    if (markedLine == 0)
        return;
    // The mark stays until the next edit, and the next run clears it.
    QTest::keyClick(edit, Qt::Key_End);
    QCOMPARE(edit->markerLine(), markedLine);
    QTest::keyClick(edit, Qt::Key_Z);
    QCOMPARE(edit->markerLine(), 0);
    compile->click();
    QCOMPARE(edit->markerLine(), 0); // the editor no longer holds the line
    edit->setMarker(1, QStringLiteral("earlier"));
    writeScript("");
    compile->click();
    QCOMPARE(edit->markerLine(), 0);
}

void TestCompileRun::failureDetails_data()
{
    QTest::addColumn<QString>("line"); // line 2, below a CreateWindow line
    QTest::addColumn<QString>("detail"); // {dir}: the script's folder
    QTest::addColumn<QString>("report"); // the terminal line between "FILE:2: " and the detail

    const QString mismatch = QStringLiteral("error 13: Type mismatch");
    QTest::newRow("width not a number") << "CreateButton 8, 8, x, 24, b, -, \"B\""
                                        << "argument 3 (width) is \"x\", not a number" << mismatch;
    QTest::newRow("a long value is cut") << "CreateLabel 8, " + QString(45, QLatin1Char('y')) + ", 9, 9, l, -, \"L\""
                                         << "argument 2 (top) is \"" + QString(40, QLatin1Char('y')) + "...\", not a number"
                                         << mismatch;
    QTest::newRow("too few arguments") << "CreateButton 8, 8, 80, 24, b"
                                       << "CreateButton needs 7 arguments, this line has 5"
                                       << "error 9: Subscript out of range";
    QTest::newRow("too few, another shape") << "CreateCombobox 1, 2, 30"
                                            << "CreateCombobox needs 6 arguments, this line has 3"
                                            << "error 9: Subscript out of range";
    QTest::newRow("negative width") << "CreateButton 8, 8, -5, 24, b, -, \"B\"" << "argument 3 (width) is \"-5\""
                                    << "error 380: Invalid property value";
    QTest::newRow("name not allowed") << "CreateButton 8, 8, 80, 24, 1b, -, \"B\"" << "argument 5 (name) is \"1b\""
                                      << "error 5: Invalid procedure call or argument";
    QTest::newRow("missing picture") << "CreateImage 1, 1, 9, 9, pic, -, \"logo.png\""
                                     << "picture not found: {dir}/logo.png" << "error 53: File not found";
    QTest::newRow("missing folder") << "CreateDirlist 1, 1, 9, 9, d, -, \"forms/old\""
                                    << "folder not found: {dir}/forms/old" << "error 76: Path not found";
    QTest::newRow("missing control: the text says it") << "SetCaption nope, \"x\"" << ""
                                                       << "error 730: Control 'nope' not found";
    QTest::newRow("keyword in another letter case") << "Createbutton 8, 8, 80, 24, b, -, \"B\""
                                                    << "did you mean CreateButton?"
                                                    << "error: unknown command: Createbutton";
    QTest::newRow("keyword two letters off") << "CreatBuston 1" << "did you mean CreateButton?"
                                             << "error: unknown command: CreatBuston";
    QTest::newRow("keyword three letters off") << "CrateBttn 1" << "" << "error: unknown command: CrateBttn";
    QTest::newRow("tab before a keyword") << "\tCreateButton 8, 8, 80, 24, b, -, \"B\""
                                          << "a tab before \"CreateButton\": only spaces are trimmed"
                                          << "error: unknown command: \tCreateButton";
}

// What a report adds, in the panel (below the box's "Line N: ..." text, or
// below the status text in the failure mark's tool tip) and on the terminal.
void TestCompileRun::failureDetails()
{
    QFETCH(QString, line);
    QFETCH(QString, detail);
    QFETCH(QString, report);
    detail.replace(QStringLiteral("{dir}"), m_dir.path());
    const QString script = QStringLiteral("CreateWindow 1, 2, 300, 200, x, , \"T\"\r\n") + line;
    const QString path = writeScript(script.toUtf8());
    m_window->editor()->setText(script);
    m_window->document().setPath(path);
    ModalAnswerer answerer;
    m_window->findChild<QPushButton *>(QStringLiteral("cmdCompile"))->click();

    const QString below = detail.isEmpty() ? QString() : "\n" + detail;
    if (answerer.records().isEmpty())
        QCOMPARE(m_window->editor()->markerToolTip(), status() + below);
    else
        QCOMPARE(answerer.records().at(0).informativeText, "Line 2: " + line + below);
    testsupport::RecordingHost host;
    interpreter::compileSource(path, 0, host);
    QCOMPARE(host.reports.size(), 1);
    QCOMPARE(cli::reportLine(host.reports.at(0).report),
             path + ":2: " + report + (detail.isEmpty() ? QString() : "; " + detail));
}

void TestCompileRun::twoRunsGiveTwoWindows()
{
    const QString path = writeScript("CreateWindow 10, 20, 300, 200, x, , \"Hello\"");
    interpreter::compileSource(path, 0, m_window->runHost());
    interpreter::compileSource(path, 0, m_window->runHost());
    const QList<QWidget *> windows = outputWindows();
    QCOMPARE(windows.size(), 2);
    QVERIFY(windows[0] != windows[1]);
    QVERIFY(windows[0]->isVisible() && windows[1]->isVisible());

    // A failing third run takes only its own window away.
    ModalAnswerer answerer;
    interpreter::compileSource(writeScript("CreateWindow 10, 20, 300, 200, x, , \"H\"\r\nCreateWindow 1"), 0, m_window->runHost());
    QCOMPARE(outputWindows(), windows);
}

void TestCompileRun::scriptIsReadFromFileNotEditor()
{
    const QString path = writeScript("CreateWindow 10, 20, 300, 200, x, , \"From file\"");
    m_window->editor()->setText(QStringLiteral("CreateWindow 10, 20, 300, 200, x, , \"From editor\""));
    interpreter::compileSource(path, 0, m_window->runHost());
    QCOMPARE(outputWindows().size(), 1);
    QCOMPARE(outputWindows().at(0)->windowTitle(), QStringLiteral("From file"));
}

QTEST_MAIN(TestCompileRun)
#include "tst_compilerun.moc"
