// SPDX-License-Identifier: MIT
#include "editor/scripteditor.h"
#include "interpreter/compilesource.h"
#include "panel/mainwindow.h"
#include "panel/scriptdocument.h"
#include "platform/localerules.h"
#include "platform/units.h"
#include "support/modalhelper.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ModalAnswerer;

namespace {

// What the user sees at one pause, taken while the step window is up.
struct Pause {
    QString selection;
    QString status;
    QPoint position;
    QSize size;
    Qt::WindowFlags flags;
    bool ownerless = false;
    bool nextLineHasFocus = false;
    bool normallyDisabled = false;
    bool stillOpenAfterClickingNormally = false;
    QString label;
    bool labelFits = false;
    bool listedAsLoaded = false;
    bool previousWindowDestroyed = false;
    int visibleRunWindows = 0;
    QString runWindowTitle;
};

// The title of the run window on screen; empty when none is.
QString runWindowTitle()
{
    for (QWidget *window : testsupport::outputWindows()) {
        if (window->isVisible())
            return window->windowTitle();
    }
    return QString();
}

QStringList column(const QList<Pause> &pauses, QString Pause::*field)
{
    QStringList result;
    for (const Pause &pause : pauses)
        result.append(pause.*field);
    return result;
}

QString selectedText(const panel::MainWindow &panel)
{
    const editing::ScriptEditor *editor = panel.editor();
    return editor->text().mid(editor->selStart(), editor->selLength());
}

// A control panel whose script file and editor hold the given texts. The
// autosave mark is cleared first so the editor text never reaches the file.
// A null editor text means the same text as the file.
class StepRun {
public:
    explicit StepRun(const QString &fileText, const QString &editorText = QString())
    {
        m_panel.findChild<QAction *>(QStringLiteral("mSAVEATEVERYEDIT"))->setChecked(false);
        m_path = m_dir.filePath(QStringLiteral("script.txt"));
        testsupport::writeFile(m_path, fileText.toUtf8());
        m_panel.document().setPath(m_path);
        m_panel.editor()->setText(editorText.isNull() ? fileText : editorText);
        m_panel.show();
    }

    // Presses STEP COMPILE; at each pause records what is shown, lets
    // atPause act on the step window, then presses "Compile the next line"
    // unless the window is already gone. Message boxes are closed.
    void stepCompile(const std::function<void(QWidget *, Pause &)> &atPause = {})
    {
        QPointer<QWidget> previous;
        ModalAnswerer answerer([&](QWidget *modal, int) {
            if (modal->objectName() != QLatin1String("wStepCompile")) {
                m_titleAtBox = runWindowTitle();
                m_statusAtBox = status();
                modal->close();
                return;
            }
            Pause pause = record(modal);
            pause.previousWindowDestroyed = m_pauses.isEmpty() || previous.isNull();
            previous = modal;
            if (atPause)
                atPause(modal, pause);
            m_pauses.append(pause);
            auto *next = modal->findChild<QPushButton *>(QStringLiteral("cmdCompileNextLine"));
            if (next && modal->isVisible())
                next->click();
        });
        m_panel.findChild<QPushButton *>(QStringLiteral("cmdStepCompile"))->click();
        m_messageBoxes = 0;
        for (const testsupport::ModalRecord &seen : answerer.records())
            m_messageBoxes += seen.messageBox ? 1 : 0;
    }

    Pause record(QWidget *modal) const
    {
        Pause pause;
        pause.selection = selectedText(m_panel);
        pause.status = status();
        pause.position = modal->pos();
        pause.size = modal->size();
        pause.flags = modal->windowFlags();
        pause.ownerless = modal->parentWidget() == nullptr;
        auto *next = modal->findChild<QPushButton *>(QStringLiteral("cmdCompileNextLine"));
        auto *normally = modal->findChild<QPushButton *>(QStringLiteral("cmdCompileNormally"));
        pause.nextLineHasFocus = next && QApplication::focusWidget() == next;
        pause.normallyDisabled = normally && !normally->isEnabled();
        if (normally)
            QTest::mouseClick(normally, Qt::LeftButton);
        pause.stillOpenAfterClickingNormally = modal->isVisible();
        if (auto *label = modal->findChild<QLabel *>(QStringLiteral("txtBlah"))) {
            pause.label = label->text();
            pause.labelFits = label->width() >= label->sizeHint().width()
                && label->geometry().right() < modal->width() && label->x() >= 0;
        }
        pause.listedAsLoaded = toolkit::loadedWindows().contains(modal);
        for (QWidget *window : testsupport::outputWindows())
            pause.visibleRunWindows += window->isVisible() ? 1 : 0;
        pause.runWindowTitle = runWindowTitle();
        return pause;
    }

    QString status() const { return m_panel.statusPanel(1)->text(); }
    const QList<Pause> &pauses() const { return m_pauses; }
    int messageBoxes() const { return m_messageBoxes; }
    QString titleAtBox() const { return m_titleAtBox; }
    QString statusAtBox() const { return m_statusAtBox; }
    QString path() const { return m_path; }
    panel::MainWindow &panel() { return m_panel; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    panel::MainWindow m_panel;
    QList<Pause> m_pauses;
    int m_messageBoxes = 0;
    QString m_titleAtBox;
    QString m_statusAtBox;
};

const QString kWindow = QStringLiteral("CreateWindow 10, 10, 200, 150, w, , \"T\"");
const QString kWindowShown = QStringLiteral("CreateWindow, 10, 10, 200, 150, w, , \"T\"");
const QString kButton1 = QStringLiteral("CreateButton 8, 8, 80, 24, b1, -, \"One\"");
const QString kButton1Shown = QStringLiteral("CreateButton, 8, 8, 80, 24, b1, -, \"One\"");
const QString kButton2 = QStringLiteral("CreateButton 8, 40, 80, 24, b2, -, \"Two\"");
const QString kButton2Shown = QStringLiteral("CreateButton, 8, 40, 80, 24, b2, -, \"Two\"");

QString lines(const QStringList &list) { return list.join(QStringLiteral("\r\n")); }

} // namespace

class TestStepCompile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        for (QWidget *window : testsupport::outputWindows())
            toolkit::unloadWindow(window);
    }

    void selectsTheLineAboutToRun_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("editor"); // null: the same as the file
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("shown");

        const QStringList threeShown{kWindowShown, kButton1Shown, kButton2Shown};
        QTest::newRow("same keyword on consecutive lines")
            << lines({kWindow, kButton1, kButton2}) << QString() << QStringList{kWindow, kButton1, kButton2}
            << threeShown;
        QTest::newRow("comment names the next keyword, indented line")
            << lines({kWindow, QStringLiteral("; CreateButton b1 comes next"), QString(),
                      QStringLiteral("   ") + kButton1 + QStringLiteral("   "), kButton2})
            << QString() << QStringList{kWindow, kButton1, kButton2} << threeShown;
        QTest::newRow("Date$ does not overrun the line")
            << lines({QStringLiteral("SetWindowTitle \"Built Date$\""), kButton1}) << QString()
            << QStringList{QStringLiteral("SetWindowTitle \"Built Date$\""), kButton1}
            << QStringList{QStringLiteral("SetWindowTitle, \"Built {date}\""), kButton1Shown};
        QTest::newRow("editor has lines inserted above")
            << lines({kWindow, kButton1, kButton2})
            << lines({QStringLiteral("; notes on CreateButton"), kWindow + QStringLiteral("  "),
                      kButton1, kButton2})
            << QStringList{kWindow, kButton1, kButton2} << threeShown;
        QTest::newRow("editor line edited: from the keyword to the line's end")
            << lines({kWindow, kButton1, kButton2})
            << lines({kWindow, QStringLiteral("  CreateButton 8, 8, 80, 24, b1, -, \"Uno\"  "),
                      QStringLiteral("CreateButton 8, 40, 80, 24, b2, -, \"Dos\"")})
            << QStringList{kWindow, QStringLiteral("CreateButton 8, 8, 80, 24, b1, -, \"Uno\""),
                           QStringLiteral("CreateButton 8, 40, 80, 24, b2, -, \"Dos\"")}
            << threeShown;
        QTest::newRow("keyword missing from the editor keeps the selection")
            << lines({kWindow, kButton1}) << lines({kWindow, QStringLiteral("; createbutton, other case")})
            << QStringList{kWindow, kWindow} << QStringList{kWindowShown, kButton1Shown};
        QTest::newRow("empty editor") << lines({kWindow, kButton1}) << QStringLiteral("")
                                      << QStringList{QString(), QString()}
                                      << QStringList{kWindowShown, kButton1Shown};
    }

    void selectsTheLineAboutToRun()
    {
        QFETCH(QString, file);
        QFETCH(QString, editor);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, shown);
        const QString date = platform::formatDayMonthYear(QDate::currentDate());
        shown.replaceInStrings(QStringLiteral("{date}"), date);

        StepRun run(file, editor);
        run.stepCompile();

        QCOMPARE(column(run.pauses(), &Pause::selection), selected);
        QCOMPARE(column(run.pauses(), &Pause::status), shown);
        QCOMPARE(run.status(), QStringLiteral("Compiled sucessfully..."));
        QCOMPARE(run.messageBoxes(), 0);
    }

    void stepWindowIsLoadedAfreshAtItsPlace()
    {
        StepRun run(lines({kWindow, kButton1, kButton2}));
        run.stepCompile([](QWidget *modal, Pause &) {
            // The user drags the window away; the next step must not keep it.
            modal->move(400, 60);
        });

        const QPoint place(platform::twipsToPixelsX(100), platform::twipsToPixelsY(5000));
        const QSize client(platform::twipsToPixelsX(4125), platform::twipsToPixelsY(2985));
        QCOMPARE(run.pauses().size(), 3);
        for (const Pause &pause : run.pauses()) {
            QCOMPARE(pause.position, place);
            QCOMPARE(pause.size, client);
            QVERIFY(pause.flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!pause.flags.testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!pause.flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(pause.ownerless);
            QVERIFY(pause.nextLineHasFocus);
            QVERIFY(pause.normallyDisabled);
            QVERIFY(pause.stillOpenAfterClickingNormally);
            QCOMPARE(pause.label, QStringLiteral("Your mum smells of burnt rubber."));
            QVERIFY(pause.labelFits);
            QVERIFY(pause.listedAsLoaded);
            QVERIFY(pause.previousWindowDestroyed);
        }
        // The run window CreateWindow showed stays visible at later pauses.
        QCOMPARE(run.pauses()[0].visibleRunWindows, 0);
        QCOMPARE(run.pauses()[2].visibleRunWindows, 1);
        QCOMPARE(run.status(), QStringLiteral("Compiled sucessfully..."));
        for (QWidget *window : toolkit::loadedWindows())
            QVERIFY(window->objectName() != QLatin1String("wStepCompile"));
    }

    // The close box goes on as the button does; Escape stops the run and
    // keeps what it built, as the run's end would.
    void closingTheStepWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("pauses");
        QTest::addColumn<QString>("finalStatus");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("close box") << "close" << 3 << "Compiled sucessfully..." << QStringList{"b1", "long"};
        QTest::newRow("Escape at the second pause") << "Escape" << 2 << "Stopped before line 2" << QStringList{};
    }

    void closingTheStepWindow()
    {
        QFETCH(QString, how);
        QFETCH(int, pauses);
        QFETCH(QString, finalStatus);
        QFETCH(QStringList, controls);
        // The third line is long enough to scroll the editor sideways when selected.
        const QString longLine = "CreateButton 8, 40, 80, 24, long, -, \"" + QString(300, QLatin1Char('w')) + "\"";
        StepRun run(lines({kWindow, kButton1, longLine}));
        QScrollBar *sideways = run.panel().editor()->horizontalScrollBar();
        int scrolledAtLastPause = 0;
        run.stepCompile([&](QWidget *modal, Pause &) {
            scrolledAtLastPause = sideways->value();
            if (how == QLatin1String("close"))
                modal->close();
            else if (run.pauses().size() == 1)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });

        QCOMPARE(run.pauses().size(), pauses);
        QCOMPARE(run.status(), finalStatus);
        const QList<QWidget *> windows = testsupport::outputWindows();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QStringList built;
        for (const char *name : {"b1", "long"})
            built << (windows[0]->findChild<QWidget *>(QLatin1String(name)) ? name : "");
        built.removeAll(QString());
        QCOMPARE(built, controls);
        // The run's end scrolls back to the keywords.
        QCOMPARE(scrolledAtLastPause > 0, pauses == 3);
        QCOMPARE(sideways->value(), 0);
    }

    void onlyFlagOneSteps_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("pauses");
        QTest::newRow("compile") << 0 << 0;
        QTest::newRow("step compile") << 1 << 2;
        QTest::newRow("two") << 2 << 0;
        QTest::newRow("minus one") << -1 << 0;
    }

    void onlyFlagOneSteps()
    {
        QFETCH(int, flag);
        QFETCH(int, pauses);
        StepRun run(lines({kWindow, kButton1}));
        int seen = 0;
        ModalAnswerer answerer([&seen](QWidget *modal, int) {
            seen += modal->objectName() == QLatin1String("wStepCompile") ? 1 : 0;
            modal->close();
        });
        run.panel().editor()->setSelection(0, 0);
        interpreter::compileSource(run.path(), flag, run.panel().runHost());
        QCOMPARE(seen, pauses);
        QCOMPARE(run.status(), QStringLiteral("Compiled sucessfully..."));
        QCOMPARE(run.panel().editor()->selLength(), pauses ? kButton1.size() : 0);
    }

    void unknownKeywordIsPausedThenReported()
    {
        StepRun run(lines({kWindow, QStringLiteral("Bogus 1, 2"), kButton1}));
        run.stepCompile();

        QCOMPARE(column(run.pauses(), &Pause::status), (QStringList{kWindowShown, QStringLiteral("Bogus, 1, 2")}));
        QCOMPARE(run.pauses()[1].selection, QStringLiteral("Bogus 1, 2"));
        QCOMPARE(run.status(), QStringLiteral("Unknown command: Bogus"));
        QVERIFY(testsupport::outputWindows().isEmpty());
    }

    // A shown window's new title is kept back while the run goes on; the user
    // sees the last one at every pause and with a failure's message box.
    void windowTitleShownAtPausesAndFailure()
    {
        StepRun run(lines({kWindow, QStringLiteral("SetWindowTitle \"A\""), QStringLiteral("SetWindowTitle \"B\""),
                           kButton1, QStringLiteral("SetCaption nope, \"x\"")}));
        run.stepCompile();

        QCOMPARE(column(run.pauses(), &Pause::runWindowTitle), (QStringList{"", "T", "A", "B", "B"}));
        QCOMPARE(run.messageBoxes(), 1);
        QCOMPARE(run.titleAtBox(), QStringLiteral("B"));
    }

    void failureLeavesTheLastShownLine()
    {
        StepRun run(lines({kWindow, QStringLiteral("CreateButton x, 8, 80, 24, b1, -, \"One\""), kButton2}));
        run.stepCompile();

        QCOMPARE(run.pauses().size(), 2);
        QCOMPARE(run.messageBoxes(), 1);
        QCOMPARE(run.statusAtBox(), QStringLiteral("CreateButton, x, 8, 80, 24, b1, -, \"One\""));
        QCOMPARE(run.status(), QStringLiteral("Compile failed at line 2"));
        QVERIFY(testsupport::outputWindows().isEmpty());
    }
};

QTEST_MAIN(TestStepCompile)
#include "tst_stepcompile.moc"
