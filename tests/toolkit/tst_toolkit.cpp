#include "interpreter/commandtable.h"
#include "platform/apppath.h"
#include "platform/capslock.h"
#include "toolkit/loadedwindows.h"
#include "platform/localerules.h"
#include "editor/scripteditor.h"
#include "editor/scripthighlighter.h"
#include "files/textencoding.h"
#include "toolkit/outputwindowwidget.h"
#include "files/textlines.h"
#include "platform/error.h"
#include "platform/units.h"
#include "platform/visibletext.h"
#include "support/testscript.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace files;
using namespace editing;
using namespace toolkit;
using namespace platform;

Q_DECLARE_METATYPE(files::TextEncoding)

class TestToolkit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void strictNumber_data();
    void strictNumber();
    void leadingNumber_data();
    void leadingNumber();
    void groupedCount_data();
    void groupedCount();
    void lineWalker_data();
    void lineWalker();
    void decoding_data();
    void decoding();
    void overflowingProduct();
    void twipsAt96Dpi();
    void pixelLimits_data();
    void pixelLimits();
    void joinPathKeepsDoubledSeparators();
    void formsInLoadOrder();
    void editorCrLfText_data();
    void editorCrLfText();
    void editorRejectsNegativeSelection();
    void editorNotifiesOncePerChange();
    void elidedText_data();
    void elidedText();
    void capsLockFromKeyboardLeds_data();
    void capsLockFromKeyboardLeds();
};

void TestToolkit::strictNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("integer") << "12" << 12.0 << 0;
    QTest::newRow("spaces around") << "  12 " << 12.0 << 0;
    QTest::newRow("decimal") << "1.5" << 1.5 << 0;
    QTest::newRow("negative") << "-40" << -40.0 << 0;
    QTest::newRow("grouped") << "1,234" << 1234.0 << 0;
    QTest::newRow("letters") << "abc" << 0.0 << 13;
    QTest::newRow("trailing letters") << "12px" << 0.0 << 13;
    QTest::newRow("empty") << "" << 0.0 << 13;
}

void TestToolkit::strictNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, error);
    double result = 0;
    QCOMPARE(testsupport::errorNumberOf([&] { result = toNumber(text); }), error);
    if (!error)
        QCOMPARE(result, value);
}

void TestToolkit::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("spaces inside ignored") << " 1 2 " << 12.0;
    QTest::newRow("negative decimal") << "-3.5x" << -3.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("dangling exponent") << "7e" << 7.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestToolkit::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(platform::leadingNumber(text), value);
}

void TestToolkit::groupedCount_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("below a thousand") << qint64(999) << "999";
    QTest::newRow("a thousand") << qint64(1000) << "1,000";
    QTest::newRow("millions") << qint64(12345678) << "12,345,678";
}

void TestToolkit::groupedCount()
{
    QFETCH(qint64, count);
    QFETCH(QString, text);
    QCOMPARE(formatGroupedCount(count), text);
}

void TestToolkit::lineWalker_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("mixed ends") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("terminated last line") << "a\r\n" << QStringList{"a"};
    QTest::newRow("blank lines kept") << "a\n\n\nb" << QStringList{"a", "", "", "b"};
    QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("break alone") << "\r\n" << QStringList{""};
}

void TestToolkit::lineWalker()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    LineWalker walker(text);
    QStringList read;
    while (!walker.atEnd()) {
        read.append(walker.textOf(walker.next()).toString());
        QCOMPARE(walker.lineNumber(), int(read.size()));
    }
    QCOMPARE(read, lines);
}

void TestToolkit::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    const auto utf8 = TextEncoding::Utf8;
    const auto cp1252 = TextEncoding::Windows1252;
    const QString marked = QStringLiteral("a\r\n"); // the mark stays out of the text
    QTest::newRow("ascii") << QByteArray("abc") << "abc" << utf8;
    QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9") << QString::fromUtf8("caf\xC3\xA9") << utf8;
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBFx") << QString(QChar(0xFEFF)) + "x" << utf8;
    QTest::newRow("latin byte is windows-1252") << QByteArray("caf\xE9") << QString::fromUtf8("caf\xC3\xA9") << cp1252;
    QTest::newRow("euro and quotes") << QByteArray("\x80\x93\x94") << QString::fromUtf8("\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D")
                                     << cp1252;
    QTest::newRow("utf-16le") << QByteArray("\xFF\xFE" "a\0\r\0\n\0", 8) << marked << TextEncoding::Utf16LE;
    QTest::newRow("utf-16be") << QByteArray("\xFE\xFF\0a\0\r\0\n", 8) << marked << TextEncoding::Utf16BE;
    QTest::newRow("utf-32le") << QByteArray("\xFF\xFE\0\0" "a\0\0\0\r\0\0\0\n\0\0\0", 16) << marked
                              << TextEncoding::Utf32LE;
    QTest::newRow("utf-32be") << QByteArray("\0\0\xFE\xFF\0\0\0a\0\0\0\r\0\0\0\n", 16) << marked
                              << TextEncoding::Utf32BE;
    QTest::newRow("odd-length utf-16 is kept byte for byte") << QByteArray("\xFF\xFE" "a") << QStringLiteral("\u00FF\u00FEa")
                                                             << cp1252;
}

void TestToolkit::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    const DecodedText decoded = decodeText(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
    QByteArray encoded = byteOrderMark(encoding).toByteArray();
    QVERIFY(TextEncoder(decoded.encoding).append(encoded, decoded.text));
    QCOMPARE(encoded, bytes);
}

void TestToolkit::overflowingProduct()
{
    QCOMPARE(testsupport::errorNumberOf([] { checkedSingleProduct(1e38, 15); }), 6);
    QCOMPARE(testsupport::errorNumberOf([] { checkedSingleProduct(std::numeric_limits<double>::infinity(), 15); }), 6);
    QCOMPARE(testsupport::errorNumberOf([] { checkedSingleProduct(std::numeric_limits<double>::quiet_NaN(), 15); }), 6);
    QCOMPARE(checkedSingleProduct(-20, 15), -300.0f);
}

void TestToolkit::twipsAt96Dpi()
{
    // The offscreen platform reports 96 DPI.
    QCOMPARE(twipsPerPixelX(), 15.0f);
    QCOMPARE(twipsPerPixelY(), 15.0f);
    QCOMPARE(twipsToPixelsX(4020), 268);
    QCOMPARE(twipsToPixelsY(2190), 146);
    // 100 twips are 6.67 pixels: rounded, not cut.
    QCOMPARE(twipsToPixelsX(100), 7);
    QCOMPARE(twipsToPixelsY(100), 7);
    QCOMPARE(twipsToPixels(QRect(100, 5000, 4125, 2985)), QRect(7, 333, 275, 199));
}

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

void TestToolkit::joinPathKeepsDoubledSeparators()
{
    QCOMPARE(joinPath(QStringLiteral("/opt/zarvo"), QStringLiteral("GUI_All.txt")), QStringLiteral("/opt/zarvo/GUI_All.txt"));
    QCOMPARE(joinPath(QStringLiteral("/"), QStringLiteral("GUI_All.txt")), QStringLiteral("/GUI_All.txt"));
    QCOMPARE(joinPath(QStringLiteral("//server/share"), QStringLiteral("GUI_All.txt")),
             QStringLiteral("//server/share/GUI_All.txt"));
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

void TestToolkit::editorCrLfText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::newRow("LF becomes CR LF") << "ab\ncd" << "ab\r\ncd";
    QTest::newRow("CR LF stays") << "ab\r\ncd\r\n" << "ab\r\ncd\r\n";
    QTest::newRow("no-break space kept") << QString("a") + QChar(0xA0) + "b" << QString("a") + QChar(0xA0) + "b";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("empty lines between") << "ab\n\ncab\r\n\nc" << "ab\r\n\r\ncab\r\n\r\nc";
}

void TestToolkit::editorCrLfText()
{
    QFETCH(QString, input);
    QFETCH(QString, text);
    ScriptEditor editor;
    int changes = 0;
    connect(&editor, &QPlainTextEdit::textChanged, [&] { ++changes; });
    editor.setText(input);
    QCOMPARE(changes, 1);
    QCOMPARE(editor.text(), text);
    QCOMPARE(editor.textLength(), qint64(text.size()));
    // Every position of the CR LF text outside a line break selects the same characters.
    for (int start = 0; start <= text.size(); ++start) {
        if (start > 0 && text[start - 1] == QLatin1Char('\r'))
            continue;
        const int length = int(text.size()) - start;
        editor.setSelection(start, length);
        QCOMPARE(editor.selStart(), start);
        QCOMPARE(editor.selLength(), length);
        QCOMPARE(editor.textCursor().selectedText().replace(QChar::ParagraphSeparator, "\r\n"), text.mid(start));
        const std::optional<PlacedLine> found = editor.find(QStringLiteral("b"), start, Qt::CaseSensitive);
        QCOMPARE(found ? int(found->start) : -1, int(text.indexOf(QLatin1Char('b'), start)));
    }
    // Lines by number, as the text's own lines with their places.
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (int i = 0; i < lines.size(); ++i) {
        const std::optional<PlacedLine> line = editor.line(i);
        QVERIFY(line);
        QCOMPARE(line->text, lines[i]);
        QCOMPARE(text.mid(line->start, lines[i].size() + 2), lines[i] + (i + 1 < lines.size() ? "\r\n" : ""));
    }
    QVERIFY(!editor.line(int(lines.size())));
}

void TestToolkit::editorRejectsNegativeSelection()
{
    ScriptEditor editor;
    editor.setText(QStringLiteral("abc"));
    QCOMPARE(testsupport::errorNumberOf([&] { editor.setSelection(-1, 2); }), 380);
}

void TestToolkit::editorNotifiesOncePerChange()
{
    ScriptEditor editor;
    // Colouring what changed is no further change.
    editing::ScriptHighlighter highlighter(editor, interpreter::commandKeywords());
    int changes = 0;
    connect(&editor, &QPlainTextEdit::textChanged, [&] { ++changes; });
    QTest::keyClicks(&editor, QStringLiteral("ab"));
    QCOMPARE(changes, 2);
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(changes, 3);
    editor.insertPlainText(QString());
    QCOMPARE(changes, 3);
    QCOMPARE(editor.text(), QStringLiteral("ab\r\n"));
}

void TestToolkit::capsLockFromKeyboardLeds_data()
{
    QTest::addColumn<QStringList>("leds"); // "name=brightness"
    QTest::addColumn<int>("state");       // -1 unknown, 0 off, 1 on
    QTest::newRow("no keyboard LEDs") << QStringList{"input0::numlock=1"} << -1;
    QTest::newRow("off") << QStringList{"input0::capslock=0", "input0::numlock=1"} << 0;
    QTest::newRow("on") << QStringList{"input0::capslock=1"} << 1;
    QTest::newRow("any keyboard on") << QStringList{"input0::capslock=0", "input3::capslock=1"} << 1;
}

void TestToolkit::capsLockFromKeyboardLeds()
{
    QFETCH(QStringList, leds);
    QFETCH(int, state);
    QTemporaryDir folder;
    for (const QString &led : leds) {
        const QStringList parts = led.split(QLatin1Char('='));
        QVERIFY(QDir(folder.path()).mkpath(parts[0]));
        testsupport::writeFile(folder.filePath(parts[0] + QStringLiteral("/brightness")), parts[1].toLatin1() + "\n");
    }
    const std::optional<bool> caps = capsLockState(folder.path());
    QCOMPARE(caps.has_value() ? int(*caps) : -1, state);
    // Without an X server (offscreen) the watcher reads the same LEDs.
    const CapsLockWatcher watcher(folder.path());
    QCOMPARE(watcher.state(), caps);
    QCOMPARE(watcher.source(), caps ? CapsLockWatcher::Source::LedFiles : CapsLockWatcher::Source::None);
}

void TestToolkit::elidedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxCharacters");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter") << "abcd" << 5 << "abcd";
    QTest::newRow("at the limit") << "abcde" << 5 << "abcde";
    QTest::newRow("one over") << "abcdef" << 5 << "ab...";
    QTest::newRow("surrogate pair not cut") << QString::fromUtf8("a\U0001F600bcdef") << 5 << "a...";
    QTest::newRow("surrogate pair fits") << QString::fromUtf8("ab\U0001F600cdef") << 7 << QString::fromUtf8("ab\U0001F600...");
}

void TestToolkit::elidedText()
{
    QFETCH(QString, text);
    QFETCH(int, maxCharacters);
    QFETCH(QString, expected);
    QCOMPARE(platform::elidedText(text, maxCharacters), expected);
}

QTEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
