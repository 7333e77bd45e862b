// SPDX-License-Identifier: MIT
// The names a built window gives its controls for screen readers, the label
// mnemonics and the keyboard order, and the warnings of a run for controls
// that no label names.

#include "interpreter/compilesource.h"
#include "support/recordinghost.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class TestAccessibleNames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void names_data();
    void names();
    void keyboard_data();
    void keyboard();
    void ampersandShownLiterallyUnlessMnemonic();

private:
    QWidget *build(const QByteArray &lines, testsupport::RecordingHost &host);

    QTemporaryDir m_dir;
};

namespace {
const QByteArray kWindow = "CreateWindow 10, 10, 400, 300, -, , \"Form\"\n";

QString accessibleText(QWidget *widget, QAccessible::Text text)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(text) : QStringLiteral("(no interface)");
}

QString focusName() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
} // namespace

void TestAccessibleNames::initTestCase()
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(m_dir.filePath("team.logo.png")));
}

void TestAccessibleNames::cleanup()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
}

QWidget *TestAccessibleNames::build(const QByteArray &lines, testsupport::RecordingHost &host)
{
    const QString path = m_dir.filePath("script.txt");
    testsupport::writeFile(path, kWindow + lines);
    interpreter::compileSource(path, interpreter::CompileNormally, host);
    return toolkit::newestOutputWindow();
}

void TestAccessibleNames::names_data()
{
    QTest::addColumn<QByteArray>("lines"); // from line 2
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("buddyOf"); // the label that names it, if any
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("warnings");

    const QByteArray textBox = "CreateTextbox 100, 10, 100, 22, txtA, -, \"\"\n";
    const QStringList none;
    const QStringList unlabelled{"3: text box txtA has no label"};
    QTest::newRow("label left") << "CreateLabel 10, 10, 80, 20, lblA, -, \"&User:\"\n" + textBox << "txtA"
                                << "User:" << "lblA" << "" << none;
    QTest::newRow("label left, 24 px before") << "CreateLabel 10, 14, 66, 20, lblA, -, \"User\"\n" + textBox
                                              << "txtA" << "User" << "lblA" << "" << none;
    QTest::newRow("label left, 25 px before: too far") << "CreateLabel 10, 10, 65, 20, lblA, -, \"User\"\n" + textBox
                                                       << "txtA" << "txtA" << "" << "" << unlabelled;
    QTest::newRow("label left, reaching into the control")
        << "CreateLabel 10, 10, 120, 20, lblA, -, \"User\"\n" + textBox << "txtA" << "User" << "lblA" << "" << none;
    QTest::newRow("label left, not beside it") << "CreateLabel 10, 32, 80, 20, lblA, -, \"User\"\n" + textBox
                                               << "txtA" << "txtA" << "" << "" << unlabelled;
    QTest::newRow("label above, 12 px") << QByteArray("CreateLabel 150, 0, 80, 20, lblA, -, \"User\"\n"
                                                      "CreateTextbox 100, 32, 100, 22, txtA, -, \"\"\n")
                                        << "txtA" << "User" << "lblA" << "" << none;
    QTest::newRow("label above, 13 px: too far") << QByteArray("CreateLabel 100, 0, 80, 20, lblA, -, \"User\"\n"
                                                               "CreateTextbox 100, 33, 100, 22, txtA, -, \"\"\n")
                                                 << "txtA" << "txtA" << "" << "" << unlabelled;
    QTest::newRow("label above, beside its left edge") << QByteArray("CreateLabel 0, 0, 100, 20, lblA, -, \"User\"\n"
                                                                     "CreateTextbox 100, 25, 100, 22, txtA, -, \"\"\n")
                                                       << "txtA" << "txtA" << "" << "" << unlabelled;
    QTest::newRow("two labels left: the nearer") << "CreateLabel 10, 10, 70, 20, lblFar, -, \"Far\"\n"
                                                    "CreateLabel 75, 10, 20, 20, lblNear, -, \"Near\"\n" + textBox
                                                 << "txtA" << "Near" << "lblNear" << "" << none;
    QTest::newRow("a label beside wins over a nearer one above")
        << "CreateLabel 100, 0, 80, 8, lblAbove, -, \"Above\"\n"
           "CreateLabel 10, 10, 70, 20, lblBeside, -, \"Beside\"\n" + textBox
        << "txtA" << "Beside" << "lblBeside" << "" << none;
    QTest::newRow("a label names one control") << "CreateLabel 10, 10, 80, 20, lblA, -, \"User\"\n" + textBox
                                                      + "CreateListbox 10, 40, 80, 50, lstB, -, \"x|y\"\n"
                                               << "lstB" << "lstB" << "" << "" << QStringList{"4: list box lstB has no label"};
    QTest::newRow("a hidden label names nothing") << "CreateLabel 10, 10, 80, 20, lblA, -, \"User\"\n" + textBox
                                                         + "SetVisible lblA, False\n"
                                                  << "txtA" << "txtA" << "" << "" << unlabelled;
    QTest::newRow("&& reads as one &, a last & as nothing")
        << "CreateLabel 10, 10, 80, 20, lblA, -, \"Tom && &Jerry &\"\n" + textBox << "txtA" << "Tom & Jerry " << "lblA"
        << "" << none;
    QTest::newRow("list box under its label") << QByteArray("CreateLabel 10, 0, 80, 20, lblA, -, \"Fruit\"\n"
                                                            "CreateListbox 10, 24, 80, 50, lstA, -, \"x|y\"\n")
                                              << "lstA" << "Fruit" << "lblA" << "" << none;
    QTest::newRow("no label: script name, tool tip as description")
        << QByteArray("CreateDirlist 10, 10, 80, 80, dirA, -, \".\"\nSetToolTip dirA, \"Pick a folder\"\n")
        << "dirA" << "dirA" << "" << "Pick a folder" << QStringList{"2: folder list dirA has no label"};
    QTest::newRow("hidden control without label: no warning") << textBox + "SetVisible txtA, False\n"
                                                              << "txtA" << "txtA" << "" << "" << none;
    QTest::newRow("image: its file's base name") << QByteArray("CreateImage 0, 0, 9, 9, imgA, -, \"team.logo.png\"\n")
                                                 << "imgA" << "team.logo" << "" << "" << none;
    QTest::newRow("image: its tool tip")
        << QByteArray("CreateImage 0, 0, 9, 9, imgA, -, \"team.logo.png\"\nSetToolTip imgA, \"Our team\"\n")
        << "imgA" << "Our team" << "" << "Our team" << none;
}

void TestAccessibleNames::names()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, buddyOf);
    QFETCH(QString, description);
    QFETCH(QStringList, warnings);

    testsupport::RecordingHost host;
    QWidget *window = build(lines, host);
    QVERIFY(window);
    QCOMPARE(host.lastStatus(), "Compiled sucessfully...");
    QWidget *widget = window->findChild<QWidget *>(control);
    QCOMPARE(accessibleText(widget, QAccessible::Name), name);
    QCOMPARE(accessibleText(widget, QAccessible::Description), description);
    QString buddyLabel;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->buddy() == widget)
            buddyLabel = label->objectName();
    }
    QCOMPARE(buddyLabel, buddyOf);
    QCOMPARE(host.warnings, warnings);
}

void TestAccessibleNames::keyboard_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("tabOrder"); // the focus after each further Tab

    const QStringList scriptOrder{"txtUser", "cboServer", "lstRole", "chkRemember", "cmdOk", "txtUser"};
    QTest::newRow("Alt+letter of a label") << "cmdOk" << int(Qt::Key_S) << int(Qt::AltModifier) << "cboServer"
                                           << QStringList{"lstRole"};
    QTest::newRow("Alt+letter of a label above a list") << "txtUser" << int(Qt::Key_R) << int(Qt::AltModifier)
                                                        << "lstRole" << QStringList{"chkRemember"};
    QTest::newRow("Tab follows script order, not places") << "cmdOk" << int(Qt::Key_Tab) << 0 << "txtUser"
                                                          << scriptOrder.mid(1);
}

// Controls made bottom to top: the order of the script is not that of the places.
void TestAccessibleNames::keyboard()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focus);
    QFETCH(QStringList, tabOrder);

    testsupport::RecordingHost host;
    QWidget *window = build("CreateLabel 10, 150, 80, 20, lblUser, -, \"&User:\"\n"
                            "CreateTextbox 100, 150, 200, 22, txtUser, -, \"\"\n"
                            "CreateLabel 10, 110, 80, 20, lblServer, -, \"&Server:\"\n"
                            "CreateCombobox 100, 110, 200, cboServer, \"\", \"eu|us\"\n"
                            "CreateLabel 100, 10, 80, 20, lblRole, -, \"&Role\"\n"
                            "CreateListbox 100, 32, 200, 60, lstRole, -, \"a|b\"\n"
                            "CreateCheckbox 100, 180, 200, 22, chkRemember, -, \"Remember me\"\n"
                            "CreateButton 10, 0, 80, 24, cmdOk, -, \"OK\"\n",
                            host);
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->findChild<QWidget *>(start)->setFocus();
    QCOMPARE(focusName(), start);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(focusName(), focus);
    for (const QString &next : tabOrder) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), next);
    }
}

// A label that names a control shows its caption's & as the mnemonic; any
// other label shows its caption as written. Side by side, "A&&B" naming a
// text box and "A&B" naming nothing both read "A&B".
void TestAccessibleNames::ampersandShownLiterallyUnlessMnemonic()
{
    testsupport::RecordingHost host;
    QWidget *window = build("CreateLabel 10, 10, 60, 20, lblNaming, -, \"A&&B\"\n"
                            "CreateTextbox 80, 10, 100, 22, txtA, -, \"\"\n"
                            "CreateLabel 10, 100, 60, 20, lblAlone, -, \"A&B\"\n"
                            "CreateLabel 10, 200, 60, 20, lblWritten, -, \"A&&B\"\n",
                            host);
    const QImage naming = window->findChild<QLabel *>("lblNaming")->grab().toImage();
    QCOMPARE(window->findChild<QLabel *>("lblAlone")->grab().toImage(), naming);
    QVERIFY(window->findChild<QLabel *>("lblWritten")->grab().toImage() != naming);
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
