// The reply value decoders: the text operations on reply values, and the decoders that turn comma
// lists, the remote parameter list and the remote IO body into field changes.

#include "core/EffectsText.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/ValueDecoders.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

FieldChange text(Field field, const QString &text)
{
    return {field, FieldChange::Kind::Text, text};
}

FieldChange select(Field field, int index)
{
    return {field, FieldChange::Kind::ItemIndex, QString(), index};
}

FieldChange none(Field field)
{
    return {field, FieldChange::Kind::NoSelection, QString()};
}

FieldChange selectText(Field field, const QString &text)
{
    return {field, FieldChange::Kind::ItemText, text};
}

FieldChange selectTextOrNone(Field field, const QString &text)
{
    return {field, FieldChange::Kind::ItemTextOrNone, text};
}

QStringList lines(const QList<FieldChange> &changes)
{
    QStringList out;
    for (const FieldChange &change : changes)
        out << effectText(change);
    return out;
}

// Runs one decoder; the text of a value that did not convert, or empty.
template <typename Decode> QString decode(Decode decoder, ReplyEffects &effects)
{
    try {
        decoder(effects);
    } catch (const ConversionError &failure) {
        return failure.message();
    }
    return QString();
}

QString notInteger(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

using Changes = QList<FieldChange>;

} // namespace

Q_DECLARE_METATYPE(FieldChange)

class ValueDecodersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commaFields_data();
    void commaFields();
    void removeChar();
    void forms_data();
    void forms();
    void gbkTextKeepsEveryByteVisible();
    void connectionStateText_data();
    void connectionStateText();
    void ioIndexMappers_data();
    void ioIndexMappers();

    void commaListDecoders_data();
    void commaListDecoders();
    void remoteParameters_data();
    void remoteParameters();
    void remoteParametersEndOnAnyInput();
    void remoteIo_data();
    void remoteIo();
};

void ValueDecodersTest::commaFields_data()
{
    // Both cuts of a comma list: the plain one cuts at the first comma; the one of the reply decoders
    // skips commas between double quotes.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("rest");
    QTest::addColumn<QByteArray>("listFirst");
    QTest::addColumn<QByteArray>("listRest");
    const auto same = [](const char *name, const QByteArray &text, const QByteArray &first,
                         const QByteArray &rest) {
        QTest::newRow(name) << text << first << rest << first << rest;
    };
    same("no comma", "abc", "abc", {});
    same("two", "a,b", "a", "b");
    same("three", "a,b,c", "a", "b,c");
    same("leading comma", ",b", {}, "b");
    same("trailing comma", "a,", "a", {});
    same("empty", {}, {}, {});
    same("quoted fields", "\"a\",\"b\"", "\"a\"", "\"b\"");
    same("zero bytes", QByteArray("a\0b,c\0", 6), QByteArray("a\0b", 3), QByteArray("c\0", 2));
    same("GBK", "\"\xd6\xd0\",1", "\"\xd6\xd0\"", "1");
    QTest::newRow("quoted comma") << QByteArray("\"a,b\",c") << QByteArray("\"a") << QByteArray("b\",c")
                                  << QByteArray("\"a,b\"") << QByteArray("c");
    QTest::newRow("SSID and password with commas")
        << QByteArray("\"my,net\",\"pw,1\"") << QByteArray("\"my") << QByteArray("net\",\"pw,1\"")
        << QByteArray("\"my,net\"") << QByteArray("\"pw,1\"");
    QTest::newRow("comma after a closed quote") << QByteArray("\"a\"b,c") << QByteArray("\"a\"b")
                                                << QByteArray("c") << QByteArray("\"a\"b") << QByteArray("c");
    QTest::newRow("quote left open") << QByteArray("\"a,b,c") << QByteArray("\"a") << QByteArray("b,c")
                                     << QByteArray("\"a,b,c") << QByteArray();
}

void ValueDecodersTest::commaFields()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, rest);
    QFETCH(QByteArray, listFirst);
    QFETCH(QByteArray, listRest);
    QCOMPARE(FirstField(text), first);
    QCOMPARE(DropFirstField(text), rest);
    QCOMPARE(FirstListField(text), listFirst);
    QCOMPARE(DropFirstListField(text), listRest);
}

void ValueDecodersTest::removeChar()
{
    QCOMPARE(RemoveChar("\"a\"\"b\"", '"'), QByteArray("ab"));
    QCOMPARE(RemoveChar("abc", '"'), QByteArray("abc"));
    QCOMPARE(RemoveChar("\"\"", '"'), QByteArray());
    QCOMPARE(RemoveChar(QByteArray("\"\0\"", 3), '"'), QByteArray("\0", 1));
}

void ValueDecodersTest::forms_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("upper");
    QTest::addColumn<QByteArray>("trimmed");
    QTest::newRow("value") << QByteArray("2\r\n") << QByteArray("2\r\n") << QByteArray("2");
    QTest::newRow("controls and NUL")
        << QByteArray("\0\t ok \x01\x1f\0", 9) << QByteArray("\0\t OK \x01\x1f\0", 9) << QByteArray("ok");
    QTest::newRow("inner blanks stay") << QByteArray(" a b ") << QByteArray(" A B ") << QByteArray("a b");
    QTest::newRow("only blanks") << QByteArray(" \r\n") << QByteArray(" \r\n") << QByteArray();
    // Bytes above 127 are neither upper-cased nor trimmed: GBK text keeps its bytes.
    QTest::newRow("GBK") << QByteArray("\xd6\xd0x\xa0") << QByteArray("\xd6\xd0X\xa0")
                         << QByteArray("\xd6\xd0x\xa0");
    QTest::newRow("DEL is not trimmed") << QByteArray("\x7f") << QByteArray("\x7f") << QByteArray("\x7f");
}

void ValueDecodersTest::forms()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, upper);
    QFETCH(QByteArray, trimmed);
    QCOMPARE(UpperForm(text), upper);
    QCOMPARE(TrimmedForm(text), trimmed);
}

void ValueDecodersTest::gbkTextKeepsEveryByteVisible()
{
    QCOMPARE(GbkText("\xd6\xd0\xce\xc4"), QStringLiteral("中文"));
    // A lead byte cut off at the end must not vanish.
    QCOMPARE(GbkText("ab\xd6"), QStringLiteral("ab") + QChar(QChar::ReplacementCharacter));
    QCOMPARE(GbkText(QByteArray("a\0b", 3)), QStringView(u"a\0b", 3).toString());
    QCOMPARE(AsciiUpper(QStringLiteral("ac:d0 中é")), QStringLiteral("AC:D0 中é"));
}

void ValueDecodersTest::connectionStateText_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("connected EN") << false << QByteArray("connected") << "connected";
    QTest::newRow("connected CN") << true << QByteArray("connected") << "连接成功";
    QTest::newRow("unconnected EN") << false << QByteArray("unconnected") << "unconnected";
    QTest::newRow("unconnected CN") << true << QByteArray("unconnected") << "未连接";
    QTest::newRow("case differs") << true << QByteArray("Connected") << "";
    QTest::newRow("other") << false << QByteArray("connecting") << "";
    QTest::newRow("empty") << false << QByteArray() << "";
}

void ValueDecodersTest::connectionStateText()
{
    QFETCH(bool, chinese);
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    QCOMPARE(ConnectionStateText(text, chinese), expected);
}

void ValueDecodersTest::ioIndexMappers_data()
{
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("pull");
    QTest::addColumn<int>("level");
    QTest::newRow("I") << QByteArray("I") << 0 << -1 << -1;
    QTest::newRow("O") << QByteArray("O") << 1 << -1 << -1;
    QTest::newRow("N") << QByteArray("N") << 2 << -1 << -1;
    QTest::newRow("U") << QByteArray("U") << -1 << 0 << -1;
    QTest::newRow("F") << QByteArray("F") << -1 << 1 << -1;
    QTest::newRow("0") << QByteArray("0") << -1 << -1 << 0;
    QTest::newRow("1") << QByteArray("1") << -1 << -1 << 1;
    QTest::newRow("lower case") << QByteArray("o") << -1 << -1 << -1;
    QTest::newRow("empty") << QByteArray() << -1 << -1 << -1;
    QTest::newRow("two letters") << QByteArray("OU") << -1 << -1 << -1;
}

void ValueDecodersTest::ioIndexMappers()
{
    QFETCH(QByteArray, letter);
    QFETCH(int, mode);
    QFETCH(int, pull);
    QFETCH(int, level);
    QCOMPARE(IoModeIndex(letter), mode);
    QCOMPARE(IoPullIndex(letter), pull);
    QCOMPARE(IoLevelIndex(letter), level);
}

void ValueDecodersTest::commaListDecoders_data()
{
    // The four decoders of the multi-value queries, by the code of the query they serve: the edges the
    // reply tests (test_replycore) do not reach through a whole reply.
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QString>("error");
    QTest::newRow("UART quoted 8,2,1")
        << 114 << QByteArray("\"8\",\"2\",\"1\"")
        << Changes{selectText(Field::DataBits, "8"), select(Field::Parity, 2), select(Field::StopBits, 0)}
        << QString();
    QTest::newRow("UART 7,0,2") << 114 << QByteArray("7,0,2")
                                << Changes{selectText(Field::DataBits, "7"), select(Field::Parity, 0),
                                           select(Field::StopBits, 1)}
                                << QString();
    // The data bits are chosen by item text, blanks and controls around it trimmed.
    QTest::newRow("UART data bits trimmed")
        << 114 << QByteArray(" 8\t,1,3")
        << Changes{selectText(Field::DataBits, "8"), select(Field::Parity, 1), select(Field::StopBits, 2)}
        << QString();
    QTest::newRow("UART stop bits 0")
        << 114 << QByteArray("8,3,0")
        << Changes{selectText(Field::DataBits, "8"), select(Field::Parity, 3), none(Field::StopBits)}
        << QString();
    QTest::newRow("UART stop bits missing")
        << 114 << QByteArray("8,2") << Changes{selectText(Field::DataBits, "8"), select(Field::Parity, 2)}
        << notInteger("");

    QTest::newRow("STACONFIG quoted comma")
        << 119 << QByteArray("\"Home\",\"sec,ret\"")
        << Changes{text(Field::StaSsid, "Home"), text(Field::StaPassword, "sec,ret")} << QString();
    QTest::newRow("STACONFIG one field")
        << 119 << QByteArray("\"Only\"")
        << Changes{text(Field::StaSsid, "Only"), text(Field::StaPassword, "")} << QString();

    QTest::newRow("APINF quoted numbers")
        << 120 << QByteArray("\"Net\",\"pw\",\"11\",\"3\"")
        << Changes{text(Field::ApSsid, "Net"), text(Field::ApPassword, "pw"), select(Field::ApChannel, 10),
                   select(Field::ApAuth, 3)}
        << QString();
    // The channel conversion fails on the missing third field: the authentication stays as it was.
    QTest::newRow("APINF stops at the missing channel")
        << 120 << QByteArray("\"\xd6\xd0\xce\xc4\",\"p2\"")
        << Changes{text(Field::ApSsid, "中文"), text(Field::ApPassword, "p2")} << notInteger("");

    QTest::newRow("APIP one field") << 123 << QByteArray("1.1.1.1")
                                    << Changes{text(Field::ApIp, "1.1.1.1"), text(Field::ApMask, ""),
                                               text(Field::ApGateway, "")}
                                    << QString();
}

void ValueDecodersTest::commaListDecoders()
{
    QFETCH(int, code);
    QFETCH(QByteArray, value);
    QFETCH(Changes, changes);
    QFETCH(QString, error);
    ReplyEffects effects;
    const QString thrown = decode(
        [&](ReplyEffects &out) {
            switch (code) {
            case 114:
                DecodeSerialFormat(value, out);
                break;
            case 119:
                DecodeStationConfig(value, out);
                break;
            case 120:
                DecodeApInfo(value, out);
                break;
            default:
                DecodeAddressTriple(value, code == 122 ? AddressGroup::Station : AddressGroup::Ap, out);
                break;
            }
        },
        effects);
    QCOMPARE(thrown, error);
    QCOMPARE(lines(effects.fields), lines(changes));
    QVERIFY(effects.io.isEmpty() && effects.console.isEmpty() && effects.boxes.isEmpty());
}

void ValueDecodersTest::remoteParameters_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QString>("error");
    QTest::newRow("stop bits by item text")
        << QByteArray("19=1.5;") << Changes{selectTextOrNone(Field::StopBits, "1.5")} << QString();
    QTest::newRow("baud not in list: no selection")
        << QByteArray("17=12345;") << Changes{selectTextOrNone(Field::Baud, "12345")} << QString();
    QTest::newRow("values as they are")
        << QByteArray("14=\" 1.2.3.4\";9= 6;")
        << Changes{text(Field::ServerIp, "\" 1.2.3.4\""), selectTextOrNone(Field::ApChannel, " 6")}
        << QString();
    QTest::newRow("GBK text") << QByteArray("4=\xd6\xd0\xce\xc4;") << Changes{text(Field::ApSsid, "中文")}
                              << QString();
    QTest::newRow("leading zero key skipped")
        << QByteArray("01=2;14=x;") << Changes{text(Field::ServerIp, "x")} << QString();
    QTest::newRow("unknown keys skipped")
        << QByteArray("0=1;28=1;abc=1;1=2;") << Changes{select(Field::WorkMode, 1)} << QString();
    QTest::newRow("empty value") << QByteArray("14=;") << Changes{text(Field::ServerIp, "")} << QString();
    QTest::newRow("value with =") << QByteArray("14=a=b;") << Changes{text(Field::ServerIp, "a=b")}
                                  << QString();
    QTest::newRow("empty key stops") << QByteArray("=1;1=2;") << Changes{} << QString();
    QTest::newRow("no = stops") << QByteArray("19=2;abc") << Changes{selectTextOrNone(Field::StopBits, "2")}
                                << QString();
    // ";" before "=": the key runs up to the "=", the value is empty, the walk goes on after the ";".
    QTest::newRow("; before =") << QByteArray("x;14=y;") << Changes{text(Field::ServerIp, "y")} << QString();
    // The last element without its ";" is applied once and ends the list.
    QTest::newRow("last ; missing") << QByteArray("19=2;14=9.9.9.9")
                                    << Changes{selectTextOrNone(Field::StopBits, "2"),
                                               text(Field::ServerIp, "9.9.9.9")}
                                    << QString();
    QTest::newRow("only element, ; missing")
        << QByteArray("1=2") << Changes{select(Field::WorkMode, 1)} << QString();
    QTest::newRow("work mode 0: no selection")
        << QByteArray("1=0;") << Changes{none(Field::WorkMode)} << QString();
    QTest::newRow("switches by position")
        << QByteArray("10=1;11=0;12=1;22=1;24=3;")
        << Changes{select(Field::ConnRemote, 1), select(Field::ClientProtocol, 0),
                   select(Field::PthServerEn, 1), select(Field::ZoneValid, 1), select(Field::Dhcp, 3)}
        << QString();
    QTest::newRow("conversion failure stops")
        << QByteArray("19=2;1=AP;14=z;") << Changes{selectTextOrNone(Field::StopBits, "2")}
        << notInteger("AP");
    QTest::newRow("empty list") << QByteArray() << Changes{} << QString();
}

void ValueDecodersTest::remoteParameters()
{
    QFETCH(QByteArray, list);
    QFETCH(Changes, changes);
    QFETCH(QString, error);
    ReplyEffects effects;
    QCOMPARE(decode([&](ReplyEffects &out) { DecodeRemoteParameters(list, out); }, effects), error);
    QCOMPARE(lines(effects.fields), lines(changes));
}

void ValueDecodersTest::remoteParametersEndOnAnyInput()
{
    // Every key of the list, then random texts made of the list's own punctuation: each call returns
    // (or stops at a conversion failure) instead of looping or reading past the text.
    QByteArray all;
    for (int key = 1; key <= 27; ++key)
        all += QByteArray::number(key) + "=1;";
    ReplyEffects effects;
    DecodeRemoteParameters(all, effects);
    QCOMPARE(effects.fields.size(), 26); // key 13 has no field
    QCOMPARE(effectText(effects.fields.last()), effectText(text(Field::StaGateway, "1")));

    const char alphabet[] = "=;,\"1290 \0\xd6";
    QRandomGenerator random(20240601);
    for (int round = 0; round < 3000; ++round) {
        QByteArray list;
        const int length = random.bounded(24);
        for (int i = 0; i < length; ++i)
            list += alphabet[random.bounded(int(sizeof alphabet) - 1)];
        ReplyEffects out;
        decode([&](ReplyEffects &into) { DecodeRemoteParameters(list, into); }, out);
        QVERIFY(out.fields.size() <= list.count('=')); // one change at most per element
    }
}

void ValueDecodersTest::remoteIo_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected"); // the changes, or the warning
    QTest::addColumn<QString>("error");
    const auto row = [](int pin, int mode, int pull, int level) {
        return QStringList{effectText(IoChange{pin, IoChange::Box::Mode, mode}),
                           effectText(IoChange{pin, IoChange::Box::Pull, pull}),
                           effectText(IoChange{pin, IoChange::Box::Level, level})};
    };
    const auto warning = [](const QString &text) {
        return QStringList{QStringLiteral("warning box: ") + text};
    };
    QTest::newRow("pin 2 O F 1") << false << QByteArray("OFB21OFB21") << row(2, 1, 1, 1) << QString();
    QTest::newRow("pin 8") << false << QByteArray("NUB80NUB80") << row(8, 2, 0, 0) << QString();
    QTest::newRow("level N of a read: none")
        << false << QByteArray("IUB3NIUB3N") << row(3, 0, 0, -1) << QString();
    QTest::newRow("unknown letters: none")
        << false << QByteArray("xyB4zxyB4z") << row(4, -1, -1, -1) << QString();
    QTest::newRow("pin 9") << false << QByteArray("OFB91OFB91") << QStringList() << QString();
    QTest::newRow("pin 0") << false << QByteArray("OFB01OFB01") << QStringList() << QString();
    QTest::newRow("copies differ EN")
        << false << QByteArray("OFB21OFB20") << warning("IO value verify error!") << QString();
    QTest::newRow("copies differ CN")
        << true << QByteArray("OFB21OFB20") << warning("IO数值前后验证有误！") << QString();
    QTest::newRow("not a reply EN") << false << QByteArray("OFW21OFW21") << warning("IO value over scope!")
                                    << QString();
    QTest::newRow("not a reply CN") << true << QByteArray("OFW21OFW21") << warning("IO数值不是应答类型值！")
                                    << QString();
    // The pin is converted before the operation letter is looked at.
    QTest::newRow("pin not a digit") << false << QByteArray("OFWx1OFWx1") << QStringList() << notInteger("x");
    QTest::newRow("short body") << false << QByteArray("OFB21OF") << warning("IO value verify error!")
                                << QString();
    QTest::newRow("empty body") << false << QByteArray() << QStringList() << notInteger("");
}

void ValueDecodersTest::remoteIo()
{
    QFETCH(bool, chinese);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QFETCH(QString, error);
    ReplyEffects effects;
    QCOMPARE(decode([&](ReplyEffects &out) { DecodeRemoteIo(body, chinese, out); }, effects), error);
    QCOMPARE(effectLines(effects), expected);
}

QTEST_GUILESS_MAIN(ValueDecodersTest)
#include "test_valuedecoders.moc"
