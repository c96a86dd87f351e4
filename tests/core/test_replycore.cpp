// The reply interpretation, row by row of its tables: each row feeds one real reply under one type
// code and compares everything the reply changes (fields, IO rows, console lines, status text, boxes,
// where it stops), so a row also proves that nothing else changes. Every row runs on both roads.

#include "core/EffectsText.h"
#include "protocol/ReplyInterpreter.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A module reply frame: magic, module ID, zone, function code, a byte that is not read (00 here, as
// the zone-valid byte of a sent frame), a checksum that is not verified, payload.
QByteArray frame(char function, const QByteArray &payload, const QByteArray &id = "12345678901")
{
    return QByteArray("\xA8\x81", 2) + id + "0000" + function + QByteArray(1, '\0') + '\x5a' + payload;
}

// One row of the table, built step by step and added with add().
class Row {
public:
    Row(const QByteArray &name, int code, const QByteArray &reply) : name_(name), code_(code), reply_(reply)
    {
    }
    Row &cn()
    {
        chinese_ = true;
        return *this;
    }
    Row &lastIo(const char *operation)
    {
        lastIo_ = QLatin1String(operation);
        return *this;
    }
    Row &text(Field field, const QString &text) { return change({field, FieldChange::Kind::Text, text}); }
    Row &select(Field field, int index)
    {
        return change({field, FieldChange::Kind::ItemIndex, QString(), index});
    }
    Row &selectText(Field field, const QString &text)
    {
        return change({field, FieldChange::Kind::ItemText, text});
    }
    Row &selectTextOrNone(Field field, const QString &text)
    {
        return change({field, FieldChange::Kind::ItemTextOrNone, text});
    }
    Row &none(Field field) { return change({field, FieldChange::Kind::NoSelection, QString()}); }
    Row &append(Field field, const QString &text)
    {
        return change({field, FieldChange::Kind::AppendLine, text});
    }
    Row &io(int row, IoChange::Box box, int index)
    {
        expected_.io << IoChange{row, box, index};
        return *this;
    }
    Row &ioRow2OutputFloatingHigh()
    {
        return io(2, IoChange::Box::Mode, 1).io(2, IoChange::Box::Pull, 1).io(2, IoChange::Box::Level, 1);
    }
    Row &line(const QString &text)
    {
        expected_.console << text;
        return *this;
    }
    Row &warning(const QString &text)
    {
        expected_.boxes << ReplyBox{ReplyBox::Kind::Warning, text};
        return *this;
    }
    Row &noStatus()
    {
        status_ = false;
        return *this;
    }
    Row &fails(const QString &text)
    {
        expected_.failure = ConversionError{text};
        return noStatus();
    }
    void add()
    {
        ReplyEffects tcp = expected_;
        if (status_)
            tcp.status = chinese_ ? QStringLiteral("操作完成！") : QStringLiteral("Operate complete!");
        ReplyEffects serial = tcp;
        // The serial road shows a value that does not convert in the general error box.
        if (tcp.failure) {
            serial.boxes << ReplyBox{
                ReplyBox::Kind::Error,
                QStringLiteral("'%1' is not a valid integer value").arg(tcp.failure->text)};
        }
        const QByteArray tag = name_ + (chinese_ ? " CN" : "");
        QTest::newRow(tag.constData())
            << code_ << chinese_ << lastIo_ << reply_ << effectLines(tcp) << effectLines(serial);
    }

private:
    Row &change(const FieldChange &change)
    {
        expected_.fields << change;
        return *this;
    }

    QByteArray name_;
    int code_;
    QByteArray reply_;
    bool chinese_ = false;
    QString lastIo_;
    ReplyEffects expected_;
    bool status_ = true;
};

} // namespace

class ReplyCoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void table_data();
    void table();
    void randomRepliesDifferByRoadOnlyInTheBox();

private:
    void acknowledgementRows();
    void statusQueryRows();
    void parameterQueryRows();
    void remoteFrameRows();
};

void ReplyCoreTest::acknowledgementRows()
{
    Row("+++ echo only", 0, "+++").add();
    Row("at mode lower case", 0, "\r\nat mode\r\n").line("Enter to Setting mode successfully!").add();
    Row("AT MODE", 0, "AT MODE\r\n").cn().line("切换到配置模式成功！").add();
    Row("code 0 has no failure test", 0, "ERROR").add();

    const struct {
        int code;
        const char *name;
        const char *okEn, *okCn, *failEn, *failCn;
    } acks[] = {
        {2, "data mode", "Enter to Data mode successfully!", "切换到数传模式成功！",
         "Enter to Data mode Fail!", "切换到数传模式失败！"},
        {3, "restart", "Restar successfully!", "系统重启成功！", "Restar Fail!", "系统重启失败！"},
        {4, "restore", "Restore successfully!", "恢复出厂设置成功！", "Restore Fail!", "恢复出厂设置失败！"},
        {6, "smartlink", "Enter to SmartLink successfully!", "进入Smartlink模式成功！",
         "Enter to SmartLink Fail!", "进入Smartlink模式失败！"},
        {18, "set", "Set successfully!", "设置成功！", "Set Fail!", "设置失败！"},
    };
    for (const auto &ack : acks) {
        const QByteArray ok = QByteArray(ack.name) + " OK";
        const QByteArray fail = QByteArray(ack.name) + " ERROR";
        Row(ok, ack.code, "\r\nOK\r\n").line(QString::fromUtf8(ack.okEn)).add();
        Row(ok, ack.code, "OK").cn().line(QString::fromUtf8(ack.okCn)).add();
        // ERROR is not an exit here: the failure line is written and the status is set.
        Row(fail, ack.code, "ERROR\r\n").line(QString::fromUtf8(ack.failEn)).add();
        Row(fail, ack.code, "ERROR").cn().line(QString::fromUtf8(ack.failCn)).add();
    }
    Row("restart neither word", 3, "busy").add();
    Row("set ok lower case", 21, "ok").line("Set successfully!").add();
    // A line "ERROR" is the module's verdict, whatever else the reply holds: an echo of the command
    // may carry "OK" inside a value.
    Row("set ERROR line beats OK", 13, "ERROR\r\nOK").line("Set Fail!").add();
    Row("set echo OKnet then ERROR", 19, "AT+STACONFIG=\"OKnet\",\"pw\"\r\n\r\nERROR\r\n")
        .cn()
        .line("设置失败！")
        .add();
    Row("set ERROR line ended by CR only", 21, "OKnet\rERROR").line("Set Fail!").add();
    Row("set echo holding ERROR, then OK", 19, "AT+STACONFIG=\"ERROR\",\"x\"\r\nOK\r\n")
        .line("Set successfully!")
        .add();
    Row("restart ERROR line beats OK", 3, "OK\r\nERROR").line("Restar Fail!").add();
    Row("set code 12", 12, "+OK").line("Set successfully!").add();
    Row("set code 40", 40, "OK").line("Set successfully!").add();
    Row("set code 44", 44, "ERROR").line("Set Fail!").add();

    // IO lines: the GPIO number names the row, the sixth character is the level.
    const IoChange::Box level = IoChange::Box::Level;
    Row("IO16 level 1", 12, "IO16=1\r\n").io(1, level, 1).add();
    Row("IO14 level 0", 13, "IO14:0\r\n").io(2, level, 0).add();
    Row("IO12 level 0", 44, "IO12:0").io(3, level, 0).add();
    Row("IO13 level 1", 40, "IO13:1").io(4, level, 1).add();
    Row("IO12 level out of list", 12, "IO12:7").io(3, level, 7).add();
    Row("IO15 names no row", 13, "IO15:0").add();
    Row("io16 in lower case", 12, "io16:1").add();
    Row("IO line after text", 12, "x IO16:1").add();
    Row("IO line with OK", 12, "IO16:1\r\nOK").line("Set successfully!").add();
    Row("IO line with ERROR", 12, "IO16:1\r\nERROR").line("Set Fail!").add();
    Row("IO16 without level", 12, "IO16").fails("").add();
    Row("IO13 level not a number", 12, "IO13:x").fails("x").add();
    Row("IO line for a mode command", 2, "IO16:1").add();
}

void ReplyCoreTest::statusQueryRows()
{
    Row("LSSTAINF list", 7, "+LSSTAINF:1,ac:d0:74:1a:2b:3c\r\nOK\r\n")
        .append(Field::ListMemo, "+LSSTAINF:1,ac:d0:74:1a:2b:3c\r\nOK\r\n")
        .add();
    Row("LSAPINF ERROR is listed", 8, "ERROR").append(Field::ListMemo, "ERROR").add();
    Row("LSAPINF GBK", 8, "+LSAPINF:\"\xd6\xd0\xce\xc4\"").append(Field::ListMemo, "+LSAPINF:\"中文\"").add();

    Row("CLIENTLINK connected", 9, "connected\r\n").text(Field::ServerState, "connected").add();
    Row("CLIENTLINK connected", 9, "connected\r\n").cn().text(Field::ServerState, "连接成功").add();
    Row("CLIENTLINK unconnected", 9, " unconnected").text(Field::ServerState, "unconnected").add();
    Row("CLIENTLINK unconnected", 9, "unconnected").cn().text(Field::ServerState, "未连接").add();
    Row("CLIENTLINK other case clears", 9, "Connected").text(Field::ServerState, "").add();
    Row("CLIENTLINK error in lower case clears", 9, "error").text(Field::ServerState, "").add();
    Row("CLIENTLINK ERROR", 9, "\r\nERROR\r\n").noStatus().add();

    const struct {
        const char *word, *en, *cn;
    } words[] = {{"IDLE", "Free", "空闲状态"},
                 {"CONNECTING", "Connecting...", "连接中..."},
                 {"WRONG_PASSWORD", "Wrong Password", "错误密码"},
                 {"NO_AP_FOUND", "Not found AP", "没找到该AP"},
                 {"CONNECT_FAIL", "Connect Fail", "连接失败"},
                 {"GOT_IP", "Connected and got IP", "连接成功，获得IP"}};
    for (const auto &word : words) {
        const QByteArray name = QByteArray("WIFISTATE ") + word.word;
        const QByteArray reply = QByteArray("+WIFISTATE:") + word.word + "\r\nOK\r\n";
        Row(name, 10, reply).text(Field::WifiState, QString::fromUtf8(word.en)).add();
        Row(name, 10, reply).cn().text(Field::WifiState, QString::fromUtf8(word.cn)).add();
    }
    // The table order decides, not the position in the reply.
    Row("WIFISTATE GOT_IP then IDLE", 10, "GOT_IP IDLE").text(Field::WifiState, "Free").add();
    Row("WIFISTATE GOT_IP then CONNECT_FAIL", 10, "GOT_IP,CONNECT_FAIL")
        .text(Field::WifiState, "Connect Fail")
        .add();
    Row("WIFISTATE lower case", 10, "got_ip").text(Field::WifiState, "Connected and got IP").add();
    Row("WIFISTATE no word", 10, "OK").add();
    Row("WIFISTATE ERROR is no exit", 10, "ERROR").add();

    Row("CURRENTSTAIP", 11, "\"192.168.4.2\"\r\n").text(Field::CurrentStationIp, "192.168.4.2").add();
    Row("CURRENTSTAIP ERROR", 11, "ERROR").noStatus().add();
    Row("QXVERSION untrimmed", 98, "V2.14\r\n").text(Field::Version, "V2.14\r\n").add();
    Row("QXVERSION ERROR is a version", 98, "ERROR").text(Field::Version, "ERROR").add();
}

void ReplyCoreTest::parameterQueryRows()
{
    // Every query code exits silently on a bare ERROR: no field, no status.
    for (const int code : {113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128,
                           129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 141, 142, 143, 144}) {
        Row("ERROR exit " + QByteArray::number(code), code, " ERROR\r\n").noStatus().add();
    }

    Row("BAUD", 113, "115200\r\n").selectText(Field::Baud, "115200").add();
    Row("BAUD blanks and controls trimmed", 113, "\t115200\x01\r\n").selectText(Field::Baud, "115200").add();
    Row("BAUD not in list", 113, "115201").selectText(Field::Baud, "115201").add();
    Row("UART", 114, "\"7\",\"0\",\"3\"\r\n")
        .selectText(Field::DataBits, "7")
        .select(Field::Parity, 0)
        .select(Field::StopBits, 2)
        .add();
    Row("UART parity not a number", 114, "8,x,1").selectText(Field::DataBits, "8").fails("x").add();
    Row("RCVTIMEOUT", 115, "35\r\n").text(Field::RxTimeout, "35").add();
    Row("RCVMAX", 116, "4096").text(Field::RxMax, "4096").add();
    Row("MSGEN", 117, "1").select(Field::DebugOutput, 1).add();
    Row("MSGEN out of list", 117, "2").select(Field::DebugOutput, 2).add();
    Row("MSGEN GBK not a number", 117, "\xd6\xd0").fails("中").add();
    Row("WIFIMODE", 118, "2\r\n").select(Field::WorkMode, 1).add();
    Row("WIFIMODE", 118, "3").cn().select(Field::WorkMode, 2).add();
    Row("WIFIMODE 0", 118, "0").none(Field::WorkMode).add();
    Row("WIFIMODE lowest number", 118, "-2147483648").none(Field::WorkMode).add();
    Row("WIFIMODE +ERROR", 118, "+ERROR").fails("+ERROR").add();
    Row("WIFIMODE ERROR 1", 118, "ERROR 1\r\n").fails("ERROR 1").add();
    Row("WIFIMODE error in lower case", 118, "error").fails("error").add();
    const QByteArray nulInside("3\x00"
                               "9\r\n",
                               5);
    Row("WIFIMODE 00 inside the number", 118, nulInside)
        .fails(QStringLiteral("3") + QChar(0) + QStringLiteral("9"))
        .add();
    Row("STACONFIG", 119, "\"\xd6\xd0\xce\xc4\",\"pass\"\r\n")
        .text(Field::StaSsid, "中文")
        .text(Field::StaPassword, "pass")
        .add();
    Row("APINF", 120, "\"ap1\",\"pw1\",11,3")
        .text(Field::ApSsid, "ap1")
        .text(Field::ApPassword, "pw1")
        .select(Field::ApChannel, 10)
        .select(Field::ApAuth, 3)
        .add();
    Row("APINF two fields", 120, "\"ap2\",\"pw2\"")
        .text(Field::ApSsid, "ap2")
        .text(Field::ApPassword, "pw2")
        .fails("")
        .add();
    Row("DHCP", 121, "3").select(Field::Dhcp, 3).add();
    Row("STATIONIP", 122, "\"10.0.0.2\",\"255.0.0.0\",\"10.0.0.1\"")
        .text(Field::StaIp, "10.0.0.2")
        .text(Field::StaMask, "255.0.0.0")
        .text(Field::StaGateway, "10.0.0.1")
        .add();
    Row("APIP", 123, "\"10.0.1.1\",\"255.255.0.0\",\"10.0.1.254\"")
        .text(Field::ApIp, "10.0.1.1")
        .text(Field::ApMask, "255.255.0.0")
        .text(Field::ApGateway, "10.0.1.254")
        .add();
    Row("STAMAC", 124, "\"ac:d0:74:1a:2b:3c\"\r\n").text(Field::StaMac, "AC:D0:74:1A:2B:3C").add();
    Row("APMAC", 125, "\"ae:d0:74:1a:2b:\xd6\xd0\"").text(Field::ApMac, "AE:D0:74:1A:2B:中").add();
    Row("PTHPORT", 126, "5001").text(Field::LocalPort, "5001").add();
    Row("REMOTEPORT takes any text", 127, "OK").text(Field::ServerPort, "OK").add();
    Row("REMOTEIP keeps quotes", 128, "\"10.1.1.1\"").text(Field::ServerIp, "\"10.1.1.1\"").add();
    Row("CMDMAXCONN", 129, "2").text(Field::CmdMaxConn, "2").add();
    Row("PTHMAXCONN", 130, "7").text(Field::PthMaxConn, "7").add();
    Row("SERVERTIME", 131, "300").text(Field::ServerTime, "300").add();
    Row("HEARTBEATT", 132, "60").text(Field::Heartbeat, "60").add();
    Row("CMDSERVEREN", 133, "1").select(Field::CmdServerEn, 1).add();
    Row("PTHSERVEREN", 134, "0").select(Field::PthServerEn, 0).add();
    Row("CONNREMOTE", 135, "1").select(Field::ConnRemote, 1).add();
    Row("SINGELEN", 136, "0").select(Field::ClientProtocol, 0).add();
    Row("SINGELEN out of list", 136, "5").select(Field::ClientProtocol, 5).add();
    Row("ZONEEN", 137, "1").select(Field::ZoneValid, 1).add();
    Row("DEVID", 138, "12345678901").text(Field::DeviceId, "12345678901").add();
    Row("DEVID longer than an ID, whole", 138, "123456789012").text(Field::DeviceId, "123456789012").add();
    Row("ZONE", 139, "0755").text(Field::Zone, "0755").add();
    Row("TRANTYPE", 141, "1").select(Field::NetProtocol, 1).add();
    Row("httpserver", 142, "http://127.0.0.1/x").text(Field::Url, "http://127.0.0.1/x").add();
    Row("NAME", 143, "AB:CD").text(Field::StaName, "AB:CD").add();
    Row("PWD", 144, "1234").text(Field::StaPwd, "1234").add();

    for (const int code : {1, 5, 45, 97, 99, 112, 140, 145, 1000, -1}) {
        Row("code without a row " + QByteArray::number(code), code, "OK\r\n2\r\n").add();
    }
}

void ReplyCoreTest::remoteFrameRows()
{
    const QByteArray io = frame('\x05', "OFB21OFB21");
    Row("frame 05", 1, io)
        .ioRow2OutputFloatingHigh()
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05", 1, io)
        .cn()
        .ioRow2OutputFloatingHigh()
        .line("远程设置WIFI模块:12345678901 IO成功！")
        .add();
    Row("frame 05 after read", 12, io)
        .lastIo("R")
        .ioRow2OutputFloatingHigh()
        .line("Remoete read WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05 after read", 12, io)
        .lastIo("R")
        .cn()
        .ioRow2OutputFloatingHigh()
        .line("远程读取WIFI模块:12345678901 IO成功！")
        .add();
    Row("frame 05 after write", 12, io)
        .lastIo("W")
        .ioRow2OutputFloatingHigh()
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    // The result line follows a rejected body too.
    Row("frame 05 copies differ", 1, frame('\x05', "OFB21OFB20"))
        .warning("IO value verify error!")
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05 not a reply", 1, frame('\x05', "OFW21OFW21"))
        .cn()
        .warning("IO数值不是应答类型值！")
        .line("远程设置WIFI模块:12345678901 IO成功！")
        .add();
    Row("frame 05 short payload", 1, frame('\x05', "OFB2"))
        .warning("IO value verify error!")
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    // Only ten bytes are the body; what follows is not looked at.
    Row("frame 05 long payload", 1, frame('\x05', "OFB21OFB21OUB31"))
        .ioRow2OutputFloatingHigh()
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05 without payload", 1, frame('\x05', "")).fails("").add();

    Row("frame 09", 1, frame('\x09', "1=3;13=7;19=2;\r\n"))
        .select(Field::WorkMode, 2)
        .selectTextOrNone(Field::StopBits, "2")
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame 09", 1, frame('\x09', " 1=1;\r\n"))
        .lastIo("R")
        .cn()
        .select(Field::WorkMode, 0)
        .line("远程读取WIFI模块:12345678901 参数成功！")
        .add();
    Row("frame 09 last ; missing", 1, frame('\x09', "14=1.2.3.4\r\n"))
        .text(Field::ServerIp, "1.2.3.4")
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame 09 without payload", 1, frame('\x09', ""))
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame 09 conversion failure", 1, frame('\x09', "19=1.5;1=x;"))
        .selectTextOrNone(Field::StopBits, "1.5")
        .fails("x")
        .add();
    Row("frame other function", 1, frame('\x08', "1=3;")).add();
    Row("frame ID with a control byte", 1, frame('\x09', "", QByteArray("1234567890\x01")))
        .line(QStringLiteral("Remoete Set WIFI module:1234567890\u2401 Parameters successfully!"))
        .add();
    // A frame is never read as the value of the query that is under way: it goes to its decoding.
    Row("frame under a numeric query", 118, frame('\x09', "1=3;"))
        .select(Field::WorkMode, 2)
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame under a status query", 11, frame('\x05', "OFB21OFB21"))
        .ioRow2OutputFloatingHigh()
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame under the list query", 7, frame('\x08', "x")).add();
    Row("magic only", 1, QByteArray("\xA8\x81", 2)).add();
    Row("header cut short", 1,
        QByteArray("\xA8\x81"
                   "12345",
                   7))
        .add();
    Row("relay frame is not a reply", 1, QByteArray("\xA8\x83", 2) + frame('\x09', "1=3;").mid(2)).add();
}

void ReplyCoreTest::table_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("lastIo");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("tcp");
    QTest::addColumn<QStringList>("serial");
    acknowledgementRows();
    statusQueryRows();
    parameterQueryRows();
    remoteFrameRows();
}

void ReplyCoreTest::table()
{
    QFETCH(int, code);
    QFETCH(bool, chinese);
    QFETCH(QString, lastIo);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, tcp);
    QFETCH(QStringList, serial);
    QCOMPARE(effectLines(interpretReply({code, lastIo, chinese, ReplyRoad::Tcp}, reply)), tcp);
    QCOMPARE(effectLines(interpretReply({code, lastIo, chinese, ReplyRoad::Serial}, reply)), serial);
}

void ReplyCoreTest::randomRepliesDifferByRoadOnlyInTheBox()
{
    // Short random texts over the bytes the interpretation looks at, under every type code, plain and
    // as module reply frames: nothing escapes as an exception, a text that stops sets no status, and
    // the road changes nothing but the error box of the serial road.
    const char alphabet[] = "OKERRIO16=;,\"0129 \r\n\0\xA8\x81\x05\x09\xd6";
    QRandomGenerator random(7);
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.bounded(int(sizeof alphabet) - 1)];
        if (round % 3 == 0)
            text = frame(round % 2 ? '\x05' : '\x09', text);
        ReplyContext context{random.bounded(-2, 150), round % 2 ? QStringLiteral("R") : QString(),
                             round % 5 == 0, ReplyRoad::Tcp};
        const ReplyEffects tcp = interpretReply(context, text);
        context.road = ReplyRoad::Serial;
        ReplyEffects serial = interpretReply(context, text);

        QVERIFY(!(tcp.failure && tcp.status));
        for (const ReplyBox &box : tcp.boxes)
            QCOMPARE(box.kind, ReplyBox::Kind::Warning);
        if (tcp.failure) {
            QVERIFY(!serial.boxes.isEmpty());
            QCOMPARE(serial.boxes.takeLast(), (ReplyBox{ReplyBox::Kind::Error, tcp.failure->message()}));
        }
        QCOMPARE(effectLines(serial), effectLines(tcp));
    }
}

QTEST_GUILESS_MAIN(ReplyCoreTest)
#include "test_replycore.moc"
