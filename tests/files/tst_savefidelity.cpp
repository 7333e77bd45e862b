#include "editor/patchedencoding.h"
#include "editor/scripteditor.h"
#include "files/savefidelity.h"

#include <QPlainTextDocumentLayout>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace files;
using namespace editing;

namespace {
// Loads bytes into the real editor and saves them back as the panel does:
// whether that gives the same bytes, a final line break aside.
bool editorKeeps(ScriptEditor &editor, const QByteArray &bytes)
{
    const DecodedText decoded = decodeText(bytes);
    editor.setText(decoded.text);
    QByteArray saved;
    PatchedEncoding encoder(*editor.document());
    const TextEncoding used = encoder.encodeInto(decoded.encoding, saved, decoded.lineBreak);
    ensureFinalLineBreak(saved, used, decoded.lineBreak);
    QByteArray expected = bytes;
    ensureFinalLineBreak(expected, decoded.encoding, decoded.lineBreak);
    return saved == expected;
}
// An ASCII document's bytes, each paragraph break a line break.
QByteArray wholeBytes(const QTextDocument &document, LineBreak lineBreak)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, lineBreak == LineBreak::Lf ? QStringLiteral("\n") : QStringLiteral("\r\n"));
    return text.toLatin1();
}
} // namespace

class TestSaveFidelity : public QObject {
    Q_OBJECT

    ScriptEditor m_editor;

private Q_SLOTS:
    void describesWhatASaveChanges_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("description");
        const QString change = QStringLiteral("A save would change this file: ");
        QTest::newRow("CR LF lines") << QByteArray("a\r\n\r\nb\r\n") << "";
        QTest::newRow("LF lines") << QByteArray("a\n\nb\n") << "";
        QTest::newRow("no final line break") << QByteArray("a\r\nb") << "";
        QTest::newRow("line separator, no-break space") << QByteArray("a\xE2\x80\xA8\xC2\xA0" "b\r\n") << "";
        QTest::newRow("paragraph separator") << QByteArray("a\xE2\x80\xA9" "b\r\n") << change + "U+2029 becomes a line break.";
        QTest::newRow("frame characters") << QByteArray("a\xEF\xB7\x90" "b\xEF\xB7\x91\r\n")
                                          << change + "U+FDD0 becomes a line break; U+FDD1 becomes a line break.";
        QTest::newRow("lone CR") << QByteArray("a\rb\r\n") << change + "CR without LF becomes CR LF.";
        QTest::newRow("CR lines only") << QByteArray("a\rb\r") << change + "CR without LF becomes CR LF.";
        QTest::newRow("LF in a CR LF file") << QByteArray("a\r\nb\n") << change + "LF without CR becomes CR LF.";
        QTest::newRow("utf-16le CR LF lines") << QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0\r\0\n\0", 14) << "";
        QTest::newRow("utf-16be LF lines") << QByteArray("\xFE\xFF\0a\0\n\0b\0\n", 10) << "";
        QTest::newRow("utf-32le, no final break") << QByteArray("\xFF\xFE\0\0" "a\0\0\0\n\0\0\0b\0\0\0", 16) << "";
        QTest::newRow("utf-16le lone CR") << QByteArray("\xFF\xFE" "a\0\r\0b\0\r\0\n\0", 12)
                                          << change + "CR without LF becomes CR LF.";
    }
    void describesWhatASaveChanges()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, description);
        QCOMPARE(describeSaveChanges(decodeText(bytes)), description);
        QCOMPARE(editorKeeps(m_editor, bytes), description.isEmpty());
    }

    // A save encodes the editor's paragraphs piece by piece; after edits that
    // split them into many pieces it gives the bytes of the whole text.
    void encodesLikeTheWholeText_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<int>("lineBreak");
        // Put into the middle of line 2 one character at a time from the last,
        // so that the pieces of the document lie in reverse order.
        QTest::addColumn<QString>("insert");
        QTest::addColumn<int>("used");
        const auto row = [](const char *name, TextEncoding encoding, LineBreak lineBreak, const QString &insert,
                            TextEncoding used) {
            QTest::newRow(name) << int(encoding) << int(lineBreak) << insert << int(used);
        };
        const QString pair = QString::fromUtf8("\U0001F600");
        row("utf-8 CR LF", TextEncoding::Utf8, LineBreak::CrLf, pair, TextEncoding::Utf8);
        row("utf-8 LF", TextEncoding::Utf8, LineBreak::Lf, QStringLiteral("\r\n"), TextEncoding::Utf8);
        row("windows-1252", TextEncoding::Windows1252, LineBreak::CrLf, QStringLiteral("\u00e9\u20ac"),
            TextEncoding::Windows1252);
        row("windows-1252 lacks the character", TextEncoding::Windows1252, LineBreak::Lf, QStringLiteral("\u0101"),
            TextEncoding::Utf8);
        row("utf-16le CR LF", TextEncoding::Utf16LE, LineBreak::CrLf, pair, TextEncoding::Utf16LE);
        row("utf-16be LF", TextEncoding::Utf16BE, LineBreak::Lf, pair, TextEncoding::Utf16BE);
        row("utf-32le CR LF", TextEncoding::Utf32LE, LineBreak::CrLf, pair, TextEncoding::Utf32LE);
        row("utf-32be LF", TextEncoding::Utf32BE, LineBreak::Lf, QStringLiteral("x"), TextEncoding::Utf32BE);
        row("utf-8, half a surrogate pair", TextEncoding::Utf8, LineBreak::CrLf, QString(QChar(0xD83D)),
            TextEncoding::Utf8);
    }
    void encodesLikeTheWholeText()
    {
        QFETCH(int, encoding);
        QFETCH(int, lineBreak);
        QFETCH(QString, insert);
        QFETCH(int, used);
        m_editor.setText(QStringLiteral("first\r\nsecond line\r\n\r\nlast"));
        QTextCursor cursor(m_editor.document());
        for (qsizetype i = insert.size() - 1; i >= 0; --i) {
            cursor.setPosition(9);
            cursor.insertText(QString(insert[i]));
        }
        cursor.setPosition(0);
        cursor.insertText(QStringLiteral("0"));
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\n"));

        QString text = m_editor.text();
        text.replace(QStringLiteral("\r\n"), lineBreak == int(LineBreak::Lf) ? QStringLiteral("\n") : QStringLiteral("\r\n"));
        QByteArray expected = byteOrderMark(TextEncoding(used)).toByteArray();
        // Half a surrogate pair has no bytes in any encoding: it is replaced.
        QCOMPARE(TextEncoder(TextEncoding(used)).append(expected, text), !insert.front().isSurrogate() || insert.size() > 1);
        QByteArray saved("left from the last save");
        PatchedEncoding encoder(*m_editor.document());
        QCOMPARE(int(encoder.encodeInto(TextEncoding(encoding), saved, LineBreak(lineBreak))), used);
        QCOMPARE(saved, expected);
    }

    // Saves after edits patch the last save's bytes; after any mix of edits,
    // and a final line break a save appended, they equal a whole encoding.
    void patchedSavesEqualWholeOnes_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<int>("lineBreak");
        QTest::newRow("UTF-8, CR LF") << int(TextEncoding::Utf8) << int(LineBreak::CrLf);
        QTest::newRow("UTF-8, LF") << int(TextEncoding::Utf8) << int(LineBreak::Lf);
        QTest::newRow("Windows-1252, CR LF") << int(TextEncoding::Windows1252) << int(LineBreak::CrLf);
    }
    void patchedSavesEqualWholeOnes()
    {
        QFETCH(int, encoding);
        QFETCH(int, lineBreak);
        const auto as = TextEncoding(encoding);
        const auto breaks = LineBreak(lineBreak);
        QTextDocument document;
        // As in the editor: a document without a layout announces no changes.
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        PatchedEncoding patched(document);
        document.setPlainText(QStringLiteral("CreateWindow 0, 0, 9, 9, -, , \"a\"\nSetText t, \"b\"\n\n; end"));
        QByteArray out = wholeBytes(document, breaks);
        patched.encodedWhole(out, as, breaks);
        QRandomGenerator random(encoding * 2 + lineBreak + 1);
        const QStringList pieces{"x", "\n", "ab\ncd", "\n\n", "", "Date$ 12, "};
        int patches = 0;
        for (int edit = 0; edit < 400; ++edit) {
            QTextCursor cursor(&document);
            cursor.setPosition(random.bounded(document.characterCount()));
            cursor.setPosition(qMin(document.characterCount() - 1, cursor.position() + random.bounded(8)),
                               QTextCursor::KeepAnchor);
            cursor.insertText(pieces.at(random.bounded(pieces.size())));
            if (edit % 7 == 0)
                ensureFinalLineBreak(out, as, breaks);
            // Where most of the text changed, the editor encodes it whole.
            if (patched.patch(out, as, breaks)) {
                ++patches;
            } else {
                out = wholeBytes(document, breaks);
                patched.encodedWhole(out, as, breaks);
            }
            QCOMPARE(out, wholeBytes(document, breaks));
        }
        QVERIFY(patches > 300);
        // A character outside ASCII is not patched: a whole encoding follows.
        QTextCursor(&document).insertText(QStringLiteral("\u00e9"));
        QVERIFY(!patched.patch(out, as, breaks));
    }

    // The description and the real editor agree on every character.
    void agreesWithTheEditorOnEveryCharacter()
    {
        QStringList disagreements;
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QByteArray bytes = (QStringLiteral("a") + QChar(c) + QStringLiteral("b\r\n")).toUtf8();
            if (describeSaveChanges(decodeText(bytes)).isEmpty() != editorKeeps(m_editor, bytes))
                disagreements << QString::number(c, 16);
        }
        QCOMPARE(disagreements, QStringList());
    }
};

QTEST_MAIN(TestSaveFidelity)
#include "tst_savefidelity.moc"
