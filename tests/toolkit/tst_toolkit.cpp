// SPDX-License-Identifier: MIT
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputwindowwidget.h"

#include <QTest>
#include <QWidget>

using namespace toolkit;

class TestToolkit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pixelLimits_data();
    void pixelLimits();
    void formsInLoadOrder();
};

void TestToolkit::pixelLimits_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("error");
    QTest::newRow("longest side") << QRect(0, 0, 16384, 1) << 0;
    QTest::newRow("side a pixel over") << QRect(0, 0, 1, 16385) << 380;
    QTest::newRow("largest area") << QRect(0, 0, 16384, 2048) << 0;
    QTest::newRow("area a pixel over") << QRect(0, 0, 16384, 2049) << 380;
    QTest::newRow("farthest position") << QRect(-1000000, 1000000, 1, 1) << 0;
    QTest::newRow("position a pixel over") << QRect(0, -1000001, 1, 1) << 380;
    QTest::newRow("negative size") << QRect(0, 0, -1, 1) << 380;
}

void TestToolkit::pixelLimits()
{
    QFETCH(QRect, geometry);
    QFETCH(int, error);
    QCOMPARE(testsupport::errorNumberOf([&] {
                 checkPixelGeometry(geometry.x(), geometry.y(), geometry.width(), geometry.height());
             }),
             error);
}

void TestToolkit::formsInLoadOrder()
{
    auto *a = new QWidget;
    auto *b = new QWidget;
    auto *c = new QWidget;
    registerLoadedWindow(a);
    registerLoadedWindow(b);
    registerLoadedWindow(c);
    registerLoadedWindow(a); // loading again does not move it
    QCOMPARE(loadedWindows(), (QList<QWidget *>{a, b, c}));
    unloadWindow(b);
    QCOMPARE(loadedWindows(), (QList<QWidget *>{a, c}));
    delete a; // destroyed any other way, it leaves the list too
    QCOMPARE(loadedWindows(), (QList<QWidget *>{c}));
    unloadWindow(c);
    QVERIFY(loadedWindows().isEmpty());
}

QTEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
