// The parameter rows of the two pages: for every row the exact set command with the form defaults
// (or the refusal where a default is empty), the exact read command and the fields it empties, the
// type codes and status texts in both languages; the checks before a set; the key filters; list
// positions across the language switch; layout. Read and set as a round trip: values the module answers with
// come back on the next set as they were, and its verdict on a set is the one the console reports.

#include "links/TcpConnection.h"
#include "protocol/Fields.h"
#include "protocol/ParameterCatalogue.h"
#include "support/LoopbackServer.h"
#include "support/PageRig.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QtTest>
#include <numeric>

namespace {
const QByteArray kLanguages[] = {"EN", "CN"};
constexpr int kUntouched = 777; // a CmdType no command uses

const QString kBlankEn = QStringLiteral("Value Can not be blank!");
const QString kBlankCn = QStringLiteral("不能设置为空值！");

bool english(const QByteArray &language)
{
    return language == "EN";
}

constexpr int kReplyWait = 5000;

// What a field shows: a text field's text, a list's item ("" without selection).
QString shownText(const QWidget *field)
{
    if (const auto *box = qobject_cast<const QComboBox *>(field))
        return box->currentText();
    if (const auto *edit = qobject_cast<const QLineEdit *>(field))
        return edit->text();
    return QStringLiteral("<no field>");
}

// Sets a field the way a user would leave it: a list to the item with this text ("" for none),
// a text field to the text (as if pasted, so no key filter applies).
void put(QWidget *field, const QString &value)
{
    if (auto *box = qobject_cast<QComboBox *>(field))
        box->setCurrentIndex(box->findText(value));
    else if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(value);
}
} // namespace

class ParametersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void setWithFormDefaults_data();
    void setWithFormDefaults();
    void readClearsExactlyItsFields_data();
    void readClearsExactlyItsFields();
    void catalogueCodes();
    void setWithChosenValues_data();
    void setWithChosenValues();
    void checksRefuseAndSendNothing_data();
    void checksRefuseAndSendNothing();
    void quotedCommasSurviveReadAndSet_data();
    void quotedCommasSurviveReadAndSet();
    void overLongReadValueIsShownWholeAndRefused_data();
    void overLongReadValueIsShownWholeAndRefused();
    void setVerdictIsTheModulesErrorLine_data();
    void setVerdictIsTheModulesErrorLine();
    void readsAnsweredByModuleFramesOnTheInternetLink_data();
    void readsAnsweredByModuleFramesOnTheInternetLink();
    void keyFilters_data();
    void keyFilters();
    void backspacePassesEveryFilter();
    void pasteIsNotFiltered();
    void inputMethodTextIsFiltered();
    void listPositionsSurviveTheLanguageSwitch();
    void hiddenControls();
    void layout();
};

void ParametersTest::setWithFormDefaults_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("wire"); // empty: the set is refused with "blank"
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("cn");
    auto sends = [](const char *name, const char *button, const QByteArray &wire, int code, const char *en,
                    const char *cn) {
        QTest::newRow(name) << QString::fromLatin1(button) << wire << code << QString::fromUtf8(en)
                            << QString::fromUtf8(cn);
    };
    auto refused = [&](const char *name, const char *button) { sends(name, button, {}, 0, "", ""); };
    refused("WIFIMODE", "workModeSetButton");
    sends("DHCP", "dhcpSetButton", "AT+DHCP=0\r\n", 21, "DHCP", "DHCP");
    sends("APINF", "apSsidSetButton", "AT+APINF=\"Lumora\",\"58302917\",6,1,4\r\n", 20, "AP Info", "AP信息");
    sends("APIP", "apIpSetButton", "AT+APIP=\"192.168.4.1\",\"255.255.255.0\",\"192.168.4.1\"\r\n", 23,
          "AP IP", "AP IP");
    refused("APMAC", "apMacSetButton");
    sends("STACONFIG", "staSsidSetButton", "AT+STACONFIG=\"Lumora\",\"58302917\"\r\n", 19, "Station SSID",
          "Station SSID");
    sends("STATIONIP", "staIpSetButton", "AT+STATIONIP=\"192.168.4.1\",\"255.255.255.0\",\"192.168.4.1\"\r\n",
          22, "Station IP", "Station IP");
    refused("STAMAC", "staMacSetButton");
    refused("NAME", "staNameSetButton");
    refused("PWD", "staPwdSetButton");
    refused("httpserver", "urlSetButton");
    sends("PTHPORT", "localPortSetButton", "AT+PTHPORT=5000\r\n", 26, "Local port", "本地服务端口");
    sends("REMOTEIP", "serverIpSetButton", "AT+REMOTEIP=\"127.0.0.1\"\r\n", 28, "Server IP", "远程服务IP");
    sends("REMOTEPORT", "serverPortSetButton", "AT+REMOTEPORT=9500\r\n", 27, "Server port", "远程服务器端口");
    sends("TRANTYPE", "netProtocolSetButton", "AT+TRANTYPE=0\r\n", 41, "Network protocol", "网络协议");
    sends("SINGELEN", "clientProtocolSetButton", "AT+SINGELEN=1\r\n", 36, "Client protocol", "Client协议");
    sends("HEARTBEATT", "heartbeatSetButton", "AT+HEARTBEATT=120\r\n", 32, "Heartbeat Interval", "心跳周期");
    sends("DEVID", "deviceIdSetButton", "AT+DEVID=00000000000\r\n", 38, "Device ID", "WiFi模块ID");
    sends("ZONE", "zoneSetButton", "AT+ZONE=0000\r\n", 39, "Zone", "区号");
    sends("ZONEEN", "zoneValidSetButton", "AT+ZONEEN=0\r\n", 37, "Zone Enable", "区号有效");
    sends("BAUD", "baudSetButton", "AT+BAUD=9600\r\n", 13, "Serial baudRate", "串口波特率");
    sends("UART", "paritySetButton", "AT+UART=8,2,1\r\n", 14, "Serial Data format", "串口数据格式");
    sends("RCVTIMEOUT", "rxTimeoutSetButton", "AT+RCVTIMEOUT=20\r\n", 15, "Serial time out",
          "串口接收超时时间");
    sends("RCVMAX", "rxMaxSetButton", "AT+RCVMAX=2048\r\n", 16, "Package Max length", "串口最大包长");
    sends("MSGEN", "debugOutputSetButton", "AT+MSGEN=0\r\n", 17, "Serial Debug information",
          "串口调试信息输出");
    refused("CONNREMOTE", "connRemoteSetButton");
    refused("PTHSERVEREN", "pthServerEnSetButton");
    refused("CMDSERVEREN", "cmdServerEnSetButton");
    sends("SERVERTIME", "serverTimeSetButton", "AT+SERVERTIME=600\r\n", 31, "Client time out",
          "服务超时时间");
    sends("CMDMAXCONN", "cmdMaxConnSetButton", "AT+CMDMAXCONN=1\r\n", 29, "Setting port Max number",
          "配置端口最大连接数");
    sends("PTHMAXCONN", "pthMaxConnSetButton", "AT+PTHMAXCONN=8\r\n", 30, "Data port Max number",
          "数传端口最大连接数");
}

void ParametersTest::setWithFormDefaults()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, wire);
    QFETCH(int, code);
    QFETCH(QString, en);
    QFETCH(QString, cn);
    for (const QByteArray &language : kLanguages) {
        PageRig rig(language);
        QVERIFY(rig.button(button));
        rig.form().session().cmdType = kUntouched;
        QTest::mouseClick(rig.button(button), Qt::LeftButton);
        if (wire.isEmpty()) {
            QCOMPARE(rig.boxes.texts(), QStringList{english(language) ? kBlankEn : kBlankCn});
            QCOMPARE(rig.boxes.boxes.front().kind, BoxKind::Warning);
            QVERIFY(rig.sentNothing());
            QCOMPARE(rig.form().session().cmdType, kUntouched);
            QCOMPARE(rig.form().statusPanel(2), QString());
            QCOMPARE(rig.form().console()->lineCount(), 0);
        } else {
            QCOMPARE(rig.sent(wire.size()), wire);
            QCOMPARE(rig.form().session().cmdType, code);
            QCOMPARE(rig.form().statusPanel(2), english(language)
                                                    ? QStringLiteral("Setting ") + en + "......"
                                                    : QStringLiteral("正在设置") + cn + "......");
            QVERIFY(rig.boxes.boxes.isEmpty());
        }
    }
}

void ParametersTest::readClearsExactlyItsFields_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("cleared");
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("cn");
    auto reads = [](const char *name, const char *stem, int code, QStringList cleared, const char *en,
                    const char *cn) {
        cleared.sort();
        QTest::newRow(name) << QString::fromLatin1(stem) + "ReadButton" << QByteArray("AT+") + name + "=?\r\n"
                            << code << cleared << QString::fromUtf8(en) << QString::fromUtf8(cn);
    };
    reads("WIFIMODE", "workMode", 118, {"workModeBox"}, "work mode", "工作模式");
    reads("DHCP", "dhcp", 121, {"dhcpBox"}, "DHCP", "DHCP");
    reads("APINF", "apSsid", 120, {"apSsidEdit", "apPasswordEdit", "apChannelBox", "apAuthBox"}, "AP Info",
          "AP信息");
    reads("APIP", "apIp", 123, {"apIpEdit", "apMaskEdit", "apGatewayEdit"}, "AP IP", "AP IP");
    reads("APMAC", "apMac", 125, {"apMacEdit"}, "AP MAC", "AP MAC");
    reads("STACONFIG", "staSsid", 119, {"staSsidEdit", "staPasswordEdit"}, "Station SSID", "Station SSID");
    reads("STATIONIP", "staIp", 122, {"staIpEdit", "staMaskEdit", "staGatewayEdit"}, "Station IP",
          "Station IP");
    reads("STAMAC", "staMac", 124, {"staMacEdit"}, "Station MAC", "Station MAC");
    reads("NAME", "staName", 143, {"staNameEdit"}, "NAME", "NAME");
    reads("PWD", "staPwd", 144, {"staPwdEdit"}, "PWD", "PWD");
    reads("httpserver", "url", 142, {"urlEdit"}, "httpserver", "httpserver");
    reads("PTHPORT", "localPort", 126, {"localPortEdit"}, "Local port", "本地服务端口");
    reads("REMOTEIP", "serverIp", 128, {"serverIpEdit"}, "server IP", "服务器IP");
    reads("REMOTEPORT", "serverPort", 127, {"serverPortEdit"}, "server port", "服务器端口");
    reads("TRANTYPE", "netProtocol", 141, {"netProtocolBox"}, "Network protocol", "网络协议");
    reads("SINGELEN", "clientProtocol", 136, {"clientProtocolBox"}, "Client protocol", "客户端传输协议");
    reads("HEARTBEATT", "heartbeat", 132, {"heartbeatEdit"}, "Heartbeat interval", "心跳周期");
    reads("DEVID", "deviceId", 138, {"deviceIdEdit"}, "Device ID", "设备ID");
    reads("ZONE", "zone", 139, {"zoneEdit"}, "ZONE", "区号");
    reads("ZONEEN", "zoneValid", 137, {"zoneValidBox"}, "Zone enable", "区号有效");
    reads("BAUD", "baud", 113, {"baudBox"}, "Serial baudRate", "串口波特率");
    reads("UART", "parity", 114, {"parityBox", "dataBitsBox", "stopBitsBox"}, "Serial Data format",
          "串口数据格式");
    reads("RCVTIMEOUT", "rxTimeout", 115, {"rxTimeoutEdit"}, "Serial time out", "串口等待延时");
    reads("RCVMAX", "rxMax", 116, {"rxMaxEdit"}, "Serial Data Max Length", "串口接收最大包长");
    reads("MSGEN", "debugOutput", 117, {"debugOutputBox"}, "Serial Debug information", "串口调试信息输出");
    reads("CONNREMOTE", "connRemote", 135, {"connRemoteBox"}, "Connectioin with server swith",
          "连接远程服务器开关");
    reads("PTHSERVEREN", "pthServerEn", 134, {"pthServerEnBox"}, "Data in LAN switch", "网络数据服务开关");
    reads("CMDSERVEREN", "cmdServerEn", 133, {"cmdServerEnBox"}, "setting by LAN swith", "网络配置开关");
    reads("SERVERTIME", "serverTime", 131, {"serverTimeEdit"}, "Server time out", "服务超时时间");
    reads("CMDMAXCONN", "cmdMaxConn", 129, {"cmdMaxConnEdit"}, "Setting port Max conections number",
          "配置端口连接最大数");
    reads("PTHMAXCONN", "pthMaxConn", 130, {"pthMaxConnEdit"}, "Data port Max conections number",
          "数传端口连接最大数");
}

void ParametersTest::readClearsExactlyItsFields()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, wire);
    QFETCH(int, code);
    QFETCH(QStringList, cleared);
    QFETCH(QString, en);
    QFETCH(QString, cn);
    for (const QByteArray &language : kLanguages) {
        PageRig rig(language);
        QVERIFY(rig.button(button));
        rig.fillEveryField();
        QCOMPARE(rig.emptyFields(), QStringList());
        QTest::mouseClick(rig.button(button), Qt::LeftButton);
        QCOMPARE(rig.emptyFields(), cleared);
        QCOMPARE(rig.sent(wire.size()), wire);
        QCOMPARE(rig.form().session().cmdType, code);
        QCOMPARE(rig.form().statusPanel(2), english(language) ? QStringLiteral("Reading ") + en + "......"
                                                              : QStringLiteral("正在读取") + cn + "......");
        QVERIFY(rig.boxes.boxes.isEmpty());
    }
}

void ParametersTest::catalogueCodes()
{
    // The parser tells replies apart by these codes alone: they must be unique, with reads at +100.
    QList<int> codes;
    for (const ParameterRow &row : ParameterCatalogue()) {
        codes << row.setCode << row.readCode();
        QCOMPARE(FindParameterByCode(row.readCode()), &row);
    }
    QCOMPARE(ParameterCatalogue().size(), size_t(31));
    std::sort(codes.begin(), codes.end());
    QVERIFY(std::adjacent_find(codes.begin(), codes.end()) == codes.end());
    QVERIFY(!codes.contains(40) && !codes.contains(140));
    QCOMPARE(codes.front(), 13);
    QCOMPARE(codes.back(), 144);
}

void ParametersTest::setWithChosenValues_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fields"); // objectName, value, objectName, value...
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("work mode AP+Station is 3")
        << "workModeSetButton" << QStringList{"workModeBox", "AP+Station"} << QByteArray("AT+WIFIMODE=3\r\n");
    QTest::newRow("work mode Station is 1")
        << "workModeSetButton" << QStringList{"workModeBox", "Station"} << QByteArray("AT+WIFIMODE=1\r\n");
    QTest::newRow("DHCP index") << "dhcpSetButton" << QStringList{"dhcpBox", "All Enable"}
                                << QByteArray("AT+DHCP=3\r\n");
    QTest::newRow("serial format: data bits, parity index, stop index+1")
        << "paritySetButton" << QStringList{"parityBox", "EVEN", "dataBitsBox", "7", "stopBitsBox", "2"}
        << QByteArray("AT+UART=7,0,3\r\n");
    QTest::newRow("serial format 1.5 stop bits")
        << "paritySetButton" << QStringList{"parityBox", "ODD", "stopBitsBox", "1.5"}
        << QByteArray("AT+UART=8,1,2\r\n");
    QTest::newRow("baud rate is the item text")
        << "baudSetButton" << QStringList{"baudBox", "115200"} << QByteArray("AT+BAUD=115200\r\n");
    QTest::newRow("AP channel item, auth index, empty password passes")
        << "apSsidSetButton"
        << QStringList{"apPasswordEdit", "", "apChannelBox", "11", "apAuthBox", "WPA_WPA2_PSK"}
        << QByteArray("AT+APINF=\"Lumora\",\"\",11,3,4\r\n");
    QTest::newRow("station password may be empty")
        << "staSsidSetButton" << QStringList{"staSsidEdit", "home", "staPasswordEdit", ""}
        << QByteArray("AT+STACONFIG=\"home\",\"\"\r\n");
    QTest::newRow("Chinese SSID is GBK on the wire")
        << "staSsidSetButton" << QStringList{"staSsidEdit", "中文"}
        << QByteArray("AT+STACONFIG=\"\xd6\xd0\xce\xc4\",\"58302917\"\r\n");
    QTest::newRow("station MAC trimmed and quoted")
        << "staMacSetButton" << QStringList{"staMacEdit", "  18:fe:34:A0:0b:01 "}
        << QByteArray("AT+STAMAC=\"18:fe:34:A0:0b:01\"\r\n");
    QTest::newRow("AP MAC trimmed and quoted")
        << "apMacSetButton" << QStringList{"apMacEdit", " 1a:2b "} << QByteArray("AT+APMAC=\"1a:2b\"\r\n");
    QTest::newRow("name quoted") << "staNameSetButton" << QStringList{"staNameEdit", "1A"}
                                 << QByteArray("AT+NAME=\"1A\"\r\n");
    QTest::newRow("MAC pasted with its line end")
        << "staMacSetButton" << QStringList{"staMacEdit", "aa:bb\r\n"}
        << QByteArray("AT+STAMAC=\"aa:bb\"\r\n");
    QTest::newRow("pwd quoted") << "staPwdSetButton" << QStringList{"staPwdEdit", " beef "}
                                << QByteArray("AT+PWD=\"beef\"\r\n");
    QTest::newRow("URL bare and untrimmed")
        << "urlSetButton" << QStringList{"urlEdit", " http://10.0.0.1/fw.bin "}
        << QByteArray("AT+httpserver= http://10.0.0.1/fw.bin \r\n");
    QTest::newRow("server port not range-tested")
        << "serverPortSetButton" << QStringList{"serverPortEdit", "99999"}
        << QByteArray("AT+REMOTEPORT=99999\r\n");
    QTest::newRow("server IP quoted") << "serverIpSetButton" << QStringList{"serverIpEdit", "10.1.2.3"}
                                      << QByteArray("AT+REMOTEIP=\"10.1.2.3\"\r\n");
    QTest::newRow("blanks pass the not-blank check")
        << "localPortSetButton" << QStringList{"localPortEdit", "  "} << QByteArray("AT+PTHPORT=  \r\n");
    QTest::newRow("leading zeros go out as typed")
        << "heartbeatSetButton" << QStringList{"heartbeatEdit", "007"} << QByteArray("AT+HEARTBEATT=007\r\n");
    QTest::newRow("device ID leading zero")
        << "deviceIdSetButton" << QStringList{"deviceIdEdit", "01234567890"}
        << QByteArray("AT+DEVID=01234567890\r\n");
    QTest::newRow("zone takes any character")
        << "zoneSetButton" << QStringList{"zoneEdit", "ab12"} << QByteArray("AT+ZONE=ab12\r\n");
    QTest::newRow("zone valid") << "zoneValidSetButton" << QStringList{"zoneValidBox", "有效"}
                                << QByteArray("AT+ZONEEN=1\r\n");
    QTest::newRow("client protocol transparent")
        << "clientProtocolSetButton" << QStringList{"clientProtocolBox", "透明"}
        << QByteArray("AT+SINGELEN=0\r\n");
    QTest::newRow("network protocol UDP")
        << "netProtocolSetButton" << QStringList{"netProtocolBox", "UDP"} << QByteArray("AT+TRANTYPE=1\r\n");
    QTest::newRow("debug output enable")
        << "debugOutputSetButton" << QStringList{"debugOutputBox", "Enable"} << QByteArray("AT+MSGEN=1\r\n");
    QTest::newRow("server connection switch on")
        << "connRemoteSetButton" << QStringList{"connRemoteBox", "开启"} << QByteArray("AT+CONNREMOTE=1\r\n");
    QTest::newRow("data switch off") << "pthServerEnSetButton" << QStringList{"pthServerEnBox", "关闭"}
                                     << QByteArray("AT+PTHSERVEREN=0\r\n");
    QTest::newRow("setting switch on") << "cmdServerEnSetButton" << QStringList{"cmdServerEnBox", "开启"}
                                       << QByteArray("AT+CMDSERVEREN=1\r\n");
    // Only values sent between quotes must be free of them.
    QTest::newRow("URL with quotes is sent bare")
        << "urlSetButton" << QStringList{"urlEdit", "http://a/?q=\"x\""}
        << QByteArray("AT+httpserver=http://a/?q=\"x\"\r\n");
    QTest::newRow("AP address fields")
        << "apIpSetButton"
        << QStringList{"apIpEdit", "10.0.0.1", "apMaskEdit", "255.0.0.0", "apGatewayEdit", "10.0.0.254"}
        << QByteArray("AT+APIP=\"10.0.0.1\",\"255.0.0.0\",\"10.0.0.254\"\r\n");
}

void ParametersTest::setWithChosenValues()
{
    QFETCH(QString, button);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, wire);
    PageRig rig("EN");
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        QWidget *field = rig.widget(fields.at(i));
        QVERIFY2(field, qPrintable(fields.at(i)));
        put(field, fields.at(i + 1));
    }
    QTest::mouseClick(rig.button(button), Qt::LeftButton);
    QCOMPARE(rig.boxes.texts(), QStringList());
    QCOMPARE(rig.sent(wire.size()), wire);
}

void ParametersTest::checksRefuseAndSendNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fields"); // objectName, value, ...
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("cn");
    const QString idEn = QStringLiteral("Value Can not be 11 bytes!");
    const QString idCn = QStringLiteral("ID必须为11位！");
    const QString zoneEn = QStringLiteral("Value Can not be 4 bytes!");
    const QString zoneCn = QStringLiteral("ID必须为4位！");
    QTest::newRow("device ID of 10 digits")
        << "deviceIdSetButton" << QStringList{"deviceIdEdit", "0123456789"} << idEn << idCn;
    QTest::newRow("device ID 11 with a blank")
        << "deviceIdSetButton" << QStringList{"deviceIdEdit", " 0123456789"} << idEn << idCn;
    QTest::newRow("device ID empty") << "deviceIdSetButton" << QStringList{"deviceIdEdit", ""} << idEn
                                     << idCn;
    QTest::newRow("zone of 3") << "zoneSetButton" << QStringList{"zoneEdit", "123"} << zoneEn << zoneCn;
    QTest::newRow("zone 4 with blanks")
        << "zoneSetButton" << QStringList{"zoneEdit", "12  "} << zoneEn << zoneCn;
    QTest::newRow("AP SSID empty") << "apSsidSetButton" << QStringList{"apSsidEdit", ""} << kBlankEn
                                   << kBlankCn;
    QTest::newRow("AP authentication none")
        << "apSsidSetButton" << QStringList{"apAuthBox", ""} << kBlankEn << kBlankCn;
    // A channel list left empty by an unanswered read would send ",," and the module cannot take it.
    QTest::newRow("AP channel none") << "apSsidSetButton" << QStringList{"apChannelBox", ""} << kBlankEn
                                     << kBlankCn;
    QTest::newRow("AP mask empty") << "apIpSetButton" << QStringList{"apMaskEdit", ""} << kBlankEn
                                   << kBlankCn;
    QTest::newRow("AP gateway empty")
        << "apIpSetButton" << QStringList{"apGatewayEdit", ""} << kBlankEn << kBlankCn;
    QTest::newRow("station SSID empty")
        << "staSsidSetButton" << QStringList{"staSsidEdit", ""} << kBlankEn << kBlankCn;
    QTest::newRow("station IP empty")
        << "staIpSetButton" << QStringList{"staIpEdit", ""} << kBlankEn << kBlankCn;
    QTest::newRow("stop bits none") << "paritySetButton" << QStringList{"stopBitsBox", ""} << kBlankEn
                                    << kBlankCn;
    QTest::newRow("parity none") << "paritySetButton" << QStringList{"parityBox", ""} << kBlankEn << kBlankCn;
    QTest::newRow("baud none") << "baudSetButton" << QStringList{"baudBox", ""} << kBlankEn << kBlankCn;
    QTest::newRow("local port empty")
        << "localPortSetButton" << QStringList{"localPortEdit", ""} << kBlankEn << kBlankCn;
    QTest::newRow("server IP empty") << "serverIpSetButton" << QStringList{"serverIpEdit", ""} << kBlankEn
                                     << kBlankCn;
    QTest::newRow("count empty") << "pthMaxConnSetButton" << QStringList{"pthMaxConnEdit", ""} << kBlankEn
                                 << kBlankCn;
    QTest::newRow("zone valid none") << "zoneValidSetButton" << QStringList{"zoneValidBox", ""} << kBlankEn
                                     << kBlankCn;
    // Pasted text keeps its line breaks; the rest would reach the module as a command of its own.
    const QString lineEn = QStringLiteral("Value Can not contain line breaks!");
    const QString lineCn = QStringLiteral("不能包含换行符！");
    QTest::newRow("URL with a line break")
        << "urlSetButton" << QStringList{"urlEdit", "http://a/\r\nAT+RESTORE"} << lineEn << lineCn;
    QTest::newRow("SSID with a line feed")
        << "staSsidSetButton" << QStringList{"staSsidEdit", "a\nAT+RST"} << lineEn << lineCn;
    QTest::newRow("password with a carriage return")
        << "apSsidSetButton" << QStringList{"apPasswordEdit", "pw\rAT+RST"} << lineEn << lineCn;
    QTest::newRow("URL with a line end, sent untrimmed")
        << "urlSetButton" << QStringList{"urlEdit", "http://a/\n"} << lineEn << lineCn;
    QTest::newRow("MAC with an inner line break")
        << "staMacSetButton" << QStringList{"staMacEdit", "aa\r\nbb"} << lineEn << lineCn;
    // Values sent trimmed: blanks alone would go out as the action form, AT+STAMAC with no value.
    QTest::newRow("station MAC of blanks")
        << "staMacSetButton" << QStringList{"staMacEdit", "   "} << kBlankEn << kBlankCn;
    QTest::newRow("name of a tab and a blank")
        << "staNameSetButton" << QStringList{"staNameEdit", "\t "} << kBlankEn << kBlankCn;
    QTest::newRow("PWD of a line end only")
        << "staPwdSetButton" << QStringList{"staPwdEdit", "\r\n"} << kBlankEn << kBlankCn;
    // A quote inside a quoted value would end it early and shift every value after it.
    const QString quoteEn = QStringLiteral("Value Can not contain double quotes!");
    const QString quoteCn = QStringLiteral("不能包含双引号！");
    QTest::newRow("station SSID with a quote")
        << "staSsidSetButton" << QStringList{"staSsidEdit", "my\"net"} << quoteEn << quoteCn;
    QTest::newRow("AP password with a quote")
        << "apSsidSetButton" << QStringList{"apPasswordEdit", "a\"b"} << quoteEn << quoteCn;
    QTest::newRow("station gateway with a quote")
        << "staIpSetButton" << QStringList{"staGatewayEdit", "10.0.0.1\""} << quoteEn << quoteCn;
    QTest::newRow("station MAC pasted in quotes")
        << "staMacSetButton" << QStringList{"staMacEdit", "\"aa:bb\""} << quoteEn << quoteCn;
    QTest::newRow("name with a quote")
        << "staNameSetButton" << QStringList{"staNameEdit", "1\"A"} << quoteEn << quoteCn;
    QTest::newRow("server IP with a quote")
        << "serverIpSetButton" << QStringList{"serverIpEdit", "1.2.3.4\""} << quoteEn << quoteCn;
}

void ParametersTest::checksRefuseAndSendNothing()
{
    QFETCH(QString, button);
    QFETCH(QStringList, fields);
    QFETCH(QString, en);
    QFETCH(QString, cn);
    for (const QByteArray &language : kLanguages) {
        PageRig rig(language);
        for (int i = 0; i + 1 < fields.size(); i += 2)
            put(rig.widget(fields.at(i)), fields.at(i + 1));
        rig.form().session().cmdType = kUntouched;
        QTest::mouseClick(rig.button(button), Qt::LeftButton);
        QCOMPARE(rig.boxes.texts(), QStringList{english(language) ? en : cn});
        QCOMPARE(rig.boxes.boxes.front().kind, BoxKind::Warning);
        QVERIFY(rig.sentNothing());
        QCOMPARE(rig.form().session().cmdType, kUntouched);
        QCOMPARE(rig.form().statusPanel(2), QString());
        // The fields keep what the user typed.
        for (int i = 0; i + 1 < fields.size(); i += 2) {
            QWidget *field = rig.widget(fields.at(i));
            if (auto *edit = qobject_cast<QLineEdit *>(field))
                QCOMPARE(edit->text(), fields.at(i + 1));
            else
                QCOMPARE(qobject_cast<QComboBox *>(field)->currentText(), fields.at(i + 1));
        }
    }
}

void ParametersTest::quotedCommasSurviveReadAndSet_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("shown"); // objectName, text, ...
    QTest::addColumn<QByteArray>("wire");   // the set that follows the read
    QTest::newRow("station SSID and password with commas")
        << "staSsid" << QByteArray("\"my,net\",\"pw,1\"\r\n")
        << QStringList{"staSsidEdit", "my,net", "staPasswordEdit", "pw,1"}
        << QByteArray("AT+STACONFIG=\"my,net\",\"pw,1\"\r\n");
    QTest::newRow("Chinese SSID with a comma, empty password")
        << "staSsid" << QByteArray("\"\xd6\xd0,\xce\xc4\",\"\"")
        << QStringList{"staSsidEdit", "中,文", "staPasswordEdit", ""}
        << QByteArray("AT+STACONFIG=\"\xd6\xd0,\xce\xc4\",\"\"\r\n");
    QTest::newRow("AP block with commas in SSID and password")
        << "apSsid" << QByteArray("\"ap,1\",\"p,w\",11,3\r\n")
        << QStringList{"apSsidEdit",   "ap,1", "apPasswordEdit", "p,w",
                       "apChannelBox", "11",   "apAuthBox",      "WPA_WPA2_PSK"}
        << QByteArray("AT+APINF=\"ap,1\",\"p,w\",11,3,4\r\n");
}

// The module's credentials come back unchanged: read them, then set them again.
void ParametersTest::quotedCommasSurviveReadAndSet()
{
    QFETCH(QString, stem);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, shown);
    QFETCH(QByteArray, wire);
    PageRig rig("EN");
    QTest::mouseClick(rig.button(stem + "ReadButton"), Qt::LeftButton);
    QVERIFY(rig.sent(3).startsWith("AT+"));
    QVERIFY(rig.pty.write(reply));
    QTRY_COMPARE_WITH_TIMEOUT(rig.form().statusPanel(2), QStringLiteral("Operate complete!"), kReplyWait);
    for (int i = 0; i + 1 < shown.size(); i += 2)
        QCOMPARE(shownText(rig.widget(shown.at(i))), shown.at(i + 1));

    QTest::mouseClick(rig.button(stem + "SetButton"), Qt::LeftButton);
    QCOMPARE(rig.boxes.texts(), QStringList());
    QCOMPARE(rig.sent(wire.size()), wire);
}

void ParametersTest::overLongReadValueIsShownWholeAndRefused_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    QTest::newRow("device ID of 13 digits") << QByteArray("EN") << "deviceId" << QByteArray("1390000000123")
                                            << 11 << "Value Can not be 11 bytes!";
    QTest::newRow("device ID of 12 digits, CN")
        << QByteArray("CN") << "deviceId" << QByteArray("139000000012") << 11 << "ID必须为11位！";
    QTest::newRow("zone of 6") << QByteArray("EN") << "zone" << QByteArray("075501") << 4
                               << "Value Can not be 4 bytes!";
    QTest::newRow("zone of 5, CN") << QByteArray("CN") << "zone" << QByteArray("a0755") << 4
                                   << "ID必须为4位！";
}

// A cut value would go back to the module as its new ID on the next set.
void ParametersTest::overLongReadValueIsShownWholeAndRefused()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, stem);
    QFETCH(QByteArray, reply);
    QFETCH(int, limit);
    QFETCH(QString, message);
    PageRig rig(language);
    auto *edit = qobject_cast<QLineEdit *>(rig.widget(stem + "Edit"));
    QVERIFY(edit);
    QTest::mouseClick(rig.button(stem + "ReadButton"), Qt::LeftButton);
    QVERIFY(rig.sent(3).startsWith("AT+"));
    QVERIFY(rig.pty.write(reply + "\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(edit->text(), QString::fromLatin1(reply), kReplyWait);

    QTest::mouseClick(rig.button(stem + "SetButton"), Qt::LeftButton);
    QCOMPARE(rig.boxes.texts(), QStringList{message});
    QVERIFY(rig.sentNothing());
    QCOMPARE(edit->text(), QString::fromLatin1(reply));

    // The typing limit stays what it was: the long value can only get shorter, and once it fits, no
    // more than the limit can be typed.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("9"));
    QCOMPARE(edit->text(), QString::fromLatin1(reply));
    for (int extra = int(reply.size()) - limit; extra > 0; --extra)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("9"));
    QCOMPARE(edit->text(), QString::fromLatin1(reply.left(limit)));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("12345678901234"));
    QCOMPARE(edit->text(), QStringLiteral("12345678901234").left(limit));
}

void ParametersTest::setVerdictIsTheModulesErrorLine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fields"); // objectName, value, ...
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("success");
    QTest::newRow("echo of SSID OKnet, then ERROR")
        << "staSsidSetButton" << QStringList{"staSsidEdit", "OKnet"}
        << QByteArray("AT+STACONFIG=\"OKnet\",\"58302917\"\r\n\r\nERROR\r\n") << false;
    QTest::newRow("ERROR, then OK") << "dhcpSetButton" << QStringList() << QByteArray("ERROR\r\nOK\r\n")
                                    << false;
    QTest::newRow("URL holding OK, then ERROR")
        << "urlSetButton" << QStringList{"urlEdit", "http://a/OK"}
        << QByteArray("AT+httpserver=http://a/OK\r\nERROR\r\n") << false;
    QTest::newRow("echo of SSID ERROR, then OK")
        << "staSsidSetButton" << QStringList{"staSsidEdit", "ERROR"}
        << QByteArray("AT+STACONFIG=\"ERROR\",\"58302917\"\r\n\r\nOK\r\n") << true;
}

void ParametersTest::setVerdictIsTheModulesErrorLine()
{
    QFETCH(QString, button);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, reply);
    QFETCH(bool, success);
    for (const QByteArray &language : kLanguages) {
        PageRig rig(language);
        for (int i = 0; i + 1 < fields.size(); i += 2)
            put(rig.widget(fields.at(i)), fields.at(i + 1));
        QTest::mouseClick(rig.button(button), Qt::LeftButton);
        QVERIFY(rig.sent(3).startsWith("AT+"));
        QVERIFY(rig.pty.write(reply));
        const QString done =
            english(language) ? QStringLiteral("Operate complete!") : QStringLiteral("操作完成！");
        QTRY_COMPARE_WITH_TIMEOUT(rig.form().statusPanel(2), done, kReplyWait);
        const QString ok =
            english(language) ? QStringLiteral("Set successfully!") : QStringLiteral("设置成功！");
        const QString fail = english(language) ? QStringLiteral("Set Fail!") : QStringLiteral("设置失败！");
        const QStringList lines = rig.form().console()->lines();
        QCOMPARE(lines.count(success ? ok : fail), 1);
        QCOMPARE(lines.count(success ? fail : ok), 0);
    }
}

void ParametersTest::readsAnsweredByModuleFramesOnTheInternetLink_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QByteArray>("list");   // the parameter list of the 09 frame
    QTest::addColumn<QStringList>("shown"); // objectName, text, ...
    QTest::newRow("work mode, a number")
        << "workMode" << QByteArray("1=3;") << QStringList{"workModeBox", "AP+Station"};
    QTest::newRow("DHCP, a number") << "dhcp" << QByteArray("24=2;") << QStringList{"dhcpBox", "AP Enable"};
    // The URL has no key in the list: its field stays as the read left it, free of the frame's bytes.
    QTest::newRow("URL, no key of its own")
        << "url" << QByteArray("1=2;") << QStringList{"urlEdit", "", "workModeBox", "AP"};
    QTest::newRow("device ID longer than its field")
        << "deviceId" << QByteArray("20=1390000000123;21=0571;")
        << QStringList{"deviceIdEdit", "1390000000123", "zoneEdit", "0571"};
}

// On the Internet link the module answers a query with a module reply frame through the relay.
void ParametersTest::readsAnsweredByModuleFramesOnTheInternetLink()
{
    QFETCH(QString, stem);
    QFETCH(QByteArray, list);
    QFETCH(QStringList, shown);
    const QByteArray moduleId = "13900000001";
    LoopbackServer relay;
    QVERIFY(relay.isListening());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(
        QStringLiteral("/nonexistent/tty"),
        "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=2\r\nTargetGPRSID=" + moduleId +
            "\r\nTargetZone=0000\r\nTCPPort2=" + QByteArray::number(relay.port()) + "\r\n"));
    auto form = makeMainWindow();
    QTRY_COMPARE_WITH_TIMEOUT(form->tcpConnection()->state(), QAbstractSocket::ConnectedState, kReplyWait);
    QTRY_VERIFY_WITH_TIMEOUT(relay.peerConnected(), kReplyWait);

    auto *read = control<QPushButton>(*form, stem + "ReadButton");
    QVERIFY(read);
    QTest::mouseClick(read, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(relay.received().endsWith("=?\r\n"), kReplyWait);

    QByteArray frame = QByteArray("\xA8\x81", 2) + moduleId + "0000" + '\x09' + '\0';
    frame += std::accumulate(frame.cbegin(), frame.cend(), char(0)); // header checksum
    relay.peer()->write(frame + list + "\r\n");
    const QString line = QStringLiteral("Remoete Set WIFI module:%1 Parameters successfully!")
                             .arg(QString::fromLatin1(moduleId));
    QTRY_VERIFY_WITH_TIMEOUT(form->console()->lines().contains(line), kReplyWait);
    for (int i = 0; i + 1 < shown.size(); i += 2) {
        auto *field = control<QWidget>(*form, shown.at(i));
        QVERIFY2(field, qPrintable(shown.at(i)));
        QCOMPARE(shownText(field), shown.at(i + 1));
    }
    QCOMPARE(form->statusPanel(2), QStringLiteral("Operate complete!"));
    QCOMPARE(boxes.texts(), QStringList());
}

void ParametersTest::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const QString mixed = QStringLiteral("1a.2:B-c 3fG");
    for (const char *digits : {"localPortEdit", "serverPortEdit", "heartbeatEdit", "rxTimeoutEdit",
                               "rxMaxEdit", "serverTimeEdit", "cmdMaxConnEdit", "pthMaxConnEdit"})
        QTest::newRow(digits) << digits << mixed << "123";
    QTest::newRow("deviceIdEdit, 11 at most") << "deviceIdEdit"
                                              << "12a345678901234"
                                              << "12345678901";
    for (const char *address : {"apIpEdit", "apMaskEdit", "apGatewayEdit", "serverIpEdit"})
        QTest::newRow(address) << address << mixed << "1.23";
    for (const char *hex : {"staMacEdit", "apMacEdit", "staNameEdit", "staPwdEdit"})
        QTest::newRow(hex) << hex << mixed << "1a2:Bc3f";
    for (const char *free : {"apSsidEdit", "apPasswordEdit", "staSsidEdit", "staPasswordEdit", "staIpEdit",
                             "staMaskEdit", "staGatewayEdit", "urlEdit"})
        QTest::newRow(free) << free << mixed << mixed;
    QTest::newRow("zoneEdit, 4 at most") << "zoneEdit" << mixed << "1a.2";
}

void ParametersTest::keyFilters()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    PageRig rig("EN");
    auto *edit = qobject_cast<QLineEdit *>(rig.widget(field));
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void ParametersTest::backspacePassesEveryFilter()
{
    PageRig rig("EN");
    for (const char *name : {"localPortEdit", "serverIpEdit", "staMacEdit"}) {
        auto *edit = qobject_cast<QLineEdit *>(rig.widget(QLatin1String(name)));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("123"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12"));
    }
}

void ParametersTest::pasteIsNotFiltered()
{
    PageRig rig("EN");
    auto *edit = qobject_cast<QLineEdit *>(rig.widget(QStringLiteral("localPortEdit")));
    edit->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral(" ab:12 "));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral(" ab:12 "));
    QTest::mouseClick(rig.button(QStringLiteral("localPortSetButton")), Qt::LeftButton);
    QCOMPARE(rig.sent(20), QByteArray("AT+PTHPORT= ab:12 \r\n"));
}

void ParametersTest::inputMethodTextIsFiltered()
{
    PageRig rig("EN");
    auto commit = [](QLineEdit *edit, const QString &text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(edit, &event);
    };
    auto *port = qobject_cast<QLineEdit *>(rig.widget(QStringLiteral("localPortEdit")));
    auto *ssid = qobject_cast<QLineEdit *>(rig.widget(QStringLiteral("apSsidEdit")));
    port->clear();
    ssid->clear();
    commit(port, QStringLiteral("中1文2"));
    commit(ssid, QStringLiteral("中1文2"));
    QCOMPARE(port->text(), QStringLiteral("12"));
    QCOMPARE(ssid->text(), QStringLiteral("中1文2"));
}

void ParametersTest::listPositionsSurviveTheLanguageSwitch()
{
    // The English items replace the Chinese ones in place: selections and values sent stay.
    PageRig rig("EN");
    rig.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form()));
    QCOMPARE(rig.form().comboBox(Field::ZoneValid)->currentIndex(), 0);
    for (Field f : {Field::ConnRemote, Field::PthServerEn, Field::CmdServerEn})
        QCOMPARE(rig.form().comboBox(f)->currentIndex(), -1);
    rig.form().comboBox(Field::ZoneValid)->setCurrentIndex(1);
    QTest::mouseClick(rig.button(QStringLiteral("zoneValidSetButton")), Qt::LeftButton);
    QTest::mouseClick(rig.button(QStringLiteral("clientProtocolSetButton")), Qt::LeftButton);
    QCOMPARE(rig.sent(28), QByteArray("AT+ZONEEN=1\r\nAT+SINGELEN=1\r\n"));
}

void ParametersTest::hiddenControls()
{
    PageRig rig("EN");
    rig.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form()));
    QCheckBox *check = control<QCheckBox>(rig.form(), "addQuotesCheck");
    QVERIFY(check->isHidden());
    QVERIFY(rig.button(QStringLiteral("saveRebootButton"))->isHidden());
    const bool before = rig.form().settings().addQuotes;
    check->click();
    QCOMPARE(rig.form().settings().addQuotes, !before);
    check->click();
    QCOMPARE(rig.form().settings().addQuotes, before);
    // Commands quote by their own switch, whatever the check box says.
    rig.form().settings().addQuotes = false;
    QTest::mouseClick(rig.button(QStringLiteral("serverIpSetButton")), Qt::LeftButton);
    QCOMPARE(rig.sent(25), QByteArray("AT+REMOTEIP=\"127.0.0.1\"\r\n"));
    // The save button does nothing.
    QTest::mouseClick(rig.button(QStringLiteral("saveRebootButton")), Qt::LeftButton);
    QVERIFY(rig.sentNothing());
}

void ParametersTest::layout()
{
    PageRig rig("CN");
    MainWindow &form = rig.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int page : {0, 1}) {
        control<QTabWidget>(form, "pages")->setCurrentIndex(page);
        QCoreApplication::processEvents();
        QWidget *tab = control<QTabWidget>(form, "pages")->widget(page);
        auto box = [&](const QString &name) {
            QWidget *w = tab->findChild<QWidget *>(name);
            return w ? QRect(w->mapTo(tab, QPoint(0, 0)), w->size()) : QRect();
        };
        for (const ParameterRow &row : ParameterCatalogue()) {
            QWidget *first = form.field(row.fields.front());
            if (!tab->isAncestorOf(first))
                continue;
            const QString stem = first->objectName().chopped(first->inherits("QComboBox") ? 3 : 4);
            const QRect read = box(stem + "ReadButton");
            const QRect set = box(stem + "SetButton");
            const QRect firstRect = box(first->objectName());
            QVERIFY2(read.right() < set.left(), qPrintable(stem));
            for (Field id : row.fields)
                QVERIFY2(box(form.field(id)->objectName()).right() < read.left(), qPrintable(stem));
            QVERIFY2(read.center().y() >= firstRect.top() && read.center().y() <= firstRect.bottom(),
                     qPrintable(stem));
        }
        if (page == 0) {
            const QRect work = box("workModeGroup"), ap = box("apGroup"), station = box("stationGroup"),
                        url = box("urlGroup"), net = box("networkGroup"), serial = box("serialGroup");
            QVERIFY(work.bottom() < ap.top() && ap.bottom() < station.top());
            QVERIFY(station.right() < net.left());
            QVERIFY(net.bottom() < serial.top());
            QVERIFY(station.bottom() < url.top() && serial.bottom() < url.top());
            QVERIFY(url.left() <= work.left() && url.right() >= net.right());
        } else {
            const QRect base = box("baseOperationGroup"), sw = box("switchGroup"),
                        sys = box("systemOperationGroup");
            QVERIFY(base.right() < sw.left() && base.right() < sys.left());
            QVERIFY(sw.bottom() < sys.top());
        }
    }
}

QTEST_MAIN(ParametersTest)
#include "test_parameters.moc"
