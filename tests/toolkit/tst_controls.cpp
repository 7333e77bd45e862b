// SPDX-License-Identifier: MIT
// Property rules of the control kinds that no script command reaches on its
// own: read-only heights, entries on kinds that take none, list indexes; the
// run's budget; how big buttons and long captions are drawn.

#include "platform/error.h"
#include "toolkit/buttonstyle.h"
#include "toolkit/controls.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputwindow.h"
#include "toolkit/outputwindowwidget.h"

#include "support/testscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

using toolkit::Control;
using toolkit::PropertyValue;

namespace {
// The error number a property set raises, 0 when it succeeds.
int errorOfSet(Control &control, const QString &property, const PropertyValue &value)
{
    return testsupport::errorNumberOf([&] { control.setProperty(property, value); });
}

// Fusion, noting the widest push button panel it is asked to draw.
class PanelWidthStyle : public QProxyStyle {
public:
    PanelWidthStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("fusion"))) {}
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_PanelButtonCommand)
            widest = qMax(widest, option->rect.width());
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    mutable int widest = 0;
};

QImage rendered(QWidget &widget, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    widget.render(&image, QPoint(), QRegion(QRect(QPoint(), size)));
    return image;
}

QWidget *plainWidget(const QString &classId, const QString &caption)
{
    if (classId == QLatin1String("VB.Label"))
        return new QLabel(caption);
    if (classId == QLatin1String("VB.CheckBox"))
        return new QCheckBox(caption);
    return new QGroupBox(caption);
}
} // namespace

class tst_Controls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void propertyRules_data();
    void propertyRules();
    void entriesOnlyOnLists();
    void comboHeightKeepsItsFont();
    void budgetEndsTheRunInOutOfMemory();
    void bigButtonPanelIsDrawnFromAStrip();
    void twoHundredLargestButtonsUseTheStrip();
    void longCaptionShowsAsQtShowsIt_data();
    void longCaptionShowsAsQtShowsIt();
};

void tst_Controls::propertyRules_data()
{
    QTest::addColumn<QString>("classId");
    QTest::addColumn<QString>("property");
    QTest::addColumn<PropertyValue>("value");
    QTest::addColumn<int>("error");

    const QString text = QStringLiteral("x");
    QTest::newRow("combo height") << "VB.ComboBox" << "Height" << PropertyValue(QStringLiteral("40")) << 383;
    QTest::newRow("drive height") << "VB.DriveListBox" << "Height" << PropertyValue(QStringLiteral("40")) << 383;
    QTest::newRow("list height") << "VB.ListBox" << "Height" << PropertyValue(QStringLiteral("40")) << 0;
    QTest::newRow("list text") << "VB.ListBox" << "Text" << PropertyValue(text) << 383;
    QTest::newRow("list caption") << "VB.ListBox" << "Caption" << PropertyValue(text) << 438;
    QTest::newRow("combo caption") << "VB.ComboBox" << "Caption" << PropertyValue(text) << 438;
    QTest::newRow("combo index without entries") << "VB.ComboBox" << "ListIndex" << PropertyValue(0) << 380;
    QTest::newRow("combo no selection") << "VB.ComboBox" << "ListIndex" << PropertyValue(-1) << 0;
    QTest::newRow("image caption") << "VB.Image" << "Caption" << PropertyValue(text) << 438;
    QTest::newRow("image picture as text") << "VB.Image" << "Picture" << PropertyValue(text) << 13;
    QTest::newRow("button picture") << "VB.CommandButton" << "Picture" << PropertyValue(toolkit::Picture{}) << 438;
    QTest::newRow("button path") << "VB.CommandButton" << "Path" << PropertyValue(text) << 438;
    QTest::newRow("label drive") << "VB.Label" << "Drive" << PropertyValue(QStringLiteral("/")) << 438;
    QTest::newRow("file list drive") << "VB.FileListBox" << "Drive" << PropertyValue(QStringLiteral("/")) << 438;
    QTest::newRow("width not a number") << "VB.Frame" << "Width" << PropertyValue(text) << 13;
    QTest::newRow("width infinite") << "VB.Frame" << "Width" << PropertyValue(QStringLiteral("1e999")) << 13;
}

void tst_Controls::propertyRules()
{
    QFETCH(QString, classId);
    QFETCH(QString, property);
    QFETCH(PropertyValue, value);
    QFETCH(int, error);

    toolkit::OutputWindow window;
    window.load();
    Control control = window.addControl(classId, QStringLiteral("c"));
    QCOMPARE(errorOfSet(control, property, value), error);
    window.unload();
}

void tst_Controls::entriesOnlyOnLists()
{
    toolkit::OutputWindow window;
    window.load();
    Control button = window.addControl(QStringLiteral("VB.CommandButton"), QStringLiteral("b"));
    QVERIFY_THROWS_EXCEPTION(platform::Error, button.addItems({QStringLiteral("x")}));
    Control drives = window.addControl(QStringLiteral("VB.DriveListBox"), QStringLiteral("d"));
    QVERIFY_THROWS_EXCEPTION(platform::Error, drives.addItems({QStringLiteral("x")}));
    Control list = window.addControl(QStringLiteral("VB.ListBox"), QStringLiteral("l"));
    list.addItems({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(errorOfSet(list, QStringLiteral("ListIndex"), 2), 380);
    QCOMPARE(errorOfSet(list, QStringLiteral("ListIndex"), 1), 0);
    window.unload();
}

void tst_Controls::comboHeightKeepsItsFont()
{
    toolkit::OutputWindow window;
    window.load();
    Control combo = window.addControl(QStringLiteral("VB.ComboBox"), QStringLiteral("c"));
    combo.setProperty(QStringLiteral("Top"), QStringLiteral("7"));
    combo.setProperty(QStringLiteral("Width"), QStringLiteral("150"));
    auto *widget = toolkit::loadedWindows().last()->findChild<QComboBox *>(QStringLiteral("c"));
    QVERIFY(widget && widget->isEditable());
    QCOMPARE(widget->geometry(), QRect(0, 7, 150, widget->sizeHint().height()));
    window.unload();
}

void tst_Controls::budgetEndsTheRunInOutOfMemory()
{
    toolkit::OutputWindow window;
    window.load();
    Control list = window.addControl(QStringLiteral("VB.ListBox"), QStringLiteral("l"));
    auto *templateWindow = qobject_cast<toolkit::OutputWindowWidget *>(toolkit::loadedWindows().last());
    QVERIFY(templateWindow);
    // Room for the list, one more control and three empty entries, exactly.
    templateWindow->budget() = toolkit::RunBudget(3 * toolkit::RunBudget::kEntryOverheadBytes, 2);
    templateWindow->budget().chargeControl();
    QCOMPARE(testsupport::errorNumberOf([&] { list.addItems({"", "", ""}); }), 0);
    QCOMPARE(testsupport::errorNumberOf([&] { list.addItems({QString()}); }), 7);
    QCOMPARE(testsupport::errorNumberOf([&] { window.addControl(QStringLiteral("VB.Label"), QStringLiteral("a")); }), 0);
    QCOMPARE(testsupport::errorNumberOf([&] { window.addControl(QStringLiteral("VB.Label"), QStringLiteral("b")); }), 7);
    window.unload();
}

void tst_Controls::bigButtonPanelIsDrawnFromAStrip()
{
    auto *recording = new PanelWidthStyle;
    toolkit::ButtonPanelStyle style(recording);
    QPushButton big(QStringLiteral("Big"));
    big.setStyle(&style);
    big.setGeometry(0, 0, 5792, 5792);
    rendered(big, QSize(300, 200));
    QCOMPARE(recording->widest, 2 * toolkit::ButtonPanelStyle::kEdgePixels + 1);

    // Past the size the base style draws itself, the panel looks the same.
    const QSize size(800, 400);
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    QPushButton plain(QStringLiteral("Same"));
    plain.setStyle(fusion.get());
    plain.resize(size);
    big.setText(plain.text());
    big.resize(size);
    QCOMPARE(rendered(big, size), rendered(plain, size));
}

void tst_Controls::twoHundredLargestButtonsUseTheStrip()
{
    toolkit::OutputWindow window;
    window.setWidth(300 * 15);
    window.setHeight(200 * 15);
    for (int i = 0; i < 200; ++i) {
        Control button = window.addControl(QStringLiteral("VB.CommandButton"), QStringLiteral("b%1").arg(i));
        button.setProperty(QStringLiteral("Width"), 5792);
        button.setProperty(QStringLiteral("Height"), 5792);
        button.setProperty(QStringLiteral("Visible"), true);
    }
    window.show();
    QWidget *shown = toolkit::loadedWindows().last();
    QVERIFY(!shown->grab().isNull());
    const QList<QPushButton *> buttons = shown->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 200);
    for (QPushButton *button : buttons)
        QVERIFY(qobject_cast<toolkit::ButtonPanelStyle *>(button->style()));
    window.unload();
}

void tst_Controls::longCaptionShowsAsQtShowsIt_data()
{
    QTest::addColumn<QString>("classId");
    QTest::newRow("label") << "VB.Label";
    QTest::newRow("check box") << "VB.CheckBox";
    QTest::newRow("frame") << "VB.Frame";
}

// A caption far wider than its control is cut before Qt measures it, yet
// the control shows what Qt shows for the whole caption, and keeps it whole.
void tst_Controls::longCaptionShowsAsQtShowsIt()
{
    QFETCH(QString, classId);
    const QString caption = QStringLiteral("Long caption ").repeated(8000);
    const QRect place(0, 0, 200, 60);
    toolkit::OutputWindow window;
    Control control = window.addControl(classId, QStringLiteral("c"));
    control.setProperty(QStringLiteral("Caption"), caption);
    QWidget *shown = toolkit::loadedWindows().last()->findChild<QWidget *>(QStringLiteral("c"));
    QVERIFY(shown);
    shown->setGeometry(place);
    std::unique_ptr<QWidget> plain(plainWidget(classId, caption));
    plain->setGeometry(place);
    QCOMPARE(rendered(*shown, place.size()), rendered(*plain, place.size()));
    QCOMPARE(shown->property(classId == QLatin1String("VB.Frame") ? "title" : "text").toString(), caption);
    window.unload();
}

QTEST_MAIN(tst_Controls)
#include "tst_controls.moc"
