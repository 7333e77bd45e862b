// SPDX-License-Identifier: MIT
#include "interpreter/commandtable.h"
#include "interpreter/scriptline.h"
#include "platform/error.h"
#include "platform/localerules.h"

#include <QDate>
#include <QTest>

using namespace interpreter;

class TestScriptLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitLine_data();
    void splitLine();
    void lineWithoutSpaceFails_data();
    void lineWithoutSpaceFails();
    void stripQuotes_data();
    void stripQuotes();
    void entries_data();
    void entries();
    void keywordsMatchExactly();
    void todayIsDayMonthYear();
};

static const QString kToday = QStringLiteral("07/12/2026");

void TestScriptLine::splitLine_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<bool>("skipped");
    QTest::addColumn<QString>("normalised");
    QTest::addColumn<QStringList>("elements");

    QTest::newRow("empty") << "" << true << QString() << QStringList();
    QTest::newRow("spaces only") << "     " << true << QString() << QStringList();
    QTest::newRow("comment") << "   ; CreateWindow 1, 2" << true << QString() << QStringList();
    QTest::newRow("date in comment is still a comment") << ";Date$" << true << QString() << QStringList();
    QTest::newRow("basic") << "CreateButton 16, 40, 75, 23, cmdGo, x, \"Go\"" << false
                           << "CreateButton, 16, 40, 75, 23, cmdGo, x, \"Go\""
                           << QStringList{"CreateButton", "16", "40", "75", "23", "cmdGo", "x", "\"Go\""};
    QTest::newRow("several spaces after keyword") << "  SetText   a,   \"b\"  " << false << "SetText,   a,   \"b\""
                                                  << QStringList{"SetText", "a", "\"b\""};
    QTest::newRow("tab kept in keyword") << "\tSetText a, b" << false << "\tSetText, a, b"
                                         << QStringList{"\tSetText", "a", "b"};
    QTest::newRow("comma without space does not split") << "X 1,2, 3" << false << "X, 1,2, 3"
                                                        << QStringList{"X", "1,2", "3"};
    QTest::newRow("comma after keyword joins it") << "SetText, a, b" << false << "SetText,, a, b"
                                                  << QStringList{"SetText,", "a", "b"};
    QTest::newRow("quotes protect nothing") << "SetText t, \"a, b\"" << false << "SetText, t, \"a, b\""
                                            << QStringList{"SetText", "t", "\"a", "b\""};
    QTest::newRow("empty element kept") << "X a, , b" << false << "X, a, , b" << QStringList{"X", "a", "", "b"};
    QTest::newRow("trailing separator") << "X a, " << false << "X, a," << QStringList{"X", "a,"};
    QTest::newRow("semicolon inside is text") << "X a;b" << false << "X, a;b" << QStringList{"X", "a;b"};
    QTest::newRow("Date$ everywhere, exact case only")
        << "SetText t, \"Date$ Date$ date$\"" << false << "SetText, t, \"" + kToday + " " + kToday + " date$\""
        << QStringList{"SetText", "t", "\"" + kToday + " " + kToday + " date$\""};
    QTest::newRow("Date$ as keyword") << "Date$ x" << false << kToday + ", x" << QStringList{kToday, "x"};
    QTest::newRow("Date$ next to Date$") << "X Date$Date$$" << false << "X, " + kToday + kToday + "$"
                                         << QStringList{"X", kToday + kToday + "$"};
    QTest::newRow("tab before space is not trimmed") << "X\t a" << false << "X\t, a" << QStringList{"X\t", "a"};
}

void TestScriptLine::splitLine()
{
    QFETCH(QString, raw);
    QFETCH(bool, skipped);
    QFETCH(QString, normalised);
    QFETCH(QStringList, elements);

    const std::optional<SplitLine> split = splitScriptLine(raw, kToday);
    QCOMPARE(!split.has_value(), skipped);
    if (split) {
        QCOMPARE(split->normalised, normalised);
        QCOMPARE(split->elements, elements);
    }
}

void TestScriptLine::lineWithoutSpaceFails_data()
{
    QTest::addColumn<QString>("raw");
    QTest::newRow("keyword alone") << "CreateWindow";
    QTest::newRow("keyword with padding") << "   CreateWindow   ";
    QTest::newRow("tab only") << "\t";
    QTest::newRow("tab separated") << "SetText\ta,\tb";
}

void TestScriptLine::lineWithoutSpaceFails()
{
    QFETCH(QString, raw);
    try {
        splitScriptLine(raw, kToday);
        QFAIL("a line without a space was accepted");
    } catch (const platform::Error &error) {
        QCOMPARE(error.number(), 5);
    }
}

void TestScriptLine::stripQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quoted") << "\"Go\"" << "Go";
    QTest::newRow("unquoted loses first and last") << "Hello" << "ell";
    QTest::newRow("two characters") << "\"\"" << "";
    QTest::newRow("one character") << "x" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("cut caption") << "\"a" << "";
    QTest::newRow("inner quotes kept") << "\"say \"hi\"\"" << "say \"hi\"";
}

void TestScriptLine::stripQuotes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString before = text;
    QCOMPARE(interpreter::stripQuotes(text), expected);
    QCOMPARE(text, before);
}

void TestScriptLine::entries_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("three") << "a|b|c" << QStringList{"a", "b", "c"};
    QTest::newRow("trailing bar gives empty last") << "a|b|" << QStringList{"a", "b", ""};
    QTest::newRow("adjacent bars") << "a||b" << QStringList{"a", "", "b"};
    QTest::newRow("empty text gives none") << "" << QStringList{};
    QTest::newRow("bar alone") << "|" << QStringList{"", ""};
    QTest::newRow("not trimmed") << " a | b " << QStringList{" a ", " b "};
    QTest::newRow("five entries, a slice and a half") << "1|2|3||5" << QStringList{"1", "2", "3", "", "5"};
}

void TestScriptLine::entries()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(splitEntries(text), expected);
    // In slices of two, the same entries in the same order.
    QStringList sliced;
    splitEntries(text, 2, [&](const QStringList &slice) {
        QVERIFY(!slice.isEmpty() && slice.size() <= 2);
        sliced += slice;
    });
    QCOMPARE(sliced, expected);
}

void TestScriptLine::keywordsMatchExactly()
{
    const QStringList expected{"CreateWindow",   "CreateButton",    "CreateFrame",   "CreateTextbox",
                               "CreateLabel",    "CreateCheckbox",  "CreateCombobox", "CreateListbox",
                               "CreateImage",    "CreateDrivelist", "CreateDirlist", "CreateFilelist",
                               "Enable",         "SetVisible",      "SetToolTip",    "SetCaption",
                               "SetText",        "SetWindowTitle"};
    for (const QString &keyword : expected) {
        const Command *found = findCommand(keyword);
        QVERIFY(found);
        QCOMPARE(QString(found->keyword), keyword);
        QVERIFY(!findCommand(keyword.toLower()));
        QVERIFY(!findCommand(keyword.toUpper()));
        QVERIFY(!findCommand(keyword + QLatin1Char(',')));
    }
}

void TestScriptLine::todayIsDayMonthYear()
{
    QCOMPARE(platform::formatDayMonthYear(QDate(2026, 3, 5)), QStringLiteral("05/03/2026"));
    const std::optional<SplitLine> split = splitScriptLine(QStringLiteral("X Date$"));
    QVERIFY(split);
    QCOMPARE(split->elements.at(1), platform::formatDayMonthYear(QDate::currentDate()));
}

QTEST_MAIN(TestScriptLine)
#include "tst_scriptline.moc"
