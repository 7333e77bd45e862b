// SPDX-License-Identifier: MIT
// Live runs into the live window: what an edit keeps, rebuilds and leaves
// alone, failed runs, and what the user gave the controls.

#include "interpreter/liverun.h"
#include "toolkit/livewindow.h"
#include "toolkit/loadedwindows.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {
const QString kScript = QStringLiteral("CreateWindow 10, 10, 300, 200, w, , \"Title\"\n"
                                       "CreateButton 8, 8, 80, 24, a, -, \"A\"\n"
                                       "CreateButton 8, 40, 80, 24, b, -, \"B\"\n"
                                       "CreateButton 8, 72, 80, 24, c, -, \"C\"\n"
                                       "SetCaption b, \"Bee\"\n");

QString edited(QString text, const QString &from, const QString &to)
{
    return text.replace(from, to);
}

// The controls of the live window as they stack, bottom first: name and
// caption.
QStringList stacked(QWidget *window)
{
    QStringList names;
    for (QObject *child : window->children()) {
        if (auto *button = qobject_cast<QAbstractButton *>(child))
            names.append(button->objectName() + u'=' + button->text());
    }
    return names;
}

// What the user sees in a control.
QString shownValue(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return check->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *list = qobject_cast<QListWidget *>(w))
        return list->currentItem() ? list->currentItem()->text() : QString();
    return {};
}

// What a user does to a control: types, checks, picks the last entry.
void actAsUser(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("typed"));
    } else if (auto *check = qobject_cast<QCheckBox *>(w)) {
        check->click();
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        combo->setCurrentIndex(combo->count() - 1);
    } else if (auto *list = qobject_cast<QListWidget *>(w)) {
        list->setCurrentRow(list->count() - 1);
    }
}
} // namespace

class TestLiveRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { m_live.close(); }
    void editUpdatesInPlace_data();
    void editUpdatesInPlace();
    void failedRunChangesNothing_data();
    void failedRunChangesNothing();
    void userValuesSurvive_data();
    void userValuesSurvive();
    void windowKeepsWhereTheUserPutIt();
    void runStopsAtItsDeadline();

private:
    std::optional<interpreter::RunReport> run(const QString &script)
    {
        return interpreter::runLive(script, m_dir.filePath(QStringLiteral("s.txt")), m_live).failure;
    }

    QTemporaryDir m_dir;
    toolkit::LiveWindow m_live;
};

void TestLiveRun::editUpdatesInPlace_data()
{
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("stackedAfter");
    QTest::addColumn<QString>("rebuilt"); // the controls made again, the others kept
    QTest::addColumn<int>("lineOfC");
    QTest::newRow("nothing changed") << kScript << QStringList{"a=A", "b=Bee", "c=C"} << "" << 4;
    QTest::newRow("a creation line") << edited(kScript, "\"A\"", "\"Ay\"") << QStringList{"a=Ay", "b=Bee", "c=C"}
                                     << "a" << 4;
    QTest::newRow("a line naming the control")
        << edited(kScript, "\"Bee\"", "\"Be\"") << QStringList{"a=A", "b=Be", "c=C"} << "b" << 4;
    QTest::newRow("a line added above") << "; new\n" + kScript << QStringList{"a=A", "b=Bee", "c=C"} << "" << 5;
    QTest::newRow("a control removed") << edited(kScript, "CreateButton 8, 72, 80, 24, c, -, \"C\"\n", "")
                                       << QStringList{"a=A", "b=Bee"} << "" << 0;
    QTest::newRow("a control added in the middle")
        << edited(kScript, "CreateButton 8, 40", "CreateButton 1, 1, 9, 9, n, -, \"N\"\nCreateButton 8, 40")
        << QStringList{"a=A", "n=N", "b=Bee", "c=C"} << "n" << 5;
    QStringList lines = kScript.split(u'\n');
    lines.swapItemsAt(1, 3);
    QTest::newRow("two lines swapped") << lines.join(u'\n') << QStringList{"c=C", "b=Bee", "a=A"} << "" << 2;
    QTest::newRow("the window's title") << edited(kScript, "\"Title\"", "\"New\"")
                                        << QStringList{"a=A", "b=Bee", "c=C"} << "" << 4;
}

void TestLiveRun::editUpdatesInPlace()
{
    QFETCH(QString, after);
    QFETCH(QStringList, stackedAfter);
    QFETCH(QString, rebuilt);
    QFETCH(int, lineOfC);
    QVERIFY(!run(kScript));
    QWidget *window = m_live.window();
    QHash<QString, QWidget *> before;
    for (const char *name : {"a", "b", "c"})
        before.insert(QLatin1String(name), window->findChild<QWidget *>(QLatin1String(name)));
    const qsizetype loaded = toolkit::loadedWindows().size();

    QVERIFY(!run(after));
    QCOMPARE(m_live.window(), window);
    QCOMPARE(toolkit::loadedWindows().size(), loaded);
    QCOMPARE(stacked(window), stackedAfter);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QWidget *now = window->findChild<QWidget *>(it.key());
        if (now)
            QCOMPARE(now == *it, it.key() != rebuilt);
    }
    QWidget *c = window->findChild<QWidget *>(QStringLiteral("c"));
    QCOMPARE(c ? m_live.sourceOf(c)->line : 0, lineOfC);
    QCOMPARE(window->windowTitle(), after.contains("\"New\"") ? QStringLiteral("New") : QStringLiteral("Title"));
}

void TestLiveRun::failedRunChangesNothing_data()
{
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("unknownKeyword");
    QTest::addColumn<int>("line");
    QTest::newRow("missing control") << kScript + "SetCaption nope, \"N\"\n" << 730 << "" << 6;
    QTest::newRow("unknown command") << edited(kScript, "SetCaption", "Setcaption") << 0 << "Setcaption" << 5;
    QTest::newRow("duplicate name") << edited(kScript, "c, -", "a, -") << 727 << "" << 4;
    QTest::newRow("no number") << edited(kScript, "8, 40", "x, 40") << 13 << "" << 3;
    QTest::newRow("picture missing") << kScript + "CreateImage 1, 1, 9, 9, i, -, \"none.png\"\n" << 53 << "" << 6;
}

void TestLiveRun::failedRunChangesNothing()
{
    QFETCH(QString, after);
    QFETCH(int, number);
    QFETCH(QString, unknownKeyword);
    QFETCH(int, line);
    QVERIFY(!run(kScript));
    QWidget *window = m_live.window();
    const QList<QObject *> children = window->children();
    const qsizetype loaded = toolkit::loadedWindows().size();

    const std::optional<interpreter::RunReport> report = run(after);
    QVERIFY(report);
    QCOMPARE(report->number, number);
    QCOMPARE(report->unknownKeyword, unknownKeyword);
    QCOMPARE(report->place.lineNumber, line);
    QCOMPARE(m_live.window(), window);
    QCOMPARE(window->children(), children);
    QCOMPARE(stacked(window), (QStringList{"a=A", "b=Bee", "c=C"}));
    QCOMPARE(toolkit::loadedWindows().size(), loaded);
}

void TestLiveRun::userValuesSurvive_data()
{
    QTest::addColumn<QString>("creation");
    QTest::addColumn<QString>("from"); // the edit made after the user's change
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("shown");
    const QString text = QStringLiteral("CreateTextbox 8, 8, 90, 22, v, -, \"script\"");
    const QString check = QStringLiteral("CreateCheckbox 8, 8, 90, 22, v, -, \"Check\"");
    const QString list = QStringLiteral("CreateListbox 8, 8, 90, 60, v, -, \"One|Two\"");
    const QString combo = QStringLiteral("CreateCombobox 8, 8, 90, v, \"script\", \"One|Two\"");
    QTest::newRow("text box, another line edited") << text << "\"Other\"" << "\"Else\"" << "typed";
    QTest::newRow("text box, a line naming it") << text << "SetToolTip v, \"tip\"" << "SetToolTip v, \"new\"" << "typed";
    QTest::newRow("text box, its creation line") << text << "\"script\"" << "\"new\"" << "new";
    QTest::newRow("check box, a line naming it") << check << "\"tip\"" << "\"new\"" << "checked";
    QTest::newRow("list box, a line naming it") << list << "\"tip\"" << "\"new\"" << "Two";
    QTest::newRow("combo box, a line naming it") << combo << "\"tip\"" << "\"new\"" << "Two";
    QTest::newRow("combo box, its creation line") << combo << "\"script\"" << "\"new\"" << "One";
    // A file list keeps the file the user chose by its path.
    const QString folder = m_dir.filePath(QStringLiteral("files"));
    QDir().mkpath(folder);
    for (const char *name : {"a.txt", "b.txt"})
        QFile(folder + u'/' + QLatin1String(name)).open(QIODevice::WriteOnly);
    const QString files = QStringLiteral("CreateFilelist 8, 8, 90, 60, v, -, \"%1\"").arg(folder);
    QTest::newRow("file list, a line naming it") << files << "\"tip\"" << "\"new\"" << "b.txt";
}

void TestLiveRun::userValuesSurvive()
{
    QFETCH(QString, creation);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, shown);
    const QString script = QStringLiteral("CreateWindow 10, 10, 300, 200, w, , \"T\"\n") + creation
        + QStringLiteral("\nSetToolTip v, \"tip\"\nCreateLabel 8, 100, 90, 20, other, -, \"Other\"\n");
    QVERIFY(!run(script));
    actAsUser(m_live.window()->findChild<QWidget *>(QStringLiteral("v")));
    QVERIFY(!run(edited(script, from, to)));
    QCOMPARE(shownValue(m_live.window()->findChild<QWidget *>(QStringLiteral("v"))), shown);
}

void TestLiveRun::windowKeepsWhereTheUserPutIt()
{
    QVERIFY(!run(kScript));
    QWidget *window = m_live.window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->move(window->pos() + QPoint(50, 30));
    const QPoint userPlace = window->pos();
    QVERIFY(!run(edited(kScript, "\"A\"", "\"Ay\"")));
    QCOMPARE(window->pos(), userPlace);
    QVERIFY(!run(edited(kScript, "10, 10, 300", "20, 10, 300")));
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(20, 10));
}

void TestLiveRun::runStopsAtItsDeadline()
{
    QVERIFY(!run(kScript));
    const interpreter::LiveRunEnd end = interpreter::runLive(edited(kScript, "\"A\"", "\"Ay\""),
                                                             m_dir.filePath(QStringLiteral("s.txt")), m_live,
                                                             QDeadlineTimer(0));
    QVERIFY(end.outOfTime);
    QVERIFY(!end.failure);
    QCOMPARE(stacked(m_live.window()), (QStringList{"a=A", "b=Bee", "c=C"}));
}

QTEST_MAIN(TestLiveRun)
#include "tst_liverun.moc"
