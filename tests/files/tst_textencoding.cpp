// SPDX-License-Identifier: MIT
#include "files/textencoding.h"
#include "files/textlines.h"

#include <QTest>

using namespace files;

Q_DECLARE_METATYPE(files::TextEncoding)

class TestTextEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineWalker_data();
    void lineWalker();
    void decoding_data();
    void decoding();
};

void TestTextEncoding::lineWalker_data()
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

void TestTextEncoding::lineWalker()
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

void TestTextEncoding::decoding_data()
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

void TestTextEncoding::decoding()
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

QTEST_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
