// SPDX-License-Identifier: MIT
#include "editor/findbar.h"
#include "editor/scripteditor.h"
#include "editor/scripthighlighter.h"
#include "interpreter/commandtable.h"
#include "support/testscript.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

using editing::ScriptEditor;
using editing::ScriptToken;
using files::PlacedLine;

Q_DECLARE_METATYPE(editing::ScriptToken)

namespace {
// The format the highlighter gave the character at position, if any.
std::optional<QTextCharFormat> formatAt(const QTextBlock &block, int position)
{
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (position >= range.start && position < range.start + range.length)
            return range.format;
    }
    return std::nullopt;
}
} // namespace

class TestScriptEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editorCrLfText_data();
    void editorCrLfText();
    void editorRejectsNegativeSelection();
    void editorNotifiesOncePerChange();
    void tokenColours_data();
    void tokenColours();
    void find_data();
    void find();
    void goToLine_data();
    void goToLine();
    void markerUntilTheNextEdit();
    void linesAreColouredWhenShownWithoutAChange();
};

void TestScriptEditor::tokenColours_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("kind"); // a ScriptToken, or -1 for no colour

    const int none = -1;
    const QString button = QStringLiteral("CreateButton 8, 8, 80, 24, b1, -, \"Date$ 5\"");
    QTest::newRow("keyword") << button << 0 << int(ScriptToken::Keyword);
    QTest::newRow("number") << button << 13 << int(ScriptToken::Number);
    QTest::newRow("digit inside a name") << button << 28 << none;
    QTest::newRow("separator") << button << 14 << none;
    QTest::newRow("digit inside quotes") << button << 41 << int(ScriptToken::Quoted);
    QTest::newRow("Date$ inside quotes") << button << 36 << int(ScriptToken::Date);
    QTest::newRow("closing quote") << button << 42 << int(ScriptToken::Quoted);
    QTest::newRow("keyword after spaces") << QStringLiteral("   SetText t1, \"x\"") << 3 << int(ScriptToken::Keyword);
    QTest::newRow("indented with a tab") << QStringLiteral("\tSetText t1, \"x\"") << 0 << int(ScriptToken::NotACommand);
    QTest::newRow("keyword in other case") << QStringLiteral("settext t1, \"x\"") << 0 << int(ScriptToken::NotACommand);
    QTest::newRow("keyword without arguments") << QStringLiteral("SetText") << 0 << int(ScriptToken::NotACommand);
    QTest::newRow("comment") << QStringLiteral("  ; CreateButton 1") << 16 << int(ScriptToken::Comment);
    QTest::newRow("semicolon later is text") << QStringLiteral("SetText t1; 5") << 10 << none;
    QTest::newRow("negative decimal") << QStringLiteral("CreateWindow -1.5, 2") << 13 << int(ScriptToken::Number);
    QTest::newRow("Date$ unquoted") << QStringLiteral("SetWindowTitle Date$") << 19 << int(ScriptToken::Date);
    QTest::newRow("quote left open") << QStringLiteral("SetText t, \"open, 5") << 18 << int(ScriptToken::Quoted);
}

void TestScriptEditor::tokenColours()
{
    QFETCH(QString, line);
    QFETCH(int, position);
    QFETCH(int, kind);
    QTextDocument document;
    document.documentLayout(); // without a layout a document reports no changes to colour
    editing::ScriptHighlighter highlighter(&document, interpreter::commandKeywords());
    document.setPlainText(line);
    const std::optional<QTextCharFormat> format = formatAt(document.firstBlock(), position);
    if (kind < 0) {
        QVERIFY(!format);
        return;
    }
    QVERIFY(format);
    QCOMPARE(*format, highlighter.formatOf(ScriptToken(kind)));
    // Each kind looks different from every other.
    for (int other = 0; other <= int(ScriptToken::Date); ++other)
        QVERIFY(other == kind || highlighter.formatOf(ScriptToken(other)) != *format);
}

void TestScriptEditor::find_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("found"); // selection start in the CR LF text, -1 none

    // "ab" stands at 0, "AB" at 6 and "ab" at 10 of "ab\r\nx AB\r\nab".
    QTest::newRow("next, ignoring case") << "ab" << false << false << 1 << 6;
    QTest::newRow("next wraps to the start") << "ab" << false << false << 11 << 0;
    QTest::newRow("previous") << "ab" << false << true << 10 << 6;
    QTest::newRow("previous wraps to the end") << "ab" << false << true << 0 << 10;
    QTest::newRow("match case skips other case") << "AB" << true << false << 7 << 6;
    QTest::newRow("nothing matches") << "abc" << false << false << 0 << -1;
}

void TestScriptEditor::find()
{
    QFETCH(QString, search);
    QFETCH(bool, matchCase);
    QFETCH(bool, backward);
    QFETCH(int, from);
    QFETCH(int, found);
    editing::ScriptEditor editor;
    editing::FindBar bar(editor);
    editor.setText(QStringLiteral("ab\r\nx AB\r\nab"));
    editor.setSelection(from, 0);
    QVERIFY(!bar.matchCase()->isChecked());
    bar.field()->setText(search);
    bar.matchCase()->setChecked(matchCase);
    QCOMPARE(backward ? bar.findPrevious() : bar.findNext(), found >= 0);
    QCOMPARE(editor.selStart(), found >= 0 ? found : from);
    QCOMPARE(editor.selLength(), found >= 0 ? int(search.size()) : 0);
}

void TestScriptEditor::goToLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("cursorAt"); // in the CR LF text
    QTest::newRow("second line") << 2 << 4;
    QTest::newRow("first line") << 1 << 0;
    QTest::newRow("below the last line") << 99 << 9;
    QTest::newRow("zero") << 0 << 0;
}

void TestScriptEditor::goToLine()
{
    QFETCH(int, line);
    QFETCH(int, cursorAt);
    editing::ScriptEditor editor;
    editor.setText(QStringLiteral("ab\r\ncde\r\nf"));
    editor.setSelection(1, 1);
    editor.goToLine(line);
    QCOMPARE(editor.selStart(), cursorAt);
    QCOMPARE(editor.selLength(), 0);
}

void TestScriptEditor::markerUntilTheNextEdit()
{
    editing::ScriptEditor editor;
    editor.setText(QStringLiteral("one\r\ntwo\r\nthree"));
    editor.resize(300, 200);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setMarker(2, QStringLiteral("13: Type mismatch"));
    // The tool tip shows over the marked line's number and nowhere else.
    const int lineHeight = editor.fontMetrics().height();
    QWidget *gutter = editor.gutter();
    QPoint onLine2(2, 0);
    while (onLine2.y() < gutter->height() && editor.gutterLineAt(onLine2) != 2)
        onLine2.ry() += lineHeight / 2;
    QCOMPARE(editor.gutterLineAt(onLine2), 2);
    QHelpEvent help(QEvent::ToolTip, onLine2, gutter->mapToGlobal(onLine2));
    QApplication::sendEvent(gutter, &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("13: Type mismatch"));
    QToolTip::hideText();

    editor.setSelection(0, 3); // selecting is no edit
    QCOMPARE(editor.markerLine(), 2);
    QTest::keyClick(&editor, Qt::Key_X);
    QCOMPARE(editor.markerLine(), 0);
}

void TestScriptEditor::linesAreColouredWhenShownWithoutAChange()
{
    editing::ScriptEditor editor;
    editing::ScriptHighlighter highlighter(editor, interpreter::commandKeywords());
    editor.resize(300, 200);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    int changes = 0;
    connect(&editor, &QPlainTextEdit::textChanged, [&] { ++changes; });
    // Large enough (over 100,000 characters) to be coloured only where shown.
    editor.setText(QStringList(8000, QStringLiteral("SetText t1, \"x\"")).join(QStringLiteral("\r\n")));
    QCOMPARE(changes, 1);
    const QTextBlock far = editor.document()->findBlockByNumber(7900);
    QVERIFY(far.layout()->formats().isEmpty()); // not shown yet, not coloured yet
    editor.repaint(); // colouring the lines shown stops with them
    QVERIFY(far.layout()->formats().isEmpty());

    editor.goToLine(7901);
    QTRY_VERIFY(!far.layout()->formats().isEmpty());
    QCOMPARE(changes, 1); // colouring is no change of the text
    QCOMPARE(formatAt(far, 0), std::optional(highlighter.formatOf(ScriptToken::Keyword)));
    QTest::keyClick(&editor, Qt::Key_X);
    QCOMPARE(changes, 2);
    // An edit is coloured at once, as ever.
    QCOMPARE(formatAt(far, 0), std::optional(highlighter.formatOf(ScriptToken::NotACommand)));
}

void TestScriptEditor::editorCrLfText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::newRow("LF becomes CR LF") << "ab\ncd" << "ab\r\ncd";
    QTest::newRow("CR LF stays") << "ab\r\ncd\r\n" << "ab\r\ncd\r\n";
    QTest::newRow("no-break space kept") << QString("a") + QChar(0xA0) + "b" << QString("a") + QChar(0xA0) + "b";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("empty lines between") << "ab\n\ncab\r\n\nc" << "ab\r\n\r\ncab\r\n\r\nc";
}

void TestScriptEditor::editorCrLfText()
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

void TestScriptEditor::editorRejectsNegativeSelection()
{
    ScriptEditor editor;
    editor.setText(QStringLiteral("abc"));
    QCOMPARE(testsupport::errorNumberOf([&] { editor.setSelection(-1, 2); }), 380);
}

void TestScriptEditor::editorNotifiesOncePerChange()
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

QTEST_MAIN(TestScriptEditor)
#include "tst_scripteditor.moc"
