#include "protocol/Conversions.h"

#include <QRandomGenerator>
#include <QTest>

// Hex text as the console, the frame codec and the data page use it: every byte value survives,
// 00 included, and malformed text never fails, it only counts as 0.
class ConversionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hexDigitValue_data();
    void hexDigitValue();
    void hexPairValue_data();
    void hexPairValue();
    void hexToBytes_data();
    void hexToBytes();
    void hexToBytesReadsTextAsGbk_data();
    void hexToBytesReadsTextAsGbk();
    void bytesToHex_data();
    void bytesToHex();
    void everyByteValueRoundTrips_data();
    void everyByteValueRoundTrips();
    void largeReplyMatchesReference();
    void hexChecksum_data();
    void hexChecksum();
    void removeBlanks_data();
    void removeBlanks();
};

void ConversionsTest::hexDigitValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("9") << QByteArray("9") << 9;
    QTest::newRow("A") << QByteArray("A") << 10;
    QTest::newRow("a") << QByteArray("a") << 10;
    QTest::newRow("F") << QByteArray("F") << 15;
    QTest::newRow("f") << QByteArray("f") << 15;
    QTest::newRow("G is no digit") << QByteArray("G") << 0;
    QTest::newRow("blank") << QByteArray(" ") << 0;
    QTest::newRow("00 byte") << QByteArray(1, '\0') << 0;
    QTest::newRow("high byte") << QByteArray("\xC1") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("two characters") << QByteArray("10") << 0;
    QTest::newRow("digit and blank") << QByteArray("F ") << 0;
}

void ConversionsTest::hexDigitValue()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(Conversions::HexDigitValue(text), value);
}

void ConversionsTest::hexPairValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("A8") << QByteArray("A8") << 0xA8;
    QTest::newRow("a8") << QByteArray("a8") << 0xA8;
    QTest::newRow("00") << QByteArray("00") << 0;
    QTest::newRow("FF") << QByteArray("FF") << 255;
    QTest::newRow("one digit is the high half") << QByteArray("F") << 0xF0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("third character ignored") << QByteArray("12F") << 0x12;
    QTest::newRow("non-hex high") << QByteArray("G1") << 0x01;
    QTest::newRow("non-hex low") << QByteArray("1G") << 0x10;
}

void ConversionsTest::hexPairValue()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(Conversions::HexPairValue(text), value);
}

void ConversionsTest::hexToBytes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blanks only") << QByteArray("    ") << QByteArray();
    QTest::newRow("with blanks") << QByteArray("A8 81 01") << QByteArray("\xA8\x81\x01");
    QTest::newRow("without blanks") << QByteArray("A88101") << QByteArray("\xA8\x81\x01");
    QTest::newRow("odd: last digit is a byte of its own") << QByteArray("ABC") << QByteArray("\xAB\x0C");
    QTest::newRow("blanks removed before pairing") << QByteArray("1 2 3") << QByteArray("\x12\x03");
    QTest::newRow("lower case") << QByteArray("a8") << QByteArray("\xA8");
    QTest::newRow("upper case") << QByteArray("A8") << QByteArray("\xA8");
    QTest::newRow("single digit") << QByteArray("F") << QByteArray("\x0F");
    QTest::newRow("00 bytes kept") << QByteArray("00 00 41 00") << QByteArray("\0\0A\0", 4);
    QTest::newRow("non-hex counts as 0") << QByteArray("G1") << QByteArray("\x01");
    QTest::newRow("all non-hex") << QByteArray("zz") << QByteArray(1, '\0');
    // Only the space is a blank: tab and line ends are characters (worth 0) like any other.
    QTest::newRow("tab and line end are no blanks")
        << QByteArray("\t0A\r\n") << QByteArray("\x00\xA0\x00", 3);
    QTest::newRow("blanks at both ends") << QByteArray("  FF ee  ") << QByteArray("\xFF\xEE");
}

void ConversionsTest::hexToBytes()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Conversions::HexToBytes(text), bytes);
    QCOMPARE(Conversions::HexToBytes(QString::fromLatin1(text)), bytes);
}

void ConversionsTest::hexToBytesReadsTextAsGbk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // 中 is two bytes in GBK (three in UTF-8): the pairing after it shows which encoding was used.
    QTest::newRow("Chinese then a digit") << QStringLiteral("中A") << QByteArray("\x00\x0A", 2);
    QTest::newRow("two Chinese characters") << QStringLiteral("中文") << QByteArray("\x00\x00", 2);
    QTest::newRow("ideographic space is no blank") << QStringLiteral("A\u30008") << QByteArray("\xA0\x08");
    QTest::newRow("plain ASCII") << QStringLiteral("0d 0a") << QByteArray("\r\n");
}

void ConversionsTest::hexToBytesReadsTextAsGbk()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Conversions::HexToBytes(text), bytes);
}

void ConversionsTest::bytesToHex_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("withBlanks");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("CR LF with blanks") << QByteArray("\r\n") << true << QByteArray("0D 0A ");
    QTest::newRow("CR LF without") << QByteArray("\r\n") << false << QByteArray("0D0A");
    QTest::newRow("empty with blanks") << QByteArray() << true << QByteArray();
    QTest::newRow("empty without") << QByteArray() << false << QByteArray();
    QTest::newRow("00 byte") << QByteArray(1, '\0') << false << QByteArray("00");
    QTest::newRow("00 byte with blanks") << QByteArray(1, '\0') << true << QByteArray("00 ");
    QTest::newRow("00 inside is not an end")
        << QByteArray("\xA8\x00\x81", 3) << false << QByteArray("A80081");
    QTest::newRow("upper case letters") << QByteArray("\xAB\xCD\xEF") << false << QByteArray("ABCDEF");
}

void ConversionsTest::bytesToHex()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, withBlanks);
    QFETCH(QByteArray, hex);
    QCOMPARE(Conversions::BytesToHex(bytes, withBlanks), hex);
}

void ConversionsTest::everyByteValueRoundTrips_data()
{
    QTest::addColumn<bool>("withBlanks");
    QTest::newRow("with blanks") << true;
    QTest::newRow("without blanks") << false;
}

void ConversionsTest::everyByteValueRoundTrips()
{
    QFETCH(bool, withBlanks);
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QByteArray hex = Conversions::BytesToHex(all, withBlanks);
    QCOMPARE(hex.size(), withBlanks ? 768 : 512);
    QCOMPARE(Conversions::HexToBytes(hex), all);
}

void ConversionsTest::largeReplyMatchesReference()
{
    QByteArray reply(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(20240611);
    for (char &c : reply)
        c = static_cast<char>(generator.bounded(256));
    // Qt's own toHex separates pairs; ours also ends every pair, the last one included, with a blank.
    QCOMPARE(Conversions::BytesToHex(reply, true), reply.toHex(' ').toUpper() + ' ');
    QCOMPARE(Conversions::BytesToHex(reply, false), reply.toHex().toUpper());
    QCOMPARE(Conversions::HexToBytes(Conversions::BytesToHex(reply, true)), reply);
}

void ConversionsTest::hexChecksum_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("sum");
    QTest::newRow("empty") << QByteArray() << QByteArray("00");
    QTest::newRow("A881") << QByteArray("A881") << QByteArray("29");
    QTest::newRow("lower case") << QByteArray("a881") << QByteArray("29");
    QTest::newRow("FFFF wraps") << QByteArray("FFFF") << QByteArray("FE");
    QTest::newRow("odd: leading pad") << QByteArray("F") << QByteArray("0F");
    QTest::newRow("odd: pad in front, not at the end") << QByteArray("123") << QByteArray("24");
    QTest::newRow("small value keeps its leading 0") << QByteArray("0102") << QByteArray("03");
    QTest::newRow("sum of zero") << QByteArray("0000") << QByteArray("00");
    // A blank is the digit 0 here: "0A8 81" pairs as 0A, 80, 81.
    QTest::newRow("blanks count as 0") << QByteArray("A8 81") << QByteArray("0B");
    QTest::newRow("non-hex counts as 0") << QByteArray("zz") << QByteArray("00");
    QTest::newRow("many pairs") << QByteArray("FF").repeated(300) << QByteArray("D4");
}

void ConversionsTest::hexChecksum()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, sum);
    QCOMPARE(Conversions::HexChecksum(text), sum);
}

void ConversionsTest::removeBlanks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blanks only") << QByteArray("   ") << QByteArray();
    QTest::newRow("inner and outer") << QByteArray(" A B  C ") << QByteArray("ABC");
    QTest::newRow("other white space stays") << QByteArray("\tA\r\n") << QByteArray("\tA\r\n");
    QTest::newRow("00 bytes stay") << QByteArray("\0 \0", 3) << QByteArray("\0\0", 2);
    QTest::newRow("GBK text") << QByteArray("\xD6\xD0 \xCE\xC4") << QByteArray("\xD6\xD0\xCE\xC4");
}

void ConversionsTest::removeBlanks()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, result);
    QCOMPARE(Conversions::RemoveBlanks(text), result);
}

QTEST_GUILESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
