// SPDX-License-Identifier: MIT
// An output window used as a dialog: the values its controls hold and the
// ways it closes.

#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "toolkit/controlvalues.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputdialog.h"

#include "support/testscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestOutputDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void values_data();
    void values();
    void closing_data();
    void closing();

private:
    QWidget *build(const QByteArray &lines);

    QTemporaryDir m_dir;
};

namespace {
const QByteArray kWindow = "CreateWindow 10, 10, 400, 300, -, , \"Dialog\"\n";

// Every kind, with names out of alphabetical order; the file list shows the
// test's folder, which holds a.txt and b.txt.
const QByteArray kEveryKind = "CreateTextbox 0, 0, 90, 20, zText, -, \"it's\"\n"
                              "CreateLabel 0, 20, 90, 20, lblNone, -, \"label\"\n"
                              "CreateCheckbox 0, 40, 90, 20, yCheck, -, \"check\"\n"
                              "CreateListbox 0, 60, 90, 40, xList, -, \"one|two\"\n"
                              "CreateFrame 100, 0, 90, 40, fraNone, -, \"frame\"\n"
                              "CreateCombobox 100, 60, 90, wCombo, \"typed\", \"red|green\"\n"
                              "CreateDrivelist 200, 0, 90, vDrive, -, \"/\"\n"
                              "CreateDirlist 200, 40, 90, 60, uFolder, -, \".\"\n"
                              "CreateFilelist 300, 0, 90, 60, tFile, -, \".\"\n"
                              "CreateButton 300, 80, 90, 20, cmdOk, -, \"OK\"\n"
                              "CreateButton 300, 100, 90, 20, cmdCancel, -, \"Cancel\"\n";

QString describe(const QList<toolkit::ControlValue> &values)
{
    QStringList parts;
    for (const toolkit::ControlValue &value : values)
        parts.append(value.name + '=' + (value.checked ? (*value.checked ? "true" : "false") : value.text));
    return parts.join(';');
}
} // namespace

void TestOutputDialog::cleanup()
{
    for (const char16_t *name : {u"report-\xDCE9.txt", u"report-\uFFFD.txt"})
        testsupport::removeByName(m_dir.filePath(QString::fromUtf16(name)));
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
}

QWidget *TestOutputDialog::build(const QByteArray &lines)
{
    testsupport::writeFile(m_dir.filePath("a.txt"), "");
    testsupport::writeFile(m_dir.filePath("b.txt"), "");
    // The bytes report-\xE9.txt, which are not UTF-8, and report-\uFFFD.txt,
    // which is (platform/filenames.h).
    testsupport::writeFile(m_dir.filePath(QString::fromUtf16(u"report-\xDCE9.txt")), "");
    testsupport::writeFile(m_dir.filePath(QString::fromUtf16(u"report-\uFFFD.txt")), "");
    const QString path = m_dir.filePath("script.txt");
    testsupport::writeFile(path, kWindow + lines);
    interpreter::SilentRunHost host;
    interpreter::compileSource(path, interpreter::CompileNormally, host);
    return toolkit::newestOutputWindow();
}

void TestOutputDialog::values_data()
{
    QTest::addColumn<QString>("action"); // what the user changes: "control" or "control text"
    QTest::addColumn<QString>("expected");

    const QString folder = m_dir.path();
    const QString untouched = "zText=it's;yCheck=false;xList=;wCombo=red;vDrive=/;uFolder=" + folder + ";tFile=";
    QTest::newRow("as built, in script order") << "" << untouched;
    QTest::newRow("check box checked") << "yCheck" << QString(untouched).replace("yCheck=false", "yCheck=true");
    QTest::newRow("list entry selected") << "xList two" << QString(untouched).replace("xList=", "xList=two");
    QTest::newRow("combo text typed") << "wCombo blue" << QString(untouched).replace("wCombo=red", "wCombo=blue");
    QTest::newRow("file selected: its full path")
        << "tFile b.txt" << QString(untouched).replace("tFile=", "tFile=" + folder + "/b.txt");
    // Shown with the byte escaped, and leading to that file, not its look-alike.
    const QString notUtf8 = QString::fromUtf16(u"report-\xDCE9.txt");
    const QString lookAlike = QString::fromUtf16(u"report-\uFFFD.txt");
    QTest::newRow("a name that is not UTF-8")
        << "tFile report-\\xE9.txt" << QString(untouched).replace("tFile=", "tFile=" + folder + '/' + notUtf8);
    QTest::newRow("the name it looked like")
        << "tFile " + lookAlike << QString(untouched).replace("tFile=", "tFile=" + folder + '/' + lookAlike);
}

void TestOutputDialog::values()
{
    QFETCH(QString, action);
    QFETCH(QString, expected);
    QWidget *window = build(kEveryKind);
    QVERIFY(window);

    const QString name = action.section(' ', 0, 0);
    const QString text = action.section(' ', 1);
    if (name.isEmpty())
        ; // as built
    else if (auto *check = window->findChild<QCheckBox *>(name))
        check->click();
    else if (auto *list = window->findChild<QListWidget *>(name))
        list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
    else if (auto *combo = window->findChild<QComboBox *>(name))
        combo->lineEdit()->setText(text);
    QCOMPARE(describe(toolkit::controlValues(window)), expected);
}

void TestOutputDialog::closing_data()
{
    QTest::addColumn<QByteArray>("lines"); // after every kind's
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("button");
    QTest::newRow("click on a button") << QByteArray() << "cmdOk" << "cmdOk";
    QTest::newRow("Escape in a text box") << QByteArray() << "escape zText" << "";
    QTest::newRow("Escape in a list") << QByteArray() << "escape xList" << "";
    QTest::newRow("close box") << QByteArray() << "close" << "";
    QTest::newRow("Return in a text box: the first button") << QByteArray() << "return zText" << "cmdOk";
    QTest::newRow("Return in a check box") << QByteArray() << "return yCheck" << "cmdOk";
    QTest::newRow("Enter in a list") << QByteArray() << "enter xList" << "cmdOk";
    QTest::newRow("Return in a combo box") << QByteArray() << "return wCombo" << "cmdOk";
    QTest::newRow("Return on another button: that one") << QByteArray() << "return cmdCancel" << "cmdCancel";
    QTest::newRow("first button disabled: the next one")
        << QByteArray("Enable cmdOk, False\n") << "return zText" << "cmdCancel";
}

void TestOutputDialog::closing()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, how);
    QFETCH(QString, button);
    QWidget *window = build(kEveryKind + lines);
    toolkit::OutputDialog dialog(window);
    QCOMPARE(window->findChild<QPushButton *>("cmdOk")->isDefault(), lines.isEmpty());
    QTimer::singleShot(0, window, [window, how] {
        QWidget *target = window->findChild<QWidget *>(how.section(' ', 1));
        if (target)
            target->setFocus();
        if (how == "close")
            window->close();
        else if (how.startsWith("escape"))
            QTest::keyClick(target, Qt::Key_Escape);
        else if (how.startsWith("return") || how.startsWith("enter"))
            QTest::keyClick(target, how.startsWith("enter") ? Qt::Key_Enter : Qt::Key_Return);
        else
            QTest::mouseClick(window->findChild<QPushButton *>(how), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), button);
    QVERIFY(!window->isVisible());
    // Still loaded: its values can be read after it closed.
    QCOMPARE(toolkit::controlValues(window).value(0).text, "it's");
}

QTEST_MAIN(TestOutputDialog)
#include "tst_outputdialog.moc"
