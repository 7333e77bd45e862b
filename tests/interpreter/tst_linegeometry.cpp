// SPDX-License-Identifier: MIT
// Rewriting the numbers of a creation line: only the numbers change, where
// the run reads them; lines whose numbers cannot be rewritten so are left.

#include "interpreter/linegeometry.h"
#include "interpreter/newcontrols.h"

#include <QTest>

using interpreter::GeometryNumbers;

namespace {
QString applied(QString line, const QList<interpreter::TextEdit> &edits)
{
    for (const interpreter::TextEdit &edit : edits)
        line.replace(edit.start, edit.length, edit.text);
    return line;
}
} // namespace

class TestLineGeometry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numbersChange_data();
    void numbersChange();
    void newControlLines();
};

void TestLineGeometry::numbersChange_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<GeometryNumbers>("numbers");
    QTest::addColumn<QString>("rewritten"); // empty: refused
    const GeometryNumbers moved{25, 17, 80, 24};
    QTest::newRow("plain") << "CreateButton 8, 8, 80, 24, b, -, \"B\"" << moved
                           << "CreateButton 25, 17, 80, 24, b, -, \"B\"";
    QTest::newRow("spaces kept") << "  CreateButton   8,  8 , 80, 24, b, -, \"B, 8\"  " << moved
                                 << "  CreateButton   25,  17 , 80, 24, b, -, \"B, 8\"  ";
    QTest::newRow("other spellings of a number") << "CreateLabel 08, 8.0, 8e1, 24, l, -, \"L\"" << moved
                                                 << "CreateLabel 25, 17, 80, 24, l, -, \"L\"";
    QTest::newRow("negative") << "CreateFrame 8, 8, 80, 24, f, -, \"F\"" << GeometryNumbers{-3, -40, 80, 24}
                              << "CreateFrame -3, -40, 80, 24, f, -, \"F\"";
    QTest::newRow("combo box: no height") << "CreateCombobox 8, 8, 120, c, \"T\", \"A|B\"" << moved
                                          << "CreateCombobox 25, 17, 80, c, \"T\", \"A|B\"";
    QTest::newRow("window size only") << "CreateWindow 10, 20, 300, 200, -, , \"W\""
                                      << GeometryNumbers{std::nullopt, std::nullopt, 320, 240}
                                      << "CreateWindow 10, 20, 320, 240, -, , \"W\"";
    QTest::newRow("Date$ after the numbers") << "CreateLabel 8, 8, 80, 24, l, -, \"Date$\"" << moved
                                             << "CreateLabel 25, 17, 80, 24, l, -, \"Date$\"";
    QTest::newRow("Date$ among the numbers") << "CreateLabel 8, Date$, 80, 24, l, -, \"L\"" << moved << "";
    QTest::newRow("too short") << "CreateButton 8, 8, 80, 24" << moved << "";
    QTest::newRow("no creation") << "SetCaption b, \"8, 8\"" << moved << "";
    QTest::newRow("comment") << "; CreateButton 8, 8, 80, 24, b, -, \"B\"" << moved << "";
    QTest::newRow("wrong letter case") << "createButton 8, 8, 80, 24, b, -, \"B\"" << moved << "";
}

void TestLineGeometry::numbersChange()
{
    QFETCH(QString, line);
    QFETCH(GeometryNumbers, numbers);
    QFETCH(QString, rewritten);
    const auto edits = interpreter::geometryEdits(line, numbers);
    QCOMPARE(edits ? applied(line, *edits) : QString(), rewritten);
}

void TestLineGeometry::newControlLines()
{
    const QStringList kinds = interpreter::newControlKinds();
    QCOMPARE(kinds.size(), 11);
    QCOMPARE(interpreter::newControlLine(int(kinds.indexOf("Button")), "cmd2", {48, 64}),
             QStringLiteral("CreateButton 48, 64, 80, 24, cmd2, -, \"Button\""));
    QCOMPARE(interpreter::newControlLine(int(kinds.indexOf("Combo Box")), "cbo1", {0, 8}),
             QStringLiteral("CreateCombobox 0, 8, 120, cbo1, \"Combo\", \"One|Two|Three\""));
    QCOMPARE(interpreter::newControlPrefix(int(kinds.indexOf("Drive List"))), QStringLiteral("drv"));
}

QTEST_MAIN(TestLineGeometry)
#include "tst_linegeometry.moc"
