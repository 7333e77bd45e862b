// SPDX-License-Identifier: MIT
// Where design mode drops a control: on the grid, or lined up with another.

#include "toolkit/designsnap.h"

#include <QTest>

class TestDesignSnap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void snaps_data();
    void snaps();
};

void TestDesignSnap::snaps_data()
{
    QTest::addColumn<QRect>("proposed");
    QTest::addColumn<int>("edges"); // 0: a move
    QTest::addColumn<QRect>("landed");
    QTest::addColumn<int>("guideX"); // -1: none
    QTest::addColumn<int>("guideY");
    // Another control at 100, 100, 80 x 20: edges 100 and 180, middle 140; 100, 110, 120.
    QTest::newRow("onto the grid") << QRect(21, 34, 50, 20) << 0 << QRect(24, 32, 50, 20) << -1 << -1;
    QTest::newRow("halfway rounds up") << QRect(20, 36, 50, 20) << 0 << QRect(24, 40, 50, 20) << -1 << -1;
    QTest::newRow("left edges line up") << QRect(103, 30, 50, 20) << 0 << QRect(100, 32, 50, 20) << 100 << -1;
    QTest::newRow("right to left edge") << QRect(30, 60, 67, 38) << 0 << QRect(33, 62, 67, 38) << 100 << 100;
    QTest::newRow("middles line up") << QRect(116, 140, 50, 20) << 0 << QRect(115, 144, 50, 20) << 140 << -1;
    QTest::newRow("nearer of two") << QRect(178, 97, 20, 20) << 0 << QRect(180, 100, 20, 20) << 180 << 100;
    QTest::newRow("right edge sized onto an edge")
        << QRect(20, 20, 157, 20) << int(Qt::RightEdge) << QRect(20, 20, 160, 20) << 180 << -1;
    QTest::newRow("bottom edge sized onto the grid")
        << QRect(20, 20, 40, 45) << int(Qt::BottomEdge) << QRect(20, 20, 40, 44) << -1 << -1;
    QTest::newRow("left edge keeps a pixel")
        << QRect(62, 20, 1, 20) << int(Qt::LeftEdge) << QRect(62, 20, 1, 20) << -1 << -1;
}

void TestDesignSnap::snaps()
{
    QFETCH(QRect, proposed);
    QFETCH(int, edges);
    QFETCH(QRect, landed);
    QFETCH(int, guideX);
    QFETCH(int, guideY);
    const QList<QRect> others{QRect(100, 100, 80, 20)};
    const toolkit::Snapped snapped = edges ? toolkit::snapResize(proposed, Qt::Edges(edges), others)
                                           : toolkit::snapMove(proposed, others);
    QCOMPARE(snapped.rect, landed);
    QCOMPARE(snapped.guideX.value_or(-1), guideX);
    QCOMPARE(snapped.guideY.value_or(-1), guideY);
}

QTEST_MAIN(TestDesignSnap)
#include "tst_designsnap.moc"
