// SPDX-License-Identifier: MIT
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
// A document's bytes in one encoding of its whole text, each paragraph break
// a line break.
QByteArray wholeBytes(const QTextDocument &document, TextEncoding encoding, LineBreak lineBreak)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, lineBreak == LineBreak::Lf ? QStringLiteral("\n") : QStringLiteral("\r\n"));
    QByteArray bytes = byteOrderMark(encoding).toByteArray();
    TextEncoder(encoding).append(bytes, text);
    return bytes;
}

// A script of about 12,000 characters, its lines holding text.
QString scriptOf(const QString &text)
{
    QStringList lines;
    for (int i = 0; i < 240; ++i)
        lines << QStringLiteral("SetText t%1, \"%2\"").arg(i).arg(text);
    return lines.join(QLatin1Char('\n'));
}

// A place to edit: anywhere, or near where a segment of the encoding's
// bookkeeping (4,096 characters) may end.
int editPosition(QRandomGenerator &random, int characters)
{
    if (random.bounded(2) == 0)
        return random.bounded(characters);
    const int nearBoundary = 4096 * (1 + random.bounded(3)) + random.bounded(-6, 6);
    return qBound(0, nearBoundary, characters - 1);
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

    // A first save, after edits, gives the bytes of the whole text in every
    // encoding; Windows-1252 gives way to UTF-8 for a character it lacks.
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

    // Saves after edits patch the last save's bytes; after any mix of edits
    // (undone ones and ones that part or join surrogate pairs included), and
    // a final line break a save appended, they equal a whole encoding.
    void patchedSavesEqualWholeOnes_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<int>("lineBreak");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        const QString pair = QString::fromUtf8("\U0001F600");
        const QStringList unicode{"x", "\n", "ab\ncd", "", "\u00e9\u20ac", "\u00a0\u2028", pair,
                                  QString(QChar(0xD83D)), QString(QChar(0xDE00)), QString(900, QChar(0x4e2d)) + "\n"};
        const QStringList codePage{"x", "\n", "ab\ncd", "", "\u00e9\u20ac", "\u00a0\u2030",
                                   QString(900, QChar(0xe9)) + "\n"};
        const auto row = [&](const char *name, TextEncoding encoding, LineBreak lineBreak, const QString &text,
                             const QStringList &pieces) {
            QTest::newRow(name) << int(encoding) << int(lineBreak) << text << pieces;
        };
        const QString greek = scriptOf(QStringLiteral("\u03b1\u03b2 ") + pair);
        row("UTF-8, CR LF, ASCII", TextEncoding::Utf8, LineBreak::CrLf, scriptOf("abc"), {"x", "\n", "ab\ncd", ""});
        row("UTF-8, LF", TextEncoding::Utf8, LineBreak::Lf, greek, unicode);
        row("UTF-8 with its byte order mark", TextEncoding::Utf8, LineBreak::CrLf, "\ufeff" + greek, unicode);
        row("Windows-1252, CR LF", TextEncoding::Windows1252, LineBreak::CrLf, scriptOf("Gr\u00fc\u00dfe"), codePage);
        row("Windows-1252, LF", TextEncoding::Windows1252, LineBreak::Lf, scriptOf("\u20ac"), codePage);
        row("UTF-8, pairs throughout", TextEncoding::Utf8, LineBreak::Lf, "x" + pair.repeated(7000), unicode);
        row("UTF-16LE, CR LF", TextEncoding::Utf16LE, LineBreak::CrLf, greek, unicode);
        row("UTF-16BE, LF", TextEncoding::Utf16BE, LineBreak::Lf, greek, unicode);
        row("UTF-32LE, LF", TextEncoding::Utf32LE, LineBreak::Lf, greek, unicode);
        row("UTF-32BE, CR LF", TextEncoding::Utf32BE, LineBreak::CrLf, greek, unicode);
    }
    void patchedSavesEqualWholeOnes()
    {
        QFETCH(int, encoding);
        QFETCH(int, lineBreak);
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        const auto as = TextEncoding(encoding);
        const auto breaks = LineBreak(lineBreak);
        QTextDocument document;
        // As in the editor: a document without a layout announces no changes.
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setPlainText(text);
        PatchedEncoding patched(document);
        QByteArray out;
        QCOMPARE(patched.encodeInto(as, out, breaks), as);
        QRandomGenerator random(encoding * 2 + lineBreak + 1);
        int patches = 0;
        for (int edit = 0; edit < 600; ++edit) {
            if (edit % 11 == 10) {
                document.undo();
            } else {
                // In an edit block, placing the cursor lays nothing out.
                QTextCursor cursor(&document);
                cursor.beginEditBlock();
                cursor.setPosition(editPosition(random, document.characterCount()));
                cursor.setPosition(qMin(document.characterCount() - 1, cursor.position() + random.bounded(12)),
                                   QTextCursor::KeepAnchor);
                cursor.insertText(pieces.at(random.bounded(pieces.size())));
                cursor.endEditBlock();
            }
            if (edit % 7 == 0)
                ensureFinalLineBreak(out, as, breaks);
            const QByteArray whole = wholeBytes(document, as, breaks);
            QCOMPARE(patched.encodedSize(as, breaks), whole.size());
            QCOMPARE(patched.encodeInto(as, out, breaks), as);
            patches += patched.lastPatched();
            QCOMPARE(out, whole);
        }
        QVERIFY2(patches > 550, qPrintable(QString::number(patches)));
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
