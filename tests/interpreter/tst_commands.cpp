// SPDX-License-Identifier: MIT
// Runs small scripts end to end and checks the windows and controls they
// leave behind, found by objectName, and the reports of runs that fail.

#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "support/recordinghost.h"
#include "support/testscript.h"
#include "toolkit/loadedwindows.h"
#include "toolkit/outputwindowwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <sys/stat.h>

namespace {

struct RunResult {
    QList<QWidget *> windows; // output windows the run left loaded
    QList<interpreter::RunReport> boxes; // reports shown as message boxes
    bool windowUpDuringBox = false;
    QString status;
};

QStringList entriesOf(const QComboBox *combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.append(combo->itemText(i));
    return entries;
}

QStringList entriesOf(const QListWidget *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

QString contentOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w)) {
        const QPixmap picture = l->pixmap();
        return picture.isNull() ? l->text() : QStringLiteral("picture %1x%2").arg(picture.width()).arg(picture.height());
    }
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        const QString selected = c->isEditable() ? c->currentText() : c->currentData().toString();
        return selected + QLatin1String(" [") + entriesOf(c).join(QLatin1Char('|')) + QLatin1String("] #")
            + QString::number(c->currentIndex());
    }
    if (auto *l = qobject_cast<QListWidget *>(w))
        return QLatin1Char('[') + entriesOf(l).join(QLatin1Char('|')) + QLatin1String("] #")
            + QString::number(l->currentRow());
    if (auto *t = qobject_cast<QTreeWidget *>(w)) {
        QTreeWidgetItem *current = t->currentItem();
        QStringList children;
        for (int i = 0; current && i < current->childCount(); ++i)
            children.append(current->child(i)->text(0));
        return (current ? current->data(0, Qt::UserRole).toString() : QString()) + QLatin1String(" [")
            + children.join(QLatin1Char('|')) + QLatin1Char(']');
    }
    return QStringLiteral("?");
}

// One line for everything a script can set on a control. A combo box's
// height shows as "auto" while it keeps the height its font needs.
QString describe(QWidget *w)
{
    const QRect g = w->geometry();
    const auto *combo = qobject_cast<QComboBox *>(w);
    const QString height = combo && g.height() == combo->sizeHint().height() ? QStringLiteral("auto")
                                                                             : QString::number(g.height());
    QString text = QStringLiteral("%1 %2,%3 %4x%5 '%6'")
                       .arg(QLatin1String(w->metaObject()->className()))
                       .arg(g.x())
                       .arg(g.y())
                       .arg(g.width())
                       .arg(height, contentOf(w));
    if (!w->isVisibleTo(w->window()))
        text += QLatin1String(" hidden");
    if (!w->isEnabled())
        text += QLatin1String(" disabled");
    if (!w->toolTip().isEmpty())
        text += QLatin1String(" tip='") + w->toolTip() + QLatin1Char('\'');
    return text;
}

} // namespace

class tst_Commands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void controls_data();
    void controls();
    void failures_data();
    void failures();
    void windowOptions_data();
    void windowOptions();
    void reportsNameThePlace_data();
    void reportsNameThePlace();

    void windowGeometryAndTitle();
    void templateBeforeCreateWindow();
    void secondCreateWindowReusesTheWindow();
    void eachRunBuildsItsOwnWindow();
    void nameIsUniquePerRunOnly();
    void bundledSampleRuns();

private:
    QString expand(QString text) const;
    RunResult run(const QString &script);

    QTemporaryDir m_dir;
    testsupport::RecordingHost m_host;
};

void tst_Commands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir root(m_dir.path());
    QVERIFY(root.mkpath(QStringLiteral("alpha")) && root.mkpath(QStringLiteral("Beta")));
    QVERIFY(root.mkpath(QStringLiteral("files")) && root.mkpath(QStringLiteral("pics/folder.png")));
    testsupport::writeFile(root.filePath(QStringLiteral("files/b.txt")), "b");
    testsupport::writeFile(root.filePath(QStringLiteral("files/A.txt")), "a");
    testsupport::writeFile(root.filePath(QStringLiteral("files/.hidden")), "h");
    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(root.filePath(QStringLiteral("pics/ok.png")), "PNG"));
    // A picture that is read by its content, not by the name of the file.
    QVERIFY(picture.save(root.filePath(QStringLiteral("pics/ok.dat")), "BMP"));
    testsupport::writeFile(root.filePath(QStringLiteral("pics/text.png")), "not a picture at all");
    QByteArray truncated = testsupport::readFile(root.filePath(QStringLiteral("pics/ok.png")));
    truncated.truncate(30);
    testsupport::writeFile(root.filePath(QStringLiteral("pics/cut.png")), truncated);
    QVERIFY(::mkfifo(QFile::encodeName(root.filePath(QStringLiteral("pics/fifo.png"))).constData(), 0600) == 0);
    QFile locked(root.filePath(QStringLiteral("pics/locked.png")));
    QVERIFY(picture.save(locked.fileName(), "PNG"));
    QVERIFY(locked.setPermissions(QFileDevice::Permissions()));
    // Relative paths must follow the script, not the working folder.
    QDir::setCurrent(QDir::rootPath());
}

void tst_Commands::cleanup()
{
    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
}

QString tst_Commands::expand(QString text) const
{
    text.replace(QLatin1String("%DIR%"), m_dir.path());
    text.replace(QLatin1String("%ROOT%"), QStorageInfo(m_dir.path()).rootPath());
    return text;
}

RunResult tst_Commands::run(const QString &script)
{
    const QString path = m_dir.filePath(QStringLiteral("script.txt"));
    testsupport::writeFile(path, expand(script).toUtf8());
    const QList<QWidget *> before = toolkit::loadedWindows();
    RunResult result;
    m_host.clear();
    interpreter::compileSource(path, interpreter::CompileNormally, m_host);
    for (QWidget *window : toolkit::loadedWindows()) {
        if (!before.contains(window))
            result.windows.append(window);
    }
    for (const testsupport::RecordingHost::Report &seen : m_host.reports) {
        if (!seen.report.title.isEmpty()) {
            result.boxes.append(seen.report);
            result.windowUpDuringBox = seen.loadedWindows > before.size();
        }
    }
    result.status = m_host.lastStatus();
    return result;
}

void tst_Commands::controls_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    const QString window = QStringLiteral("CreateWindow 10, 10, 400, 300, -, , \"W\"\n");
    auto row = [&](const char *tag, const char *lines, const char *name, const char *expected) {
        QTest::newRow(tag) << window + QLatin1String(lines) << QString::fromLatin1(name)
                           << QString::fromLatin1(expected);
    };
    row("button", "CreateButton 16, 40, 75, 23, cmdGo, x, \"Go\"", "cmdGo", "QPushButton 16,40 75x23 'Go'");
    row("frame", "CreateFrame 1, 2, 100, 50, fraA, -, \"Box\"", "fraA", "QGroupBox 1,2 100x50 'Box'");
    row("text box", "CreateTextbox 3, 4, 80, 20, txtA, -, \"abc\"", "txtA", "QLineEdit 3,4 80x20 'abc'");
    row("label", "CreateLabel 0, 0, 60, 15, lblA, -, \"<b>x</b>\"", "lblA", "QLabel 0,0 60x15 '<b>x</b>'");
    row("check box", "CreateCheckbox 5, 6, 90, 20, chkA, -, \"On\"", "chkA", "QCheckBox 5,6 90x20 'On'");
    row("caption without quotes", "CreateButton 1, 1, 9, 9, b, -, Hello", "b", "QPushButton 1,1 9x9 'ell'");
    row("one-character caption", "CreateButton 1, 1, 9, 9, b, -, \"", "b", "QPushButton 1,1 9x9 ''");
    row("caption cut at comma", "CreateButton 1, 1, 9, 9, b, -, \"Hello, world\"", "b",
        "QPushButton 1,1 9x9 'Hell'");
    row("longest side", "CreateLabel 0, 0, 16384, 1, l, -, \"\"", "l", "QLabel 0,0 16384x1 ''");
    row("largest area", "CreateLabel 0, 0, 16384, 2048, l, -, \"\"", "l", "QLabel 0,0 16384x2048 ''");
    row("fractional pixels", "CreateButton 1.4, 1.6, 9, 9, b, -, \"\"", "b", "QPushButton 1,2 9x9 ''");
    row("zero size", "CreateButton -5, -6, 0, 0, b, -, \"\"", "b", "QPushButton -5,-6 0x0 ''");
    row("list entries", "CreateListbox 0, 0, 50, 60, lst, -, \"a|b|c\"", "lst", "QListWidget 0,0 50x60 '[a|b|c] #-1'");
    row("list keeps empty entries", "CreateListbox 0, 0, 50, 60, lst, -, \"|a||\"", "lst",
        "QListWidget 0,0 50x60 '[|a||] #-1'");
    row("list without entries", "CreateListbox 0, 0, 50, 60, lst, -, \"\"", "lst", "QListWidget 0,0 50x60 '[] #-1'");
    row("combo selects first entry", "CreateCombobox 10, 20, 120, cbo, \"typed\", \"Red|Green|Blue\"", "cbo",
        "QComboBox 10,20 120xauto 'Red [Red|Green|Blue] #0'");
    row("combo edit text", "CreateCombobox 10, 20, 120, cbo, \"x\", \"Red\"\nSetText cbo, \"mine\"", "cbo",
        "QComboBox 10,20 120xauto 'mine [Red] #0'");
    row("image", "CreateImage 1, 2, 30, 40, img, -, \"pics/ok.png\"", "img", "QLabel 1,2 30x40 'picture 5x3'");
    row("image read by content", "CreateImage 1, 2, 3, 4, img, -, \"pics/ok.dat\"", "img",
        "QLabel 1,2 3x4 'picture 5x3'");
    row("image with no path", "CreateImage 1, 2, 3, 4, img, -, \"\"", "img", "QLabel 1,2 3x4 ''");
    row("drive of a folder", "CreateDrivelist 0, 0, 150, drv, -, \"%DIR%/alpha\"", "drv",
        "QComboBox 0,0 150xauto '%ROOT% [*] #*'");
    row("folders around path", "CreateDirlist 0, 0, 100, 90, dir, -, \".\"", "dir",
        "QTreeWidget 0,0 100x90 '%DIR% [alpha|Beta|files|pics]'");
    row("files of a path", "CreateFilelist 0, 0, 100, 90, fil, -, \"files\"", "fil",
        "QListWidget 0,0 100x90 '[A.txt|b.txt] #-1'");
    row("absolute file path", "CreateFilelist 0, 0, 100, 90, fil, -, \"%DIR%/alpha\"", "fil",
        "QListWidget 0,0 100x90 '[] #-1'");

    const char *button = "CreateButton 1, 1, 9, 9, b, -, \"\"\n";
    auto state = [&](const char *tag, const char *lines, const char *expected) {
        QTest::newRow(tag) << window + QLatin1String(button) + QLatin1String(lines) << QStringLiteral("b")
                           << QString::fromLatin1(expected);
    };
    state("enable True", "Enable b, False\nEnable b, True", "QPushButton 1,1 9x9 ''");
    state("enable true", "Enable b, true", "QPushButton 1,1 9x9 '' disabled");
    state("enable yes", "Enable b, yes", "QPushButton 1,1 9x9 '' disabled");
    state("enable 1", "Enable b, 1", "QPushButton 1,1 9x9 '' disabled");
    state("enable quoted True", "Enable b, \"True\"", "QPushButton 1,1 9x9 '' disabled");
    state("enable empty flag", "Enable b, , x", "QPushButton 1,1 9x9 '' disabled");
    state("hide", "SetVisible b, False", "QPushButton 1,1 9x9 '' hidden");
    state("hide and show", "SetVisible b, False\nSetVisible b, True", "QPushButton 1,1 9x9 ''");
    state("tool tip", "SetToolTip b, \"Press me\"", "QPushButton 1,1 9x9 '' tip='Press me'");
    state("caption", "SetCaption b, \"New\"", "QPushButton 1,1 9x9 'New'");
    state("lookup ignores case", "SetCaption B, \"New\"", "QPushButton 1,1 9x9 'New'");
    QTest::newRow("text box text") << window + QLatin1String("CreateTextbox 1, 1, 9, 9, t, -, \"old\"\nSetText t, \"new\"")
                                   << QStringLiteral("t") << QStringLiteral("QLineEdit 1,1 9x9 'new'");
    QTest::newRow("placed before window") << QLatin1String(button) + window << QStringLiteral("b")
                                          << QStringLiteral("QPushButton 1,1 9x9 ''");
}

void tst_Commands::controls()
{
    QFETCH(QString, script);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    const RunResult result = run(script);
    QCOMPARE(result.boxes.size(), 0);
    QCOMPARE(result.status, QStringLiteral("Compiled sucessfully..."));
    QCOMPARE(result.windows.size(), 1);
    QWidget *window = result.windows.first();
    QVERIFY(window->isVisible());
    QWidget *control = window->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(control);
    const QString actual = describe(control);
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(expand(expected)).replace(QLatin1String("\\*"), QLatin1String(".*"))));
    QVERIFY2(pattern.match(actual).hasMatch(), qPrintable(actual));
}

void tst_Commands::failures_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    const QString window = QStringLiteral("CreateWindow 10, 10, 400, 300, -, , \"W\"\n");
    const QString untrapped = QStringLiteral("UNTRAPPED ERROR...");
    auto row = [&](const char *tag, const char *lines, const QString &title, const char *text) {
        QTest::newRow(tag) << window + QLatin1String(lines) << title << QString::fromLatin1(text);
    };
    row("short line", "CreateButton 1, 2, 3, 4, b, -", untrapped, "9: Subscript out of range");
    row("short combo line", "CreateCombobox 1, 2, 3, c, \"t\"", untrapped, "9: Subscript out of range");
    row("duplicate name", "CreateButton 1, 2, 3, 4, b, -, \"\"\nCreateLabel 1, 2, 3, 4, B, -, \"\"", untrapped,
        "727: There is already a control with the name 'B'");
    row("name with a space", "CreateButton 1, 2, 3, 4, my b, -, \"\"", untrapped,
        "5: Invalid procedure call or argument");
    row("name starting with a digit", "CreateButton 1, 2, 3, 4, 1b, -, \"\"", untrapped,
        "5: Invalid procedure call or argument");
    row("position not a number", "CreateButton 1, x, 3, 4, b, -, \"\"", untrapped, "13: Type mismatch");
    row("combo without entries", "CreateCombobox 1, 2, 3, c, \"t\", \"\"", untrapped, "380: Invalid property value");
    row("negative height", "CreateButton 1, 2, 3, -4, b, -, \"\"", untrapped, "380: Invalid property value");
    row("side too long", "CreateListbox 1, 2, 16385, 4, b, -, \"\"", untrapped, "380: Invalid property value");
    row("area too large", "CreateButton 1, 2, 10000, 10000, b, -, \"\"", untrapped, "380: Invalid property value");
    row("area a pixel over", "CreateLabel 1, 2, 16384, 2049, b, -, \"\"", untrapped, "380: Invalid property value");
    row("position too far", "CreateButton 1, -1000001, 3, 4, b, -, \"\"", untrapped, "380: Invalid property value");
    row("caption on text box", "CreateTextbox 1, 2, 3, 4, t, -, \"\"\nSetCaption t, \"x\"", untrapped,
        "438: Object doesn't support this property or method");
    row("text on button", "CreateButton 1, 2, 3, 4, b, -, \"\"\nSetText b, \"x\"", untrapped,
        "438: Object doesn't support this property or method");
    row("text on list box", "CreateListbox 1, 2, 3, 4, l, -, \"\"\nSetText l, \"x\"", untrapped,
        "383: Property is read-only");
    row("missing control", "SetCaption nope, \"x\"", QStringLiteral("Trapped Error..."),
        "Cannot find the control named 'nope'.");
    row("missing control on short line", "Enable nope", QStringLiteral("Trapped Error..."),
        "Cannot find the control named 'nope'.");
    row("quoted control name", "CreateButton 1, 2, 3, 4, b, -, \"\"\nSetVisible \"b\", True",
        QStringLiteral("Trapped Error..."), "Cannot find the control named '\"b\"'.");
    row("picture missing", "CreateImage 1, 2, 3, 4, i, -, \"pics/none.png\"", QStringLiteral("CreateImage error..."),
        "Image does not appear to exist!");
    row("picture is a folder", "CreateImage 1, 2, 3, 4, i, -, \"pics/folder.png\"",
        QStringLiteral("CreateImage error..."), "Image does not appear to exist!");
    // Only where permissions hold (not for the superuser).
    if (!QFile(m_dir.filePath(QStringLiteral("pics/locked.png"))).open(QIODevice::ReadOnly))
        row("picture unreadable", "CreateImage 1, 2, 3, 4, i, -, \"pics/locked.png\"",
            QStringLiteral("CreateImage error..."), "Image does not appear to exist!");
    // Refused before any open: a FIFO would block it, a device never end.
    row("picture is a FIFO", "CreateImage 1, 2, 3, 4, i, -, \"pics/fifo.png\"", QStringLiteral("CreateImage error..."),
        "Image does not appear to exist!");
    row("picture is a device", "CreateImage 1, 2, 3, 4, i, -, \"/dev/zero\"", QStringLiteral("CreateImage error..."),
        "Image does not appear to exist!");
    QString manyControls;
    for (int i = 0; i < 100000; ++i)
        manyControls += QStringLiteral("CreateLabel 0, 0, 80, 20, l%1, -, \"x\"\n").arg(i);
    QTest::newRow("100,000 controls, past what a window paints safely")
        << window + manyControls << untrapped << QStringLiteral("7: Out of memory");
    const QString longName(1000000, QLatin1Char('n'));
    const QString boxStart = QStringLiteral("Cannot find the control named '");
    // The report keeps the name whole; the box that shows it cuts it.
    QTest::newRow("1 MB control name")
        << window + QStringLiteral("SetCaption ") + longName + QStringLiteral(", \"x\"")
        << QStringLiteral("Trapped Error...") << boxStart + longName + QStringLiteral("'.");
    row("picture folder missing", "CreateImage 1, 2, 3, 4, i, -, \"nowhere/x.png\"", untrapped, "76: Path not found");
    row("not a picture", "CreateImage 1, 2, 3, 4, i, -, \"pics/text.png\"", untrapped, "481: Invalid picture");
    row("cut picture", "CreateImage 1, 2, 3, 4, i, -, \"pics/cut.png\"", untrapped, "481: Invalid picture");
    row("drive missing", "CreateDrivelist 1, 2, 3, d, -, \"/no/such/drive\"", untrapped, "68: Device unavailable");
    row("folder list missing", "CreateDirlist 1, 2, 3, 4, d, -, \"nowhere\"", untrapped, "76: Path not found");
    row("file list missing", "CreateFilelist 1, 2, 3, 4, f, -, \"nowhere\"", untrapped, "76: Path not found");
    row("file list of a file", "CreateFilelist 1, 2, 3, 4, f, -, \"files/A.txt\"", untrapped, "76: Path not found");
    row("window left not a number", "CreateWindow x, 0, 100, 100, -, , \"W\"", untrapped, "13: Type mismatch");
    row("window too wide", "CreateWindow 0, 0, 16385, 100, -, , \"W\"", untrapped, "380: Invalid property value");
    row("window area a pixel over", "CreateWindow 0, 0, 16384, 2049, -, , \"W\"", untrapped,
        "380: Invalid property value");
    row("window height negative", "CreateWindow 0, 0, 100, -1, -, , \"W\"", untrapped, "380: Invalid property value");
    row("window too far", "CreateWindow 1000001, 0, 100, 100, -, , \"W\"", untrapped, "380: Invalid property value");
    row("window product overflow", "CreateWindow 1e38, 0, 100, 100, -, , \"W\"", untrapped, "6: Overflow");
    row("window short line", "CreateWindow 0, 0, 100, 100, -, ", untrapped, "9: Subscript out of range");
}

void tst_Commands::failures()
{
    QFETCH(QString, script);
    QFETCH(QString, title);
    QFETCH(QString, text);

    const RunResult result = run(script);
    QCOMPARE(result.boxes.size(), 1);
    QCOMPARE(result.boxes.first().title, title);
    QCOMPARE(result.boxes.first().text, text);
    QCOMPARE(result.boxes.first().style, 16);
    // The box comes first; the run window goes when it is answered.
    QVERIFY(result.windowUpDuringBox);
    QCOMPARE(result.windows.size(), 0);
}

void tst_Commands::reportsNameThePlace_data()
{
    QTest::addColumn<QString>("script"); // null: no script file at all
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("fileLine");

    const QString picture = QStringLiteral("CreateImage 1, 2, 3, 4, i, -, \"pics/none.png\"");
    QTest::newRow("picture missing on line 1") << picture << 53 << "CreateImage error..." << 1 << picture;
    QTest::newRow("script missing") << QString() << 53 << QString() << 0 << QString();
    QTest::newRow("lines after skipped ones") << "; c\r\n\r\n  CreateButton 1, 2, 3, 4, b, -  " << 9
                                              << "UNTRAPPED ERROR..." << 3 << "CreateButton 1, 2, 3, 4, b, -";
    QTest::newRow("line as written, before the date") << "\n\nSetCaption x, \"Date$\"" << 730 << "Trapped Error..."
                                                      << 3 << "SetCaption x, \"Date$\"";
    QTest::newRow("unknown keyword") << "CreateWindow 0, 0, 9, 9, -, , \"\"\rBogus 1" << 0 << QString() << 2
                                     << "Bogus 1";
}

void tst_Commands::reportsNameThePlace()
{
    QFETCH(QString, script);
    QFETCH(int, number);
    QFETCH(QString, title);
    QFETCH(int, line);
    QFETCH(QString, fileLine);

    const QString path = m_dir.filePath(QStringLiteral("script.txt"));
    QFile::remove(path);
    if (!script.isNull())
        testsupport::writeFile(path, script.toUtf8());
    m_host.clear();
    interpreter::compileSource(path, interpreter::CompileNormally, m_host);
    QCOMPARE(m_host.reports.size(), 1);
    const interpreter::RunReport &report = m_host.reports.first().report;
    QCOMPARE(report.number, number);
    QCOMPARE(report.unknownKeyword, number ? QString() : QStringLiteral("Bogus"));
    QCOMPARE(report.title, title);
    QCOMPARE(report.place.scriptPath, path);
    QCOMPARE(report.place.lineNumber, line);
    QCOMPARE(report.place.fileLine, fileLine);
}

void tst_Commands::windowOptions_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("frameless");

    QTest::newRow("none") << QString() << false;
    QTest::newRow("no border") << QStringLiteral("$10") << true;
    QTest::newRow("no border first") << QStringLiteral("$10|x") << true;
    QTest::newRow("no border last") << QStringLiteral("||$10") << true;
    QTest::newRow("space after piece") << QStringLiteral("$10 |x") << false;
    QTest::newRow("space before piece") << QStringLiteral("x| $10") << false;
    QTest::newRow("other case") << QStringLiteral("$1O") << false;
}

void tst_Commands::windowOptions()
{
    QFETCH(QString, options);
    QFETCH(bool, frameless);

    const RunResult result = run(QStringLiteral("CreateWindow 0, 0, 200, 100, -, %1, \"T\"").arg(options));
    QCOMPARE(result.windows.size(), 1);
    QWidget *window = result.windows.first();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowFlags().testFlag(Qt::FramelessWindowHint), frameless);
}

void tst_Commands::windowGeometryAndTitle()
{
    const RunResult result = run(QStringLiteral("CreateWindow 100, 50, 300, 200, anything, , \"My title\""));
    QCOMPARE(result.windows.size(), 1);
    auto *window = qobject_cast<toolkit::OutputWindowWidget *>(result.windows.first());
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("wTemplate"));
    QCOMPARE(window->windowTitle(), QStringLiteral("My title"));
    QVERIFY(window->isVisible());
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->leftTwips(), 1500.0f);
    QCOMPARE(window->heightTwips(), 3000.0f);
    // The frame, title bar and border included, covers what the script asked.
    QCOMPARE(window->frameGeometry(), QRect(100, 50, 300, 200));

    // A width that is not a number is taken as 0 without a message.
    const RunResult lenient = run(QStringLiteral("CreateWindow 0, 0, wide, 100, -, , \"T\""));
    QCOMPARE(lenient.boxes.size(), 0);
    QCOMPARE(lenient.windows.size(), 1);
    QCOMPARE(qobject_cast<toolkit::OutputWindowWidget *>(lenient.windows.first())->widthTwips(), 0.0f);
}

void tst_Commands::templateBeforeCreateWindow()
{
    const RunResult plain = run(QStringLiteral("CreateLabel 1, 1, 5, 5, l, -, \"\""));
    QCOMPARE(plain.windows.size(), 1);
    QCOMPARE(plain.windows.first()->windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(plain.windows.first()->objectName(), QStringLiteral("wTemplate"));

    const RunResult result = run(QStringLiteral("SetWindowTitle \"Hidden\"\nCreateLabel 1, 1, 5, 5, l, -, \"\""));
    QCOMPARE(result.status, QStringLiteral("Compiled sucessfully..."));
    QCOMPARE(result.windows.size(), 1);
    QWidget *window = result.windows.first();
    QVERIFY(!window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Hidden"));
    QCOMPARE(window->size(), QSize(268, 146));
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint) && flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));

    const RunResult fresh = run(QStringLiteral("Enable l, True"));
    QCOMPARE(fresh.boxes.size(), 1);
    QCOMPARE(fresh.windows.size(), 0);
    run(QStringLiteral("SetWindowTitle \"x\"\nCreateWindow 0, 0, 10, 10, -, , \"Form\""));
    QCOMPARE(toolkit::loadedWindows().last()->windowTitle(), QStringLiteral("Form"));
}

void tst_Commands::secondCreateWindowReusesTheWindow()
{
    const RunResult result = run(QStringLiteral("CreateWindow 0, 0, 200, 100, -, $10, \"First\"\n"
                                                "CreateButton 1, 1, 9, 9, b, -, \"\"\n"
                                                "CreateWindow 30, 40, 250, 150, -, , \"Second\"\n"
                                                "SetWindowTitle \"Third, cut\""));
    QCOMPARE(result.windows.size(), 1);
    QWidget *window = result.windows.first();
    QCOMPARE(window->windowTitle(), QStringLiteral("Thir"));
    QVERIFY(window->isVisible());
    QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window->frameGeometry(), QRect(30, 40, 250, 150));
    QVERIFY(window->findChild<QPushButton *>(QStringLiteral("b")));
}

void tst_Commands::eachRunBuildsItsOwnWindow()
{
    const QString script = QStringLiteral("CreateWindow 0, 0, 200, 100, -, , \"T\"");
    const RunResult first = run(script);
    const RunResult second = run(script);
    QCOMPARE(first.windows.size(), 1);
    QCOMPARE(second.windows.size(), 1);
    QVERIFY(first.windows.first() != second.windows.first());
    QVERIFY(first.windows.first()->isVisible() && second.windows.first()->isVisible());

    // A failing run takes only its own window away.
    const RunResult failed = run(script + QStringLiteral("\nCreateButton 1"));
    QCOMPARE(failed.boxes.size(), 1);
    QCOMPARE(toolkit::loadedWindows().size(), 2);
}

void tst_Commands::nameIsUniquePerRunOnly()
{
    const QString script = QStringLiteral("CreateWindow 0, 0, 200, 100, -, , \"T\"\nCreateButton 1, 1, 9, 9, b, -, \"\"");
    QCOMPARE(run(script).boxes.size(), 0);
    const RunResult again = run(script);
    QCOMPARE(again.boxes.size(), 0);
    QCOMPARE(again.windows.size(), 1);
    QVERIFY(again.windows.first()->findChild<QPushButton *>(QStringLiteral("b")));
}

void tst_Commands::bundledSampleRuns()
{
    const QString sample = QFINDTESTDATA("../../resources/GUI_All.txt");
    QVERIFY(!sample.isEmpty());
    m_host.clear();
    interpreter::compileSource(sample, interpreter::CompileNormally, m_host);
    QCOMPARE(m_host.reports.size(), 0);
    QCOMPARE(m_host.lastStatus(), QStringLiteral("Compiled sucessfully..."));
    QWidget *window = toolkit::loadedWindows().last();
    QVERIFY(window->isVisible());
    const QStringList names{"fraDetails", "lblName", "txtName", "chkNews", "cboColour", "lstSizes", "cmdOk",
                            "cmdCancel", "drvDisks", "dirFolders", "filFiles", "imgLogo"};
    for (const QString &name : names)
        QVERIFY2(window->findChild<QWidget *>(name), qPrintable(name));
    QVERIFY(!window->findChild<QLabel *>(QStringLiteral("imgLogo"))->pixmap().isNull());
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
