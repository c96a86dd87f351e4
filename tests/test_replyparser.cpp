// The reply parser, row by row of its tables: each row feeds one real reply under one type code and
// compares the whole window before and after (every field, the IO rows, the list memo, the console,
// the operation status and the boxes), so a row also proves that nothing else changed.

#include "links/ConsoleLog.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/StrictInt.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QtTest>
#include <utility>

using Changes = QList<std::pair<QString, QString>>;

namespace {

QString fieldKey(Field id)
{
    return QStringLiteral("field %1").arg(static_cast<int>(id));
}

QString ioKey(int row, const char *part)
{
    return QStringLiteral("io%1 %2").arg(row).arg(QLatin1String(part));
}

const QString kMemo = QStringLiteral("memo");
const QString kStatus = QStringLiteral("status");
const QString kNone = QStringLiteral("<none>");

QString valueOf(const QWidget *widget)
{
    if (const auto *box = qobject_cast<const QComboBox *>(widget))
        return box->currentIndex() < 0 ? kNone : box->currentText();
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(widget))
        return memo->toPlainText();
    return QStringLiteral("<missing>");
}

// Everything the parser may write, by key.
QMap<QString, QString> snapshot(const TForm1 &form)
{
    QMap<QString, QString> state;
    for (int i = 0; i < static_cast<int>(Field::Count); ++i)
        state[fieldKey(Field(i))] = valueOf(form.field(Field(i)));
    state[kMemo] = state.take(fieldKey(Field::ListMemo));
    for (int n = 1; n <= 8; ++n) {
        state[ioKey(n, "mode")] = valueOf(form.ioRow(n).mode);
        state[ioKey(n, "pull")] = valueOf(form.ioRow(n).pull);
        state[ioKey(n, "level")] = valueOf(form.ioRow(n).level);
    }
    state[kStatus] = form.statusPanel(2);
    return state;
}

// A module reply frame: magic, module ID, zone, function code, a byte that is not read (00 here, as
// the zone-valid byte of a sent frame), a checksum that is not verified, payload.
QByteArray frame(char function, const QByteArray &payload, const QByteArray &id = "12345678901")
{
    return QByteArray("\xA8\x81", 2) + id + "0000" + function + QByteArray(1, '\0') + '\x5a' + payload;
}

QString notInteger(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

// One row of the parser table, built step by step and added with add().
class Row {
public:
    Row(const QByteArray &name, int code, const QByteArray &reply) : name_(name), code_(code), reply_(reply)
    {
    }
    Row &cn()
    {
        language_ = QStringLiteral("CN");
        return *this;
    }
    Row &lastIo(const char *operation)
    {
        lastIo_ = QLatin1String(operation);
        return *this;
    }
    Row &set(Field id, const QString &value)
    {
        changes_.append({fieldKey(id), value});
        return *this;
    }
    Row &io(int row, const char *part, const QString &value)
    {
        changes_.append({ioKey(row, part), value});
        return *this;
    }
    Row &memo(const QString &appended)
    {
        changes_.append({kMemo, appended});
        return *this;
    }
    Row &line(const QString &text)
    {
        console_ << text;
        return *this;
    }
    Row &box(const QString &text)
    {
        boxes_ << text;
        return *this;
    }
    Row &noStatus()
    {
        status_ = false;
        return *this;
    }
    Row &fails(const QString &message)
    {
        error_ = message;
        return noStatus();
    }
    void add()
    {
        const QByteArray tag = name_ + (language_ == QLatin1String("CN") ? " CN" : "");
        QTest::newRow(tag.constData())
            << code_ << language_ << lastIo_ << reply_ << changes_ << console_ << boxes_ << status_ << error_;
    }

private:
    QByteArray name_;
    int code_;
    QByteArray reply_;
    QString language_ = QStringLiteral("EN");
    QString lastIo_;
    Changes changes_;
    QStringList console_;
    QStringList boxes_;
    bool status_ = true;
    QString error_;
};

} // namespace

class ReplyParserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void table_data();
    void table();
    void listRepliesAccumulate();
    void typeCodeIsKept();
    void randomRepliesNeverCrash();

private:
    void acknowledgementRows();
    void statusQueryRows();
    void parameterQueryRows();
    void remoteFrameRows();
    void presetRow();

    std::unique_ptr<BoxRecorder> boxes_;
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<TForm1> form_;
};

void ReplyParserTest::initTestCase()
{
    boxes_ = std::make_unique<BoxRecorder>();
    dir_ = std::make_unique<WorkDir>(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    form_ = makeMainWindow();
    for (int i = 0; i < static_cast<int>(Field::Count); ++i)
        QVERIFY2(form_->field(Field(i)), qPrintable(fieldKey(Field(i))));
    for (int n = 1; n <= 8; ++n)
        QVERIFY(form_->ioRow(n).mode && form_->ioRow(n).pull && form_->ioRow(n).level);
}

void ReplyParserTest::cleanupTestCase()
{
    form_.reset();
    dir_.reset();
    boxes_.reset();
    ResetSharedState();
}

void ReplyParserTest::acknowledgementRows()
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

    // IO lines (levels preset: row 3 "高电平", the others none).
    Row("IO16 level 1", 12, "IO16=1\r\n").io(1, "level", "高电平").add();
    Row("IO14 level 0", 13, "IO14:0\r\n").io(2, "level", "低电平").add();
    Row("IO12 level 0", 44, "IO12:0").io(3, "level", "低电平").add();
    Row("IO13 level 1", 40, "IO13:1").io(4, "level", "高电平").add();
    Row("IO12 level out of list", 12, "IO12:7").io(3, "level", kNone).add();
    Row("IO15 names no row", 13, "IO15:0").add();
    Row("io16 in lower case", 12, "io16:1").add();
    Row("IO line after text", 12, "x IO16:1").add();
    Row("IO line with OK", 12, "IO16:1\r\nOK").line("Set successfully!").add();
    Row("IO line with ERROR", 12, "IO16:1\r\nERROR").line("Set Fail!").add();
    Row("IO16 without level", 12, "IO16").fails(notInteger(QString())).add();
    Row("IO13 level not a number", 12, "IO13:x").fails(notInteger(QStringLiteral("x"))).add();
    Row("IO line for a mode command", 2, "IO16:1").add();
}

void ReplyParserTest::statusQueryRows()
{
    Row("LSSTAINF list", 7, "+LSSTAINF:1,ac:d0:74:1a:2b:3c\r\nOK\r\n")
        .memo("+LSSTAINF:1,ac:d0:74:1a:2b:3c\nOK\n")
        .add();
    Row("LSAPINF ERROR is listed", 8, "ERROR").memo("ERROR").add();
    Row("LSAPINF GBK", 8, "+LSAPINF:\"\xd6\xd0\xce\xc4\"").memo("+LSAPINF:\"中文\"").add();

    Row("CLIENTLINK connected", 9, "connected\r\n").set(Field::ServerState, "connected").add();
    Row("CLIENTLINK connected", 9, "connected\r\n").cn().set(Field::ServerState, "连接成功").add();
    Row("CLIENTLINK unconnected", 9, " unconnected").set(Field::ServerState, "unconnected").add();
    Row("CLIENTLINK unconnected", 9, "unconnected").cn().set(Field::ServerState, "未连接").add();
    Row("CLIENTLINK other case clears", 9, "Connected").set(Field::ServerState, "").add();
    Row("CLIENTLINK error in lower case clears", 9, "error").set(Field::ServerState, "").add();
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
        Row(name, 10, reply).set(Field::WifiState, QString::fromUtf8(word.en)).add();
        Row(name, 10, reply).cn().set(Field::WifiState, QString::fromUtf8(word.cn)).add();
    }
    // The table order decides, not the position in the reply.
    Row("WIFISTATE GOT_IP then IDLE", 10, "GOT_IP IDLE").set(Field::WifiState, "Free").add();
    Row("WIFISTATE GOT_IP then CONNECT_FAIL", 10, "GOT_IP,CONNECT_FAIL")
        .set(Field::WifiState, "Connect Fail")
        .add();
    Row("WIFISTATE lower case", 10, "got_ip").set(Field::WifiState, "Connected and got IP").add();
    Row("WIFISTATE no word", 10, "OK").add();
    Row("WIFISTATE ERROR is no exit", 10, "ERROR").add();

    Row("CURRENTSTAIP", 11, "\"192.168.4.2\"\r\n").set(Field::CurrentStationIp, "192.168.4.2").add();
    Row("CURRENTSTAIP ERROR", 11, "ERROR").noStatus().add();
    Row("QXVERSION untrimmed", 98, "V2.14\r\n").set(Field::Version, "V2.14\r\n").add();
    Row("QXVERSION ERROR is a version", 98, "ERROR").set(Field::Version, "ERROR").add();
}

void ReplyParserTest::parameterQueryRows()
{
    // Every query code exits silently on a bare ERROR: no field, no status.
    for (const int code : {113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128,
                           129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 141, 142, 143, 144}) {
        Row("ERROR exit " + QByteArray::number(code), code, " ERROR\r\n").noStatus().add();
    }

    Row("BAUD", 113, "115200\r\n").set(Field::Baud, "115200").add();
    Row("BAUD not in list keeps selection", 113, "115201").add();
    Row("UART", 114, "\"7\",\"0\",\"3\"\r\n")
        .set(Field::DataBits, "7")
        .set(Field::Parity, "EVEN")
        .set(Field::StopBits, "2")
        .add();
    Row("UART parity not a number", 114, "8,x,1").set(Field::DataBits, "8").fails(notInteger("x")).add();
    Row("RCVTIMEOUT", 115, "35\r\n").set(Field::RxTimeout, "35").add();
    Row("RCVMAX", 116, "4096").set(Field::RxMax, "4096").add();
    Row("MSGEN", 117, "1").set(Field::DebugOutput, "Enable").add();
    Row("MSGEN out of list", 117, "2").set(Field::DebugOutput, kNone).add();
    Row("MSGEN GBK not a number", 117, "\xd6\xd0").fails(notInteger("中")).add();
    Row("WIFIMODE", 118, "2\r\n").set(Field::WorkMode, "AP").add();
    Row("WIFIMODE", 118, "3").cn().set(Field::WorkMode, "AP+Station").add();
    Row("WIFIMODE 0", 118, "0").set(Field::WorkMode, kNone).add();
    Row("WIFIMODE +ERROR", 118, "+ERROR").fails(notInteger("+ERROR")).add();
    Row("WIFIMODE ERROR 1", 118, "ERROR 1\r\n").fails(notInteger("ERROR 1")).add();
    Row("WIFIMODE error in lower case", 118, "error").fails(notInteger("error")).add();
    Row("STACONFIG", 119, "\"\xd6\xd0\xce\xc4\",\"pass\"\r\n")
        .set(Field::StaSsid, "中文")
        .set(Field::StaPassword, "pass")
        .add();
    Row("APINF", 120, "\"ap1\",\"pw1\",11,3")
        .set(Field::ApSsid, "ap1")
        .set(Field::ApPassword, "pw1")
        .set(Field::ApChannel, "11")
        .set(Field::ApAuth, "WPA_WPA2_PSK")
        .add();
    Row("APINF two fields", 120, "\"ap2\",\"pw2\"")
        .set(Field::ApSsid, "ap2")
        .set(Field::ApPassword, "pw2")
        .fails(notInteger(""))
        .add();
    Row("DHCP", 121, "3").set(Field::Dhcp, "All Enable").add();
    Row("STATIONIP", 122, "\"10.0.0.2\",\"255.0.0.0\",\"10.0.0.1\"")
        .set(Field::StaIp, "10.0.0.2")
        .set(Field::StaMask, "255.0.0.0")
        .set(Field::StaGateway, "10.0.0.1")
        .add();
    Row("APIP", 123, "\"10.0.1.1\",\"255.255.0.0\",\"10.0.1.254\"")
        .set(Field::ApIp, "10.0.1.1")
        .set(Field::ApMask, "255.255.0.0")
        .set(Field::ApGateway, "10.0.1.254")
        .add();
    Row("STAMAC", 124, "\"ac:d0:74:1a:2b:3c\"\r\n").set(Field::StaMac, "AC:D0:74:1A:2B:3C").add();
    Row("APMAC", 125, "\"ae:d0:74:1a:2b:3c\"").set(Field::ApMac, "AE:D0:74:1A:2B:3C").add();
    Row("PTHPORT", 126, "5001").set(Field::LocalPort, "5001").add();
    Row("REMOTEPORT takes any text", 127, "OK").set(Field::ServerPort, "OK").add();
    Row("REMOTEIP keeps quotes", 128, "\"10.1.1.1\"").set(Field::ServerIp, "\"10.1.1.1\"").add();
    Row("CMDMAXCONN", 129, "2").set(Field::CmdMaxConn, "2").add();
    Row("PTHMAXCONN", 130, "7").set(Field::PthMaxConn, "7").add();
    Row("SERVERTIME", 131, "300").set(Field::ServerTime, "300").add();
    Row("HEARTBEATT", 132, "60").set(Field::Heartbeat, "60").add();
    Row("CMDSERVEREN", 133, "1").set(Field::CmdServerEn, "开启").add();
    Row("PTHSERVEREN", 134, "0").set(Field::PthServerEn, "关闭").add();
    Row("CONNREMOTE", 135, "1").set(Field::ConnRemote, "开启").add();
    Row("SINGELEN", 136, "0").set(Field::ClientProtocol, "透明").add();
    Row("SINGELEN out of list", 136, "5").set(Field::ClientProtocol, kNone).add();
    Row("ZONEEN", 137, "1").set(Field::ZoneValid, "有效").add();
    Row("DEVID", 138, "12345678901").set(Field::DeviceId, "12345678901").add();
    Row("ZONE", 139, "0755").set(Field::Zone, "0755").add();
    Row("TRANTYPE", 141, "1").set(Field::NetProtocol, "UDP").add();
    Row("httpserver", 142, "http://127.0.0.1/x").set(Field::Url, "http://127.0.0.1/x").add();
    Row("NAME", 143, "AB:CD").set(Field::StaName, "AB:CD").add();
    Row("PWD", 144, "1234").set(Field::StaPwd, "1234").add();

    for (const int code : {1, 5, 45, 97, 99, 112, 140, 145, 1000, -1}) {
        Row("code without a row " + QByteArray::number(code), code, "OK\r\n2\r\n").add();
    }
}

void ReplyParserTest::remoteFrameRows()
{
    const QByteArray io = frame('\x05', "OFB21OFB21");
    const auto ioRow2 = [](Row row) {
        return row.io(2, "mode", "Output").io(2, "pull", "悬浮").io(2, "level", "高电平");
    };
    ioRow2(Row("frame 05", 1, io)).line("Remoete Set WIFI module:12345678901 IO successfully!").add();
    ioRow2(Row("frame 05", 1, io).cn()).line("远程设置WIFI模块:12345678901 IO成功！").add();
    ioRow2(Row("frame 05 after read", 12, io).lastIo("R"))
        .line("Remoete read WIFI module:12345678901 IO successfully!")
        .add();
    ioRow2(Row("frame 05 after read", 12, io).lastIo("R").cn())
        .line("远程读取WIFI模块:12345678901 IO成功！")
        .add();
    ioRow2(Row("frame 05 after write", 12, io).lastIo("W"))
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05 copies differ", 1, frame('\x05', "OFB21OFB20"))
        .box("IO value verify error!")
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05 not a reply", 1, frame('\x05', "OFW21OFW21"))
        .cn()
        .box("IO数值不是应答类型值！")
        .line("远程设置WIFI模块:12345678901 IO成功！")
        .add();
    Row("frame 05 short payload", 1, frame('\x05', "OFB2"))
        .box("IO value verify error!")
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    // Only ten bytes are the body; what follows is not looked at.
    ioRow2(Row("frame 05 long payload", 1, frame('\x05', "OFB21OFB21OUB31")))
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .add();
    Row("frame 05 without payload", 1, frame('\x05', "")).fails(notInteger("")).add();

    Row("frame 09", 1, frame('\x09', "1=3;13=7;19=2;\r\n"))
        .set(Field::WorkMode, "AP+Station")
        .set(Field::StopBits, "2")
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame 09", 1, frame('\x09', " 1=1;\r\n"))
        .lastIo("R")
        .cn()
        .set(Field::WorkMode, "Station")
        .line("远程读取WIFI模块:12345678901 参数成功！")
        .add();
    Row("frame 09 last ; missing", 1, frame('\x09', "14=1.2.3.4\r\n"))
        .set(Field::ServerIp, "1.2.3.4")
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame 09 without payload", 1, frame('\x09', ""))
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame 09 conversion failure", 1, frame('\x09', "19=1.5;1=x;"))
        .set(Field::StopBits, "1.5")
        .fails(notInteger("x"))
        .add();
    Row("frame other function", 1, frame('\x08', "1=3;")).add();
    Row("frame ID with a control byte", 1, frame('\x09', "", QByteArray("1234567890\x01")))
        .line(QStringLiteral("Remoete Set WIFI module:1234567890\u2401 Parameters successfully!"))
        .add();
    // A frame is never read as the value of the query that is under way: it goes to its decoding.
    Row("frame under a numeric query", 118, frame('\x09', "1=3;"))
        .set(Field::WorkMode, "AP+Station")
        .line("Remoete Set WIFI module:12345678901 Parameters successfully!")
        .add();
    Row("frame under a status query", 11, frame('\x05', "OFB21OFB21"))
        .io(2, "mode", "Output")
        .io(2, "pull", "悬浮")
        .io(2, "level", "高电平")
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

void ReplyParserTest::table_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lastIo");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QStringList>("console");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("status");
    QTest::addColumn<QString>("error");
    acknowledgementRows();
    statusQueryRows();
    parameterQueryRows();
    remoteFrameRows();
}

// Values that make the changes of a row visible.
void ReplyParserTest::presetRow()
{
    for (int n = 1; n <= 8; ++n) {
        form_->ioRow(n).mode->setCurrentIndex(0);
        form_->ioRow(n).pull->setCurrentIndex(0);
        form_->ioRow(n).level->setCurrentIndex(n == 3 ? 1 : -1);
    }
    for (const Field id : {Field::ServerState, Field::WifiState, Field::CurrentStationIp, Field::Version})
        form_->lineEdit(id)->setText(QStringLiteral("before"));
    form_->comboBox(Field::WorkMode)->setCurrentIndex(0);
    form_->comboBox(Field::StopBits)->setCurrentIndex(0);
    form_->comboBox(Field::DebugOutput)->setCurrentIndex(0);
    form_->comboBox(Field::ClientProtocol)->setCurrentIndex(1);
    form_->comboBox(Field::Baud)->setCurrentIndex(0);
    form_->setStatusPanel(2, QStringLiteral("Reading ......"));
}

void ReplyParserTest::table()
{
    QFETCH(int, code);
    QFETCH(QString, language);
    QFETCH(QString, lastIo);
    QFETCH(QByteArray, reply);
    QFETCH(Changes, changes);
    QFETCH(QStringList, console);
    QFETCH(QStringList, boxes);
    QFETCH(bool, status);
    QFETCH(QString, error);

    presetRow();
    Language = language;
    CmdType = code;
    LastIoOperation = lastIo;
    boxes_->clear();
    const QMap<QString, QString> before = snapshot(*form_);
    const QStringList consoleBefore = form_->console()->lines();

    QString thrown;
    try {
        form_->ParseReply(reply); // as the TCP road calls it
    } catch (const ConversionError &failure) {
        thrown = failure.message();
    }

    QMap<QString, QString> expected = before;
    for (const auto &[key, value] : changes) {
        if (key == kMemo)
            expected[key] = before[key].isEmpty() ? value : before[key] + QLatin1Char('\n') + value;
        else
            expected[key] = value;
    }
    if (status)
        expected[kStatus] = Tr(QStringLiteral("Operate complete!"), QStringLiteral("操作完成！"));
    const QMap<QString, QString> after = snapshot(*form_);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QString actual = after.value(it.key());
        QVERIFY2(actual == it.value(),
                 qPrintable(QStringLiteral("%1: \"%2\", expected \"%3\"").arg(it.key(), actual, it.value())));
    }
    QCOMPARE(form_->console()->lines(), consoleBefore + console);
    QCOMPARE(boxes_->texts(), boxes);
    QCOMPARE(thrown, error);
    QCOMPARE(CmdType, code);
    QCOMPARE(LastIoOperation, lastIo);
}

void ReplyParserTest::listRepliesAccumulate()
{
    QPlainTextEdit *memo = form_->memo(Field::ListMemo);
    memo->clear();
    CmdType = 7;
    form_->ParseReply("+LSSTAINF:1\r\n");
    form_->ParseReply("+LSSTAINF:2");
    QCOMPARE(memo->toPlainText(), QStringLiteral("+LSSTAINF:1\n\n+LSSTAINF:2"));
}

void ReplyParserTest::typeCodeIsKept()
{
    // A second text arriving later is read by the same code: replies are not matched to requests.
    Language = QStringLiteral("EN");
    CmdType = 118;
    form_->ParseReply("1");
    QCOMPARE(form_->comboBox(Field::WorkMode)->currentText(), QStringLiteral("Station"));
    form_->ParseReply("2\r\n");
    QCOMPARE(form_->comboBox(Field::WorkMode)->currentText(), QStringLiteral("AP"));
    QCOMPARE(CmdType, 118);
}

void ReplyParserTest::randomRepliesNeverCrash()
{
    // Short random texts over the bytes the parser looks at, under every type code, plain and as
    // module reply frames: every call returns or ends with a conversion failure.
    const char alphabet[] = "OKERRIO16=;,\"0129 \r\n\0\xA8\x81\x05\x09\xd6";
    QRandomGenerator random(7);
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.bounded(int(sizeof alphabet) - 1)];
        if (round % 3 == 0)
            text = frame(round % 2 ? '\x05' : '\x09', text);
        CmdType = random.bounded(-2, 150);
        LastIoOperation = round % 2 ? QStringLiteral("R") : QString();
        try {
            form_->ParseReply(text);
        } catch (const ConversionError &) {
        }
    }
    boxes_->clear();
}

QTEST_MAIN(ReplyParserTest)
#include "test_replyparser.moc"
