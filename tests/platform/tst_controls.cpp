// Property rules of the control kinds that no script command reaches on its
// own: read-only heights, entries on kinds that take none, list indexes.

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/outputwindow.h"
#include "platform/toolkiterror.h"

#include "support/testscript.h"

#include <QComboBox>
#include <QTest>

using platform::Control;
using platform::PropertyValue;

namespace {
// The error number a property set raises, 0 when it succeeds.
int errorOfSet(Control &control, const QString &property, const PropertyValue &value)
{
    return testsupport::errorNumberOf([&] { control.setProperty(property, value); });
}
} // namespace

class tst_Controls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void propertyRules_data();
    void propertyRules();
    void entriesOnlyOnLists();
    void comboHeightKeepsItsFont();
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
    QTest::newRow("button picture") << "VB.CommandButton" << "Picture" << PropertyValue(platform::Picture{}) << 438;
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

    platform::OutputWindow window;
    window.load();
    Control control = window.addControl(classId, QStringLiteral("c"));
    QCOMPARE(errorOfSet(control, property, value), error);
    window.unload();
}

void tst_Controls::entriesOnlyOnLists()
{
    platform::OutputWindow window;
    window.load();
    Control button = window.addControl(QStringLiteral("VB.CommandButton"), QStringLiteral("b"));
    QVERIFY_THROWS_EXCEPTION(platform::ToolkitError, button.addItems({QStringLiteral("x")}));
    Control drives = window.addControl(QStringLiteral("VB.DriveListBox"), QStringLiteral("d"));
    QVERIFY_THROWS_EXCEPTION(platform::ToolkitError, drives.addItems({QStringLiteral("x")}));
    Control list = window.addControl(QStringLiteral("VB.ListBox"), QStringLiteral("l"));
    list.addItems({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(errorOfSet(list, QStringLiteral("ListIndex"), 2), 380);
    QCOMPARE(errorOfSet(list, QStringLiteral("ListIndex"), 1), 0);
    window.unload();
}

void tst_Controls::comboHeightKeepsItsFont()
{
    platform::OutputWindow window;
    window.load();
    Control combo = window.addControl(QStringLiteral("VB.ComboBox"), QStringLiteral("c"));
    combo.setProperty(QStringLiteral("Top"), QStringLiteral("7"));
    combo.setProperty(QStringLiteral("Width"), QStringLiteral("150"));
    auto *widget = platform::loadedWindows().last()->findChild<QComboBox *>(QStringLiteral("c"));
    QVERIFY(widget && widget->isEditable());
    QCOMPARE(widget->geometry(), QRect(0, 7, 150, widget->sizeHint().height()));
    window.unload();
}

QTEST_MAIN(tst_Controls)
#include "tst_controls.moc"
