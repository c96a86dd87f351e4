#include "protocol/IniProfile.h"
#include "support/FileBytes.h"
#include "support/ImmutableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

#include <sys/stat.h>

namespace {

IniProfile profileOf(const QByteArray &bytes)
{
    IniProfile ini;
    ini.setBytes(bytes);
    return ini;
}

// A file in one of the shapes other programs write: text with "\n" for each line break, in the given
// encoding ("GBK", or "UTF-8"/"UTF-16LE" with their byte-order marks) and line ending.
QByteArray fileBytes(QString text, const QString &encoding, const QString &lineEnd)
{
    text.replace(QLatin1Char('\n'), lineEnd);
    if (encoding == QLatin1String("UTF-16LE")) {
        QStringEncoder encoder(QStringEncoder::Utf16LE);
        return QByteArray("\xff\xfe") + QByteArray(encoder.encode(text));
    }
    if (encoding == QLatin1String("UTF-8"))
        return QByteArray("\xef\xbb\xbf") + text.toUtf8();
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

} // namespace

class TestIniProfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsAndRewritesFileShapes_data();
    void readsAndRewritesFileShapes();
    void namesAreTrimmedOfTheFileBlanksOnly();
    void keepsUnitsThatAreNotText();
    void parsesIntegers_data();
    void parsesIntegers();
    void readsIntegerValues_data();
    void readsIntegerValues();
    void readsBooleans_data();
    void readsBooleans();
    void findsNamesWithoutRegardToCase_data();
    void findsNamesWithoutRegardToCase();
    void keepsGbkCharactersApartFromLetters();
    void ignoresBlanksAroundNamesAndValues();
    void firstDuplicateWinsForReadAndWrite();
    void writePreservesEveryOtherByte_data();
    void writePreservesEveryOtherByte();
    void writeAfterLastLineWithoutLineEnding();
    void writeIntoEmptyProfile();
    void writeKeepsLineStructure();
    void gbkValuesRoundTrip();
    void listsKeysOfFirstSection();
    void linesWithZeroBytesNeverMatch();
    void loadGivesDefaultsForUnusableFiles();
    void loadRefusesFilesOverTheCap();
    void largeFileOfShortLinesStaysLinear();
    void saveWritesExactBytes();
    void saveFailsWithoutTouchingTheOldFile_data();
    void saveFailsWithoutTouchingTheOldFile();
    void saveWritesInPlaceWhereNoFileMayBeCreated();
};

void TestIniProfile::readsAndRewritesFileShapes_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("lineEnd");
    QTest::addColumn<QString>("before"); // the file, "\n" standing for its line ending
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");  // read as text, "<default>" when missing
    QTest::addColumn<int>("number");    // read as integer, -1 when missing or not an integer
    QTest::addColumn<QString>("after"); // the file after writing the key as "new" and a new section

    const QString gbk = QStringLiteral("GBK");
    const QString crlf = QStringLiteral("\r\n");
    const QString added = QStringLiteral("\n[新增]\n键=7\n");
    const auto row = [&](const char *name, const QString &before, const QString &key, const QString &text,
                         int number, const QString &after) {
        QTest::newRow(name) << gbk << crlf << before << QStringLiteral("info") << key << text << number
                            << after;
    };

    // Quotes: a matching pair around the value is not part of it, for text and integers alike.
    row("double quotes", "[info]\nCOM=\"3\"\n", "COM", "3", 3, "[info]\nCOM=new\n" + added);
    row("single quotes", "[info]\nCOM='3'\n", "COM", "3", 3, "[info]\nCOM=new\n" + added);
    row("quote inside the pair", "[info]\nName=\"a\"b\"\n", "Name", "a\"b", -1, "[info]\nName=new\n" + added);
    row("blanks inside the pair stay", "[info]\nCOM = \" 3 \" \n", "COM", " 3 ", -1,
        "[info]\nCOM = new \n" + added);
    row("empty pair", "[info]\nName=''\n", "Name", "", -1, "[info]\nName=new\n" + added);
    row("lone quote", "[info]\nName=\"\n", "Name", "\"", -1, "[info]\nName=new\n" + added);
    row("quotes that do not match", "[info]\nName='a\"\n", "Name", "'a\"", -1, "[info]\nName=new\n" + added);
    row("quoted hexadecimal", "[info]\nCOM=\"0x1F\"\n", "COM", "0x1F", 31, "[info]\nCOM=new\n" + added);
    row("quoted text then more", "[info]\nCOM=\"3\" ; port\n", "COM", "\"3\" ; port", -1,
        "[info]\nCOM=new\n" + added);

    // Everything else reads as it always has.
    row("blanks around key and =", " [ info ] \n\t COM \t=\t 5 \t\n", "COM", "5", 5,
        " [ info ] \n\t COM \t=\t new \t\n" + added);
    row("comment line", "[info]\n;COM=4\nCOM=5\n", "COM", "5", 5, "[info]\n;COM=4\nCOM=new\n" + added);
    row("text after the value", "[info]\nCOM=3 ; port\n", "COM", "3 ; port", -1, "[info]\nCOM=new\n" + added);
    row("duplicate key, first wins", "[info]\nCOM=3\nCOM=4\n", "COM", "3", 3,
        "[info]\nCOM=new\nCOM=4\n" + added);
    row("duplicate section, first wins", "[info]\nA=1\n\n[info]\nCOM=4\n", "COM", "<default>", -1,
        "[info]\nA=1\nCOM=new\n\n[info]\nCOM=4\n" + added);
    row("letter case", "[INFO]\ncom=6\n", "COM", "6", 6, "[INFO]\ncom=new\n" + added);
    row("empty value", "[info]\nCOM=\n", "COM", "", -1, "[info]\nCOM=new\n" + added);
    const QString longValue(70000, QLatin1Char('x'));
    row("long line", "[info]\nName=" + longValue + "\n", "Name", longValue, -1, "[info]\nName=new\n" + added);
    row("GBK value", "[info]\nName=中文\n", "Name", "中文", -1, "[info]\nName=new\n" + added);
    row("missing final line break", "[info]\nCOM=3", "COM", "3", 3, "[info]\nCOM=new\n" + added);
    row("dollar hexadecimal", "[info]\nCOM=$1F\n", "COM", "$1F", 31, "[info]\nCOM=new\n" + added);
    row("number then text", "[info]\nCOM=12abc\n", "COM", "12abc", -1, "[info]\nCOM=new\n" + added);
    row("missing key", "[info]\nOther=1\n", "COM", "<default>", -1, "[info]\nOther=1\nCOM=new\n" + added);

    // Encodings and line endings: read as text of their own; every line kept, new lines alike.
    const std::pair<const char *, const char *> lineEnds[] = {{"CRLF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}};
    const QString shaped = QStringLiteral("; 设置\n[信息]\n名字 = \"中文\"\nCOM=9\n");
    const QString shapedAfter = QStringLiteral("; 设置\n[信息]\n名字 = new\nCOM=9\n") + added;
    for (const char *encoding : {"GBK", "UTF-8", "UTF-16LE"}) {
        for (const auto &[eolName, eol] : lineEnds) {
            QTest::addRow("%s, %s", encoding, eolName)
                << QString::fromLatin1(encoding) << QString::fromLatin1(eol) << shaped
                << QStringLiteral("信息") << QStringLiteral("名字") << QStringLiteral("中文") << -1
                << shapedAfter;
        }
    }
    // Characters GBK has no bytes for survive in the files that can hold them.
    for (const char *encoding : {"UTF-8", "UTF-16LE"}) {
        QTest::addRow("%s, beyond GBK", encoding)
            << QString::fromLatin1(encoding) << crlf << QStringLiteral("[info]\nName=한국어 😀\n")
            << QStringLiteral("info") << QStringLiteral("Name") << QStringLiteral("한국어 😀") << -1
            << QStringLiteral("[info]\nName=new\n") + added;
    }
    QTest::newRow("CR lines, missing final line break")
        << gbk << QStringLiteral("\r") << QStringLiteral("[info]\nCOM=3\nBaudRate=9")
        << QStringLiteral("info") << QStringLiteral("BaudRate") << QStringLiteral("9") << 9
        << QStringLiteral("[info]\nCOM=3\nBaudRate=new\n") + added;
    QTest::newRow("UTF-16LE, mark only")
        << QStringLiteral("UTF-16LE") << crlf << QString() << QStringLiteral("info") << QStringLiteral("COM")
        << QStringLiteral("<default>") << -1 << QStringLiteral("[info]\nCOM=new\n") + added;
}

void TestIniProfile::readsAndRewritesFileShapes()
{
    QFETCH(QString, encoding);
    QFETCH(QString, lineEnd);
    QFETCH(QString, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    writeFile(path, fileBytes(before, encoding, lineEnd));
    IniProfile ini;
    QVERIFY(ini.load(path));
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), text);
    QCOMPARE(ini.readInteger(section, key, -1), number);

    ini.writeString(section, key, QStringLiteral("new"));
    ini.writeInteger(QStringLiteral("新增"), QStringLiteral("键"), 7);
    QString error;
    QVERIFY2(ini.save(path, &error), qPrintable(error));
    QCOMPARE(readFile(path), fileBytes(after, encoding, lineEnd));

    IniProfile reread;
    QVERIFY(reread.load(path));
    QCOMPARE(reread.readString(section, key, QString()), QStringLiteral("new"));
    QCOMPARE(reread.readInteger(QStringLiteral("新增"), QStringLiteral("键"), -1), 7);
}

void TestIniProfile::namesAreTrimmedOfTheFileBlanksOnly()
{
    // A tab around a name asked for is dropped as it is around a name in the file; an ideographic space
    // (A1 A1 in GBK) is part of the name on both sides.
    const IniProfile ini = profileOf("[\xd6\xd0]\r\nk=plain\r\n[\xd6\xd0\xa1\xa1]\r\nk=spaced\r\n");
    QCOMPARE(ini.readString(QStringLiteral("\t中 "), QStringLiteral(" k\t"), QString()),
             QStringLiteral("plain"));
    QCOMPARE(ini.readString(QStringLiteral("中\u3000"), QStringLiteral("k"), QString()),
             QStringLiteral("spaced"));
    QCOMPARE(ini.keys(QStringLiteral("中\u3000")), QStringList{QStringLiteral("k")});
}

void TestIniProfile::keepsUnitsThatAreNotText()
{
    // A lone surrogate and an odd last byte in a UTF-16 file, an invalid sequence in a UTF-8 file: kept
    // byte for byte around the keys written.
    const QByteArray utf16 = QByteArray("\xff\xfe[\0i\0]\0\n\0a\0=\0\x00\xd8\n\0k\0=\0"
                                        "1\0\n\0\x41",
                                        27);
    IniProfile ini = profileOf(utf16);
    QCOMPARE(ini.readString(QStringLiteral("i"), QStringLiteral("a"), QString()), QString(QChar(0xd800)));
    ini.writeInteger(QStringLiteral("i"), QStringLiteral("k"), 2);
    QByteArray expected = utf16;
    expected[22] = '2';
    QCOMPARE(ini.bytes(), expected);

    const QByteArray utf8("\xef\xbb\xbf[i]\na=\xc3\n[j]\nk=1\n");
    IniProfile other = profileOf(utf8);
    QCOMPARE(other.readString(QStringLiteral("i"), QStringLiteral("a"), QString()),
             QString(QChar::ReplacementCharacter));
    other.writeInteger(QStringLiteral("j"), QStringLiteral("k"), 2);
    QCOMPARE(other.bytes(), QByteArray("\xef\xbb\xbf[i]\na=\xc3\n[j]\nk=2\n"));
}

void TestIniProfile::parsesIntegers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << QByteArray("115200") << true << 115200;
    QTest::newRow("zero") << QByteArray("0") << true << 0;
    QTest::newRow("minus") << QByteArray("-7") << true << -7;
    QTest::newRow("plus") << QByteArray("+7") << true << 7;
    QTest::newRow("0x upper digits") << QByteArray("0x1F") << true << 31;
    QTest::newRow("0X lower digits") << QByteArray("0X1f") << true << 31;
    QTest::newRow("dollar") << QByteArray("$1f") << true << 31;
    QTest::newRow("negative hex") << QByteArray("-$10") << true << -16;
    QTest::newRow("int max") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("int min") << QByteArray("-2147483648") << true << int(-2147483647 - 1);
    QTest::newRow("hex int max") << QByteArray("0x7FFFFFFF") << true << 2147483647;
    QTest::newRow("leading zeros") << QByteArray("0009") << true << 9;
    // Out of range must not wrap into some other port or index.
    QTest::newRow("above int") << QByteArray("2147483648") << false << 0;
    QTest::newRow("hex above int") << QByteArray("0x80000000") << false << 0;
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << false << 0;
    QTest::newRow("empty") << QByteArray() << false << 0;
    QTest::newRow("word") << QByteArray("yes") << false << 0;
    QTest::newRow("trailing garbage") << QByteArray("12abc") << false << 0;
    QTest::newRow("inner blank") << QByteArray("1 2") << false << 0;
    QTest::newRow("bare 0x") << QByteArray("0x") << false << 0;
    QTest::newRow("bare dollar") << QByteArray("$") << false << 0;
    QTest::newRow("bare sign") << QByteArray("-") << false << 0;
    QTest::newRow("double sign") << QByteArray("--1") << false << 0;
    QTest::newRow("decimal point") << QByteArray("1.5") << false << 0;
    QTest::newRow("hex digit in decimal") << QByteArray("1F") << false << 0;
    QTest::newRow("zero byte") << QByteArray("1\0"
                                             "2",
                                             3)
                               << false << 0;
}

void TestIniProfile::parsesIntegers()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    int parsed = 12345;
    QCOMPARE(IniProfile::parseInteger(text, &parsed), valid);
    if (valid)
        QCOMPARE(parsed, value);
}

void TestIniProfile::readsIntegerValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << QByteArray("Port=8888") << 8888;
    QTest::newRow("hex") << QByteArray("Port=0x1F") << 31;
    QTest::newRow("dollar hex") << QByteArray("Port=$1f") << 31;
    QTest::newRow("blanks around") << QByteArray("  Port \t=  42 \t") << 42;
    QTest::newRow("garbage gives default") << QByteArray("Port=abc") << -5;
    QTest::newRow("empty gives default") << QByteArray("Port=") << -5;
    QTest::newRow("missing gives default") << QByteArray("Other=1") << -5;
}

void TestIniProfile::readsIntegerValues()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    const IniProfile ini = profileOf("[s]\r\n" + line + "\r\n");
    QCOMPARE(ini.readInteger(QStringLiteral("s"), QStringLiteral("Port"), -5), expected);
}

void TestIniProfile::readsBooleans_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("any non-zero") << QByteArray("5") << false << true;
    QTest::newRow("negative") << QByteArray("-1") << false << true;
    QTest::newRow("hex zero") << QByteArray("0x0") << true << false;
    // A word is not an integer: the default, not its meaning.
    QTest::newRow("yes, default false") << QByteArray("yes") << false << false;
    QTest::newRow("yes, default true") << QByteArray("yes") << true << true;
    QTest::newRow("false, default true") << QByteArray("false") << true << true;
    QTest::newRow("empty") << QByteArray("") << true << true;
}

void TestIniProfile::readsBooleans()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    const IniProfile ini = profileOf("[Program]\nShowHEX=" + value + "\n");
    QCOMPARE(ini.readBool(QStringLiteral("Program"), QStringLiteral("ShowHEX"), defaultValue), expected);
}

void TestIniProfile::findsNamesWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("as in file") << QStringLiteral("Network") << QStringLiteral("ServerIP");
    QTest::newRow("upper") << QStringLiteral("NETWORK") << QStringLiteral("SERVERIP");
    QTest::newRow("lower") << QStringLiteral("network") << QStringLiteral("serverip");
    QTest::newRow("mixed") << QStringLiteral("nEtWoRk") << QStringLiteral("sErVeRiP");
}

void TestIniProfile::findsNamesWithoutRegardToCase()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    IniProfile ini = profileOf("[Network]\nServerIP=10.0.0.1\n");
    QCOMPARE(ini.readString(section, key, QString()), QStringLiteral("10.0.0.1"));

    // The write replaces the existing line and keeps its spelling instead of adding a second key.
    ini.writeString(section, key, QStringLiteral("127.0.0.2"));
    QCOMPARE(ini.bytes(), QByteArray("[Network]\nServerIP=127.0.0.2\n"));
}

void TestIniProfile::keepsGbkCharactersApartFromLetters()
{
    // In GBK the second byte of a character may be an ASCII letter: 81 41 and 81 61 are two different
    // characters, and folding their "A"/"a" would make them one name.
    QStringDecoder decoder("GBK");
    const QString upper = decoder.decode(QByteArray("\x81\x41"));
    const QString lower = decoder.decode(QByteArray("\x81\x61"));
    QCOMPARE(upper.size(), 1);
    QCOMPARE(lower.size(), 1);
    QVERIFY(upper != QString(QChar::ReplacementCharacter));
    QVERIFY(upper != lower);

    const IniProfile ini = profileOf("[\x81\x61]\nk\x81\x61=1\n");
    QCOMPARE(ini.readInteger(lower, QStringLiteral("k") + lower, 0), 1);
    QCOMPARE(ini.readInteger(upper, QStringLiteral("k") + lower, 0), 0);
    QCOMPARE(ini.readInteger(lower, QStringLiteral("k") + upper, 0), 0);
    QCOMPARE(ini.readInteger(lower, QStringLiteral("K") + lower, 0), 1);
}

void TestIniProfile::ignoresBlanksAroundNamesAndValues()
{
    const IniProfile ini = profileOf("  [ info ]  \r\n\t COM \t=\t 3 \t\r\nName =  two words  \r\n");
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 3);
    QCOMPARE(ini.readString(QStringLiteral("info"), QStringLiteral("Name"), QString()),
             QStringLiteral("two words"));
}

void TestIniProfile::firstDuplicateWinsForReadAndWrite()
{
    IniProfile ini = profileOf("[info]\nCOM=1\nCOM=2\n[INFO]\nCOM=3\nBaudRate=4\n");
    const QString info = QStringLiteral("info");
    QCOMPARE(ini.readInteger(info, QStringLiteral("COM"), 0), 1);
    QCOMPARE(ini.readInteger(info, QStringLiteral("BaudRate"), 9), 9);

    ini.writeInteger(info, QStringLiteral("COM"), 7);
    ini.writeInteger(info, QStringLiteral("BaudRate"), 5);
    QCOMPARE(ini.bytes(), QByteArray("[info]\nCOM=7\nCOM=2\nBaudRate=5\n[INFO]\nCOM=3\nBaudRate=4\n"));
    QCOMPARE(ini.readInteger(info, QStringLiteral("COM"), 0), 7);
    QCOMPARE(ini.readInteger(info, QStringLiteral("BaudRate"), 9), 5);
}

void TestIniProfile::writePreservesEveryOtherByte_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("CRLF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
}

void TestIniProfile::writePreservesEveryOtherByte()
{
    QFETCH(QByteArray, eol);
    const auto lines = [&](std::initializer_list<QByteArray> list) {
        QByteArray all;
        for (const QByteArray &line : list)
            all += line + eol;
        return all;
    };
    const QByteArray original =
        lines({"; settings of the tool", "", "[info]", "COM = 3   ", "Extra=keep me", "\xff\xfe odd bytes",
               "", "[Unknown]", "a=b", "", "[Network]", "ServerIP=1.2.3.4", "; trailing comment", ""});
    IniProfile ini = profileOf(original);
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 7);
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("BaudRate"), 9);
    ini.writeInteger(QStringLiteral("Network"), QStringLiteral("TCPPort"), 8888);
    ini.writeBool(QStringLiteral("Program"), QStringLiteral("ShowHEX"), true);

    const QByteArray expected =
        lines({"; settings of the tool", "", "[info]", "COM = 7   ", "Extra=keep me", "\xff\xfe odd bytes",
               "BaudRate=9", "", "[Unknown]", "a=b", "", "[Network]", "ServerIP=1.2.3.4",
               "; trailing comment", "TCPPort=8888", "", "[Program]", "ShowHEX=1"});
    QCOMPARE(ini.bytes(), expected);
}

void TestIniProfile::writeAfterLastLineWithoutLineEnding()
{
    IniProfile ini = profileOf("[info]\nCOM=1");
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("BaudRate"), 9);
    QCOMPARE(ini.bytes(), QByteArray("[info]\nCOM=1\nBaudRate=9\n"));

    IniProfile other = profileOf("[a]\r\nx=1");
    other.writeInteger(QStringLiteral("b"), QStringLiteral("y"), 2);
    QCOMPARE(other.bytes(), QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n"));
}

void TestIniProfile::writeIntoEmptyProfile()
{
    IniProfile ini;
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 1);
    ini.writeString(QStringLiteral("info"), QStringLiteral("Name"), QString());
    QCOMPARE(ini.bytes(), QByteArray("[info]\r\nCOM=1\r\nName=\r\n"));
    QCOMPARE(ini.readString(QStringLiteral("info"), QStringLiteral("Name"), QStringLiteral("x")), QString());
}

void TestIniProfile::writeKeepsLineStructure()
{
    // A value with line breaks would otherwise smuggle extra keys or sections into the file.
    IniProfile ini = profileOf("[a]\nk=old\nnext=1\n");
    ini.writeString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("x\r\n[b]\nnext=2\0y"));
    QCOMPARE(ini.bytes().count('\n'), 3);
    QCOMPARE(ini.readInteger(QStringLiteral("a"), QStringLiteral("next"), 0), 1);
    QCOMPARE(ini.readString(QStringLiteral("a"), QStringLiteral("k"), QString()),
             QStringLiteral("x  [b] next=2 y"));
}

void TestIniProfile::gbkValuesRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));

    IniProfile ini;
    ini.writeString(QStringLiteral("Program"), QStringLiteral("FontName"), QStringLiteral("中文"));
    QVERIFY(ini.save(path));
    const QByteArray onDisk = readFile(path);
    QVERIFY2(onDisk.contains("FontName=\xd6\xd0\xce\xc4\r\n"), onDisk.toHex(' ').constData());

    // And the other way: GBK names and values written by another program.
    writeFile(path, "[\xc9\xe8\xd6\xc3]\r\n\xc3\xfb\xd7\xd6=\xd6\xd0\xce\xc4\r\n" + onDisk);
    IniProfile loaded;
    QVERIFY(loaded.load(path));
    QCOMPARE(loaded.readString(QStringLiteral("Program"), QStringLiteral("FontName"), QString()),
             QStringLiteral("中文"));
    QCOMPARE(loaded.readString(QStringLiteral("设置"), QStringLiteral("名字"), QString()),
             QStringLiteral("中文"));
}

void TestIniProfile::listsKeysOfFirstSection()
{
    const IniProfile ini = profileOf("[Ports]\nCOM3=/dev/a\n; c=d\ncom3=/dev/b\nCOM12 = /dev/c\nnokey\n"
                                     "[Other]\nx=1\n[ports]\nCOM4=/dev/d\n");
    QCOMPARE(ini.keys(QStringLiteral("PORTS")),
             QStringList({QStringLiteral("COM3"), QStringLiteral("COM12")}));
    QCOMPARE(ini.keys(QStringLiteral("missing")), QStringList());
}

void TestIniProfile::linesWithZeroBytesNeverMatch()
{
    const QByteArray original("[info]\0\nCOM=5\n[Net]\nPort=1\0\nName=a\n", 35);
    IniProfile ini = profileOf(original);
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 1);
    QCOMPARE(ini.readInteger(QStringLiteral("Net"), QStringLiteral("Port"), 8), 8);
    QCOMPARE(ini.readString(QStringLiteral("Net"), QStringLiteral("Name"), QString()), QStringLiteral("a"));

    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 2);
    QVERIFY(ini.bytes().startsWith(original));
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 2);
}

void TestIniProfile::loadGivesDefaultsForUnusableFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    IniProfile ini;
    ini.setBytes("[info]\nCOM=5\n"); // load must drop what was there before

    QVERIFY(!ini.load(path));
    QVERIFY(ini.bytes().isEmpty());
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 1);

    writeFile(path, QByteArray());
    QVERIFY(ini.load(path));
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 1);

    // Binary junk is kept as bytes but yields nothing.
    QByteArray junk(64 * 1024, '\0');
    QRandomGenerator random(20240611);
    for (char &c : junk)
        c = static_cast<char>(random.bounded(256));
    writeFile(path, junk);
    QVERIFY(ini.load(path));
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 1);
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 4);
    QVERIFY(ini.bytes().startsWith(junk));
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 4);

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    QVERIFY(!ini.load(dir.filePath(QStringLiteral("folder.ini"))));

    // A FIFO would block a plain open until some writer appears.
    const QString fifo = dir.filePath(QStringLiteral("fifo.ini"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!ini.load(fifo));
}

void TestIniProfile::loadRefusesFilesOverTheCap()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QByteArray content("[info]\nCOM=5\n");
    content += QByteArray(IniProfile::kMaxFileSize - content.size() - 1, ';') + '\n';
    QCOMPARE(content.size(), IniProfile::kMaxFileSize);

    writeFile(path, content);
    IniProfile ini;
    QVERIFY(ini.load(path));
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 5);

    writeFile(path, content + '\n');
    QVERIFY(!ini.load(path));
    QVERIFY(ini.bytes().isEmpty());
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 1);
}

void TestIniProfile::largeFileOfShortLinesStaysLinear()
{
    // Two million lines without "=", "]" or a section after them: any search that runs to the end of
    // the data for each line would not finish within the test's time-out.
    QByteArray content("[info]\nCOM=5\n");
    QByteArray filler;
    filler.reserve(IniProfile::kMaxFileSize);
    while (filler.size() + content.size() + 2 <= IniProfile::kMaxFileSize)
        filler += "x\n";
    IniProfile ini = profileOf(content + filler);
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("COM"), 1), 5);
    QCOMPARE(ini.readInteger(QStringLiteral("info"), QStringLiteral("Missing"), 3), 3);
    QCOMPARE(ini.keys(QStringLiteral("info")), QStringList({QStringLiteral("COM")}));
    ini.writeInteger(QStringLiteral("other"), QStringLiteral("k"), 1);
    QCOMPARE(ini.readInteger(QStringLiteral("other"), QStringLiteral("k"), 0), 1);
}

void TestIniProfile::saveWritesExactBytes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    const QByteArray original("; keep\n[info]\nCOM=1\n");
    writeFile(path, original);

    IniProfile ini;
    QVERIFY(ini.load(path));
    QCOMPARE(ini.bytes(), original);
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 3);
    QString error;
    QVERIFY2(ini.save(path, &error), qPrintable(error));
    QCOMPARE(readFile(path), QByteArray("; keep\n[info]\nCOM=3\n"));
    // Only the file itself is left: the temporary file was renamed into place.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("Config.ini")}));
}

void TestIniProfile::saveFailsWithoutTouchingTheOldFile_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("missing folder") << QStringLiteral("missing folder");
    QTest::newRow("directory at the path") << QStringLiteral("directory");
    QTest::newRow("immutable file") << QStringLiteral("immutable");
}

void TestIniProfile::saveFailsWithoutTouchingTheOldFile()
{
    QFETCH(QString, obstacle);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("Config.ini"));
    const QByteArray original("[info]\r\nCOM=1\r\n");

    std::unique_ptr<ImmutableFile> immutable;
    if (obstacle == QLatin1String("missing folder")) {
        path = dir.filePath(QStringLiteral("no/such/folder/Config.ini"));
    } else if (obstacle == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Config.ini")));
    } else {
        writeFile(path, original);
        immutable = std::make_unique<ImmutableFile>(path);
        if (!immutable->isSet())
            QSKIP(qPrintable(ImmutableFile::unavailableReason()));
    }

    IniProfile ini = profileOf(original);
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 9);
    QString error;
    QVERIFY(!ini.save(path, &error));
    QVERIFY(!error.isEmpty());

    if (obstacle == QLatin1String("missing folder"))
        QVERIFY(!QFileInfo::exists(path));
    else if (obstacle == QLatin1String("directory"))
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(readFile(path), original);
    // No temporary file is left behind either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             obstacle == QLatin1String("immutable") ? QStringList({QStringLiteral("Config.ini")})
                                                    : QStringList());
}

void TestIniProfile::saveWritesInPlaceWhereNoFileMayBeCreated()
{
    // A folder that refuses new files (and so the temporary file of the atomic save) while the file
    // itself may be written: the save writes the file in place, also when it becomes shorter.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    writeFile(path, "[info]\r\nCOM=12345\r\n; mine\r\n");
    const ImmutableFile folder(dir.path());
    if (!folder.isSet())
        QSKIP(qPrintable(ImmutableFile::unavailableReason()));

    IniProfile ini;
    QVERIFY(ini.load(path));
    ini.writeInteger(QStringLiteral("info"), QStringLiteral("COM"), 3);
    QString error;
    QVERIFY2(ini.save(path, &error), qPrintable(error));
    QCOMPARE(readFile(path), QByteArray("[info]\r\nCOM=3\r\n; mine\r\n"));
    ini.writeString(QStringLiteral("Network"), QStringLiteral("ServerIP"), QStringLiteral("127.0.0.1"));
    QVERIFY2(ini.save(path, &error), qPrintable(error));
    QCOMPARE(readFile(path),
             QByteArray("[info]\r\nCOM=3\r\n; mine\r\n\r\n[Network]\r\nServerIP=127.0.0.1\r\n"));

    // A file that is not there cannot be made in such a folder.
    QVERIFY(!ini.save(dir.filePath(QStringLiteral("Other.ini")), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Config.ini")});
}

QTEST_GUILESS_MAIN(TestIniProfile)
#include "test_iniprofile.moc"
