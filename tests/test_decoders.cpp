// The reply value decoders: the pure text operations, and the field decoders working on the real
// fields of the main window (comma lists, the remote parameter list, the remote IO body).

#include "protocol/ReplyDecoders.h"
#include "protocol/StrictInt.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>

namespace {
// What a box shows: its item, or "<none>" without a selection.
QString shown(const QComboBox *box)
{
    return box->currentIndex() < 0 ? QStringLiteral("<none>") : box->currentText();
}
} // namespace

class DecodersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

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

    void itemLookup();
    void serialFormat_data();
    void serialFormat();
    void apInfoStopsAtMissingChannel();
    void stationConfigAndAddresses();
    void remoteParameters_data();
    void remoteParameters();
    void remoteParametersEndOnAnyInput();
    void remoteIo_data();
    void remoteIo();

private:
    std::unique_ptr<BoxRecorder> boxes_;
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<TForm1> form_;
};

void DecodersTest::initTestCase()
{
    boxes_ = std::make_unique<BoxRecorder>();
    dir_ = std::make_unique<WorkDir>(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    form_ = makeMainWindow();
    QVERIFY(form_->comboBox(Field::WorkMode));
    QVERIFY(form_->ioRow(8).level);
}

void DecodersTest::cleanupTestCase()
{
    form_.reset();
    dir_.reset();
    boxes_.reset();
}

void DecodersTest::init()
{
    Language = QStringLiteral("EN");
    boxes_->clear();
}

void DecodersTest::commaFields_data()
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

void DecodersTest::commaFields()
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

void DecodersTest::removeChar()
{
    QCOMPARE(RemoveChar("\"a\"\"b\"", '"'), QByteArray("ab"));
    QCOMPARE(RemoveChar("abc", '"'), QByteArray("abc"));
    QCOMPARE(RemoveChar("\"\"", '"'), QByteArray());
    QCOMPARE(RemoveChar(QByteArray("\"\0\"", 3), '"'), QByteArray("\0", 1));
}

void DecodersTest::forms_data()
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

void DecodersTest::forms()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, upper);
    QFETCH(QByteArray, trimmed);
    QCOMPARE(UpperForm(text), upper);
    QCOMPARE(TrimmedForm(text), trimmed);
}

void DecodersTest::gbkTextKeepsEveryByteVisible()
{
    QCOMPARE(GbkText("\xd6\xd0\xce\xc4"), QStringLiteral("中文"));
    // A lead byte cut off at the end must not vanish.
    QCOMPARE(GbkText("ab\xd6"), QStringLiteral("ab") + QChar(QChar::ReplacementCharacter));
    QCOMPARE(GbkText(QByteArray("a\0b", 3)), QStringView(u"a\0b", 3).toString());
    QCOMPARE(AsciiUpper(QStringLiteral("ac:d0 中é")), QStringLiteral("AC:D0 中é"));
}

void DecodersTest::connectionStateText_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("connected EN") << "EN" << QByteArray("connected") << "connected";
    QTest::newRow("connected CN") << "CN" << QByteArray("connected") << "连接成功";
    QTest::newRow("unconnected EN") << "EN" << QByteArray("unconnected") << "unconnected";
    QTest::newRow("unconnected CN") << "CN" << QByteArray("unconnected") << "未连接";
    QTest::newRow("other language") << "cn" << QByteArray("unconnected") << "unconnected";
    QTest::newRow("case differs") << "CN" << QByteArray("Connected") << "";
    QTest::newRow("other") << "EN" << QByteArray("connecting") << "";
    QTest::newRow("empty") << "EN" << QByteArray() << "";
}

void DecodersTest::connectionStateText()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    Language = language;
    QCOMPARE(ConnectionStateText(text), expected);
}

void DecodersTest::ioIndexMappers_data()
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

void DecodersTest::ioIndexMappers()
{
    QFETCH(QByteArray, letter);
    QFETCH(int, mode);
    QFETCH(int, pull);
    QFETCH(int, level);
    QCOMPARE(IoModeIndex(letter), mode);
    QCOMPARE(IoPullIndex(letter), pull);
    QCOMPARE(IoLevelIndex(letter), level);
}

void DecodersTest::itemLookup()
{
    QComboBox *stop = form_->comboBox(Field::StopBits);
    QCOMPARE(TForm1::IndexOfItem(stop, "1.5"), 1);
    QCOMPARE(TForm1::IndexOfItem(stop, " 1.5"), stop->count()); // no trimming here
    QCOMPARE(TForm1::IndexOfItem(stop, "3"), stop->count());

    QComboBox *baud = form_->comboBox(Field::Baud);
    baud->setCurrentIndex(0);
    TForm1::SelectItemByText(baud, "\t115200\r\n");
    QCOMPARE(baud->currentText(), QStringLiteral("115200"));
    TForm1::SelectItemByText(baud, "115201"); // no equal item: the selection stays
    QCOMPARE(baud->currentText(), QStringLiteral("115200"));

    QComboBox *client = form_->comboBox(Field::ClientProtocol);
    client->setCurrentIndex(0);
    TForm1::SelectItemByText(client, "Single\xd0\xad\xd2\xe9"); // "Single协议" in GBK
    QCOMPARE(client->currentIndex(), 1);

    TForm1::SelectIndex(baud, baud->count());
    QCOMPARE(baud->currentIndex(), -1);
    TForm1::SelectIndex(baud, 2);
    TForm1::SelectIndex(baud, -1);
    QCOMPARE(baud->currentIndex(), -1);
    TForm1::SelectIndex(baud, qint64(INT_MIN) - 1);
    QCOMPARE(baud->currentIndex(), -1);
}

void DecodersTest::serialFormat_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("dataBits");
    QTest::addColumn<QString>("parity");
    QTest::addColumn<QString>("stopBits");
    QTest::addColumn<QString>("error");
    QTest::newRow("quoted 8,2,1") << QByteArray("\"8\",\"2\",\"1\"") << "8"
                                  << "NONE"
                                  << "1" << QString();
    QTest::newRow("7,0,2") << QByteArray("7,0,2") << "7"
                           << "EVEN"
                           << "1.5" << QString();
    QTest::newRow("8,1,3") << QByteArray("8,1,3") << "8"
                           << "ODD"
                           << "2" << QString();
    QTest::newRow("parity out of list") << QByteArray("8,3,0") << "8"
                                        << "<none>"
                                        << "<none>" << QString();
    QTest::newRow("unknown data bits keep selection") << QByteArray("9,2,1") << "7"
                                                      << "NONE"
                                                      << "1" << QString();
    QTest::newRow("parity not a number") << QByteArray("8,x,1") << "8"
                                         << "EVEN"
                                         << "2"
                                         << "'x' is not a valid integer value";
    QTest::newRow("stop bits missing") << QByteArray("8,2") << "8"
                                       << "NONE"
                                       << "2"
                                       << "'' is not a valid integer value";
}

void DecodersTest::serialFormat()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, dataBits);
    QFETCH(QString, parity);
    QFETCH(QString, stopBits);
    QFETCH(QString, error);
    form_->comboBox(Field::DataBits)->setCurrentIndex(1); // "7"
    form_->comboBox(Field::Parity)->setCurrentIndex(0);   // "EVEN"
    form_->comboBox(Field::StopBits)->setCurrentIndex(2); // "2"
    QString thrown;
    try {
        form_->DecodeSerialFormat(value);
    } catch (const ConversionError &failure) {
        thrown = failure.message();
    }
    QCOMPARE(thrown, error);
    QCOMPARE(shown(form_->comboBox(Field::DataBits)), dataBits);
    QCOMPARE(shown(form_->comboBox(Field::Parity)), parity);
    QCOMPARE(shown(form_->comboBox(Field::StopBits)), stopBits);
}

void DecodersTest::apInfoStopsAtMissingChannel()
{
    form_->comboBox(Field::ApAuth)->setCurrentIndex(2);
    form_->comboBox(Field::ApChannel)->setCurrentIndex(3);
    form_->DecodeApInfo("\"Net\",\"pw\",\"11\",\"3\"");
    QCOMPARE(form_->lineEdit(Field::ApSsid)->text(), QStringLiteral("Net"));
    QCOMPARE(form_->lineEdit(Field::ApPassword)->text(), QStringLiteral("pw"));
    QCOMPARE(form_->comboBox(Field::ApChannel)->currentText(), QStringLiteral("11"));
    QCOMPARE(form_->comboBox(Field::ApAuth)->currentText(), QStringLiteral("WPA_WPA2_PSK"));

    form_->comboBox(Field::ApAuth)->setCurrentIndex(2);
    QVERIFY_THROWS_EXCEPTION(ConversionError, form_->DecodeApInfo("\"\xd6\xd0\xce\xc4\",\"p2\""));
    QCOMPARE(form_->lineEdit(Field::ApSsid)->text(), QStringLiteral("中文"));
    QCOMPARE(form_->lineEdit(Field::ApPassword)->text(), QStringLiteral("p2"));
    QCOMPARE(form_->comboBox(Field::ApChannel)->currentText(), QStringLiteral("11"));
    QCOMPARE(form_->comboBox(Field::ApAuth)->currentIndex(), 2);
}

void DecodersTest::stationConfigAndAddresses()
{
    form_->DecodeStationConfig("\"Home\",\"sec,ret\"");
    QCOMPARE(form_->lineEdit(Field::StaSsid)->text(), QStringLiteral("Home"));
    QCOMPARE(form_->lineEdit(Field::StaPassword)->text(), QStringLiteral("sec,ret"));
    form_->DecodeStationConfig("\"Only\"");
    QCOMPARE(form_->lineEdit(Field::StaSsid)->text(), QStringLiteral("Only"));
    QCOMPARE(form_->lineEdit(Field::StaPassword)->text(), QString());

    form_->DecodeAddressTriple("\"10.0.0.2\",\"255.0.0.0\",\"10.0.0.1\"", TForm1::AddressGroup::Station);
    QCOMPARE(form_->lineEdit(Field::StaIp)->text(), QStringLiteral("10.0.0.2"));
    QCOMPARE(form_->lineEdit(Field::StaMask)->text(), QStringLiteral("255.0.0.0"));
    QCOMPARE(form_->lineEdit(Field::StaGateway)->text(), QStringLiteral("10.0.0.1"));
    form_->DecodeAddressTriple("1.1.1.1", TForm1::AddressGroup::Ap);
    QCOMPARE(form_->lineEdit(Field::ApIp)->text(), QStringLiteral("1.1.1.1"));
    QCOMPARE(form_->lineEdit(Field::ApMask)->text(), QString());
    QCOMPARE(form_->lineEdit(Field::ApGateway)->text(), QString());
    QCOMPARE(form_->lineEdit(Field::StaIp)->text(), QStringLiteral("10.0.0.2"));
}

void DecodersTest::remoteParameters_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("workMode");
    QTest::addColumn<QString>("stopBits");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("serverIp");
    QTest::addColumn<QString>("error");
    // Before each row: work mode "Station", stop bits "1", baud "9600", server IP "old".
    QTest::newRow("keys 1, 13, 19") << QByteArray("1=3;13=7;19=2;") << "AP+Station"
                                    << "2"
                                    << "9600"
                                    << "old" << QString();
    QTest::newRow("stop bits by item text") << QByteArray("19=1.5;") << "Station"
                                            << "1.5"
                                            << "9600"
                                            << "old" << QString();
    QTest::newRow("baud not in list") << QByteArray("17=12345;") << "Station"
                                      << "1"
                                      << "<none>"
                                      << "old" << QString();
    QTest::newRow("values as they are") << QByteArray("14=\" 1.2.3.4\";") << "Station"
                                        << "1"
                                        << "9600"
                                        << "\" 1.2.3.4\"" << QString();
    QTest::newRow("leading zero key skipped") << QByteArray("01=2;14=x;") << "Station"
                                              << "1"
                                              << "9600"
                                              << "x" << QString();
    QTest::newRow("unknown keys skipped") << QByteArray("0=1;28=1;abc=1;1=2;") << "AP"
                                          << "1"
                                          << "9600"
                                          << "old" << QString();
    QTest::newRow("empty value") << QByteArray("14=;") << "Station"
                                 << "1"
                                 << "9600"
                                 << "" << QString();
    QTest::newRow("value with =") << QByteArray("14=a=b;") << "Station"
                                  << "1"
                                  << "9600"
                                  << "a=b" << QString();
    QTest::newRow("empty key stops") << QByteArray("=1;1=2;") << "Station"
                                     << "1"
                                     << "9600"
                                     << "old" << QString();
    QTest::newRow("no = stops") << QByteArray("19=2;abc") << "Station"
                                << "2"
                                << "9600"
                                << "old" << QString();
    // ";" before "=": the key runs up to the "=", the value is empty, the walk goes on after the ";".
    QTest::newRow("; before =") << QByteArray("x;14=y;") << "Station"
                                << "1"
                                << "9600"
                                << "y" << QString();
    // The last element without its ";" is applied once and ends the list.
    QTest::newRow("last ; missing") << QByteArray("19=2;14=9.9.9.9") << "Station"
                                    << "2"
                                    << "9600"
                                    << "9.9.9.9" << QString();
    QTest::newRow("only element, ; missing") << QByteArray("1=2") << "AP"
                                             << "1"
                                             << "9600"
                                             << "old" << QString();
    QTest::newRow("work mode out of list") << QByteArray("1=9;") << "<none>"
                                           << "1"
                                           << "9600"
                                           << "old" << QString();
    QTest::newRow("conversion failure stops") << QByteArray("19=2;1=AP;14=z;") << "Station"
                                              << "2"
                                              << "9600"
                                              << "old"
                                              << "'AP' is not a valid integer value";
    QTest::newRow("empty list") << QByteArray() << "Station"
                                << "1"
                                << "9600"
                                << "old" << QString();
}

void DecodersTest::remoteParameters()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, workMode);
    QFETCH(QString, stopBits);
    QFETCH(QString, baud);
    QFETCH(QString, serverIp);
    QFETCH(QString, error);
    form_->comboBox(Field::WorkMode)->setCurrentIndex(0);
    form_->comboBox(Field::StopBits)->setCurrentIndex(0);
    form_->comboBox(Field::Baud)->setCurrentText(QStringLiteral("9600"));
    form_->lineEdit(Field::ServerIp)->setText(QStringLiteral("old"));
    QString thrown;
    try {
        form_->DecodeRemoteParameters(list);
    } catch (const ConversionError &failure) {
        thrown = failure.message();
    }
    QCOMPARE(thrown, error);
    QCOMPARE(shown(form_->comboBox(Field::WorkMode)), workMode);
    QCOMPARE(shown(form_->comboBox(Field::StopBits)), stopBits);
    QCOMPARE(shown(form_->comboBox(Field::Baud)), baud);
    QCOMPARE(form_->lineEdit(Field::ServerIp)->text(), serverIp);
}

void DecodersTest::remoteParametersEndOnAnyInput()
{
    // Every key of the list, then random texts made of the list's own punctuation: each call returns
    // (or stops at a conversion failure) instead of looping or reading past the text.
    QByteArray all;
    for (int key = 1; key <= 27; ++key)
        all += QByteArray::number(key) + "=1;";
    form_->DecodeRemoteParameters(all);
    QCOMPARE(form_->lineEdit(Field::StaGateway)->text(), QStringLiteral("1"));
    QCOMPARE(form_->comboBox(Field::Dhcp)->currentIndex(), 1);

    const char alphabet[] = "=;,\"1290 \0\xd6";
    QRandomGenerator random(20240601);
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int length = random.bounded(24);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.bounded(int(sizeof alphabet) - 1)];
        try {
            form_->DecodeRemoteParameters(text);
        } catch (const ConversionError &) {
        }
    }
}

void DecodersTest::remoteIo_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("expected"); // mode, pull, level of the row
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("error");
    const QStringList untouched{QStringLiteral("Input"), QStringLiteral("上拉"), QStringLiteral("低电平")};
    QTest::newRow("pin 2 O F 1") << "EN" << QByteArray("OFB21OFB21") << 2
                                 << QStringList{"Output", "悬浮", "高电平"} << QStringList() << QString();
    QTest::newRow("pin 8 while hidden")
        << "EN" << QByteArray("NUB80NUB80") << 8 << QStringList{"None", "上拉", "低电平"} << QStringList()
        << QString();
    QTest::newRow("level N of a read clears")
        << "EN" << QByteArray("IUB3NIUB3N") << 3 << QStringList{"Input", "上拉", "<none>"} << QStringList()
        << QString();
    QTest::newRow("unknown letters clear")
        << "EN" << QByteArray("xyB4zxyB4z") << 4 << QStringList{"<none>", "<none>", "<none>"} << QStringList()
        << QString();
    QTest::newRow("pin 9") << "EN" << QByteArray("OFB91OFB91") << 1 << untouched << QStringList()
                           << QString();
    QTest::newRow("pin 0") << "EN" << QByteArray("OFB01OFB01") << 1 << untouched << QStringList()
                           << QString();
    QTest::newRow("copies differ EN") << "EN" << QByteArray("OFB21OFB20") << 2 << untouched
                                      << QStringList{"IO value verify error!"} << QString();
    QTest::newRow("copies differ CN") << "CN" << QByteArray("OFB21OFB20") << 2 << untouched
                                      << QStringList{"IO数值前后验证有误！"} << QString();
    QTest::newRow("not a reply EN") << "EN" << QByteArray("OFW21OFW21") << 2 << untouched
                                    << QStringList{"IO value over scope!"} << QString();
    QTest::newRow("not a reply CN") << "CN" << QByteArray("OFW21OFW21") << 2 << untouched
                                    << QStringList{"IO数值不是应答类型值！"} << QString();
    // The pin is converted before the operation letter is looked at.
    QTest::newRow("pin not a digit") << "EN" << QByteArray("OFWx1OFWx1") << 1 << untouched << QStringList()
                                     << "'x' is not a valid integer value";
    QTest::newRow("short body") << "EN" << QByteArray("OFB21OF") << 2 << untouched
                                << QStringList{"IO value verify error!"} << QString();
    QTest::newRow("empty body") << "EN" << QByteArray() << 1 << untouched << QStringList()
                                << "'' is not a valid integer value";
}

void DecodersTest::remoteIo()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, body);
    QFETCH(int, row);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, boxes);
    QFETCH(QString, error);
    Language = language;
    for (int n = 1; n <= 8; ++n) {
        const TForm1::IoRow &io = form_->ioRow(n);
        io.mode->setCurrentIndex(0);
        io.pull->setCurrentIndex(0);
        io.level->setCurrentIndex(0);
    }
    QString thrown;
    try {
        form_->DecodeRemoteIo(body);
    } catch (const ConversionError &failure) {
        thrown = failure.message();
    }
    QCOMPARE(thrown, error);
    QCOMPARE(boxes_->texts(), boxes);
    for (const BoxRequest &box : boxes_->boxes)
        QCOMPARE(box.kind, BoxKind::Warning);
    const TForm1::IoRow &io = form_->ioRow(row);
    QCOMPARE((QStringList{shown(io.mode), shown(io.pull), shown(io.level)}), expected);
    for (int n = 1; n <= 8; ++n) {
        if (n == row)
            continue;
        const TForm1::IoRow &other = form_->ioRow(n);
        QCOMPARE(other.mode->currentIndex() + other.pull->currentIndex() + other.level->currentIndex(), 0);
    }
}

QTEST_MAIN(DecodersTest)
#include "test_decoders.moc"
