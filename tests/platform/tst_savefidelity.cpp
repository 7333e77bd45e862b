#include "platform/savefidelity.h"
#include "platform/scripteditor.h"

#include <QTest>

using namespace platform;

namespace {
// Loads bytes into the real editor and saves them back as the panel does:
// whether that gives the same bytes, a final line break aside.
bool editorKeeps(ScriptEditor &editor, const QByteArray &bytes)
{
    const DecodedText decoded = decodeText(bytes);
    editor.setText(decoded.text);
    QByteArray saved;
    const TextEncoding used = editor.encodeTextInto(decoded.encoding, saved, decoded.lineBreak);
    ensureFinalLineBreak(saved, used, decoded.lineBreak);
    QByteArray expected = bytes;
    ensureFinalLineBreak(expected, decoded.encoding, decoded.lineBreak);
    return saved == expected;
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
