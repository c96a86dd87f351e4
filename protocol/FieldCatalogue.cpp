#include "protocol/FieldCatalogue.h"
#include "protocol/Defaults.h"

namespace {
// {Chinese, English}
Caption cap(const char *cn, const char *en)
{
    return {QString::fromUtf8(cn), QString::fromUtf8(en)};
}
Caption same(const char *text)
{
    return cap(text, text);
}

FieldDescription edit(Field field, const char *stem, const Caption &label, const QString &start,
                      TypingRule filter = TypingRule::None, int maxLength = 0)
{
    FieldDescription fieldSpec;
    fieldSpec.field = field;
    fieldSpec.stem = stem;
    fieldSpec.label = label;
    fieldSpec.startText = start;
    fieldSpec.filter = filter;
    fieldSpec.maxLength = maxLength;
    return fieldSpec;
}

FieldDescription list(Field field, const char *stem, const Caption &label, const QStringList &items,
                      int start, const QStringList &englishItems = {})
{
    FieldDescription fieldSpec;
    fieldSpec.field = field;
    fieldSpec.stem = stem;
    fieldSpec.label = label;
    fieldSpec.list = true;
    fieldSpec.items = items;
    fieldSpec.startIndex = start;
    fieldSpec.englishItems = englishItems;
    return fieldSpec;
}

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int n = from; n <= to; ++n)
        items << QString::number(n);
    return items;
}

} // namespace

const std::vector<FieldDescription> &FieldDescriptions()
{
    using F = Field;
    using K = TypingRule;
    const QStringList switchItems{QStringLiteral("关闭"), QStringLiteral("开启")};
    const QStringList switchItemsEn{QStringLiteral("Disable"), QStringLiteral("Enable")};
    const QString address = QStringLiteral("192.168.4.1");
    const QString mask = QStringLiteral("255.255.255.0");
    const QString ssid = QStringLiteral("Lumora");
    const QString password = QStringLiteral("58302917");
    static const std::vector<FieldDescription> specs = {
        list(F::WorkMode, "workMode", cap("工作模式", "Work mode"),
             {QStringLiteral("Station"), QStringLiteral("AP"), QStringLiteral("AP+Station")}, -1),
        list(F::Dhcp, "dhcp", same("DHCP"),
             {QStringLiteral("All Disable"), QStringLiteral("STA Enalbe"), QStringLiteral("AP Enable"),
              QStringLiteral("All Enable")},
             0),
        edit(F::ApSsid, "apSsid", same("AP SSID"), ssid),
        edit(F::ApPassword, "apPassword", cap("AP密码", "AP Password"), password),
        list(F::ApChannel, "apChannel", cap("工作信道", "Channel"), numbers(1, 16), 5),
        list(F::ApAuth, "apAuth", cap("认证", "Authentication"),
             {QStringLiteral("OPEN"), QStringLiteral("WPA_PSK"), QStringLiteral("WPA2_PSK"),
              QStringLiteral("WPA_WPA2_PSK")},
             1),
        edit(F::ApIp, "apIp", same("AP IP"), address, K::Address),
        edit(F::ApMask, "apMask", same("APMASK"), mask, K::Address),
        edit(F::ApGateway, "apGateway", cap("APGateWay", "AP Gateway"), address, K::Address),
        edit(F::ApMac, "apMac", same("MAC"), QString(), K::HexColon),
        edit(F::StaSsid, "staSsid", same("WiFi SSID"), ssid),
        edit(F::StaPassword, "staPassword", cap("WiFi密码", "Station Password"), password),
        edit(F::StaIp, "staIp", same("StationIP"), address),
        edit(F::StaMask, "staMask", same("StationMASK"), mask),
        edit(F::StaGateway, "staGateway", same("StationGateWay"), address),
        edit(F::StaMac, "staMac", same("MAC"), QString(), K::HexColon),
        edit(F::StaName, "staName", same("Name"), QString(), K::HexColon),
        edit(F::StaPwd, "staPwd", same("PWD"), QString(), K::HexColon),
        edit(F::Url, "url", same("URL"), QString()),
        edit(F::LocalPort, "localPort", cap("本地服务端口", "Local Port"), QStringLiteral("5000"), K::Digits),
        edit(F::ServerIp, "serverIp", cap("服务器IP", "Server IP"), kDefaultRelayAddress, K::Address),
        edit(F::ServerPort, "serverPort", cap("服务器端口", "Server Port"), QStringLiteral("9500"),
             K::Digits),
        list(F::NetProtocol, "netProtocol", cap("网络协议", "Network Protocol"),
             {QStringLiteral("TCP"), QStringLiteral("UDP")}, 0),
        list(F::ClientProtocol, "clientProtocol", cap("Client协议", "Client Protocol"),
             {QStringLiteral("透明"), QStringLiteral("Single协议")}, 1,
             {QStringLiteral("Transparent"), QStringLiteral("Single protocol")}),
        edit(F::Heartbeat, "heartbeat", cap("心跳周期(S)", "Heartbeat Interval(s)"), QStringLiteral("120"),
             K::Digits),
        edit(F::DeviceId, "deviceId", cap("设备ID", "WiFi ID"), QStringLiteral("00000000000"), K::Digits, 11),
        edit(F::Zone, "zone", cap("区号", "Zone"), QStringLiteral("0000"), K::None, 4),
        list(F::ZoneValid, "zoneValid", cap("区号有效", "Zone Enable"),
             {QStringLiteral("无效"), QStringLiteral("有效")}, 0, switchItemsEn),
        list(F::Baud, "baud", cap("串口波特率", "BaudRate"),
             {QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"), QStringLiteral("2400"),
              QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
              QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("74880"),
              QStringLiteral("115200"), QStringLiteral("230400"), QStringLiteral("460800"),
              QStringLiteral("921600"), QStringLiteral("1843200"), QStringLiteral("2686400")},
             5),
        list(F::Parity, "parity", cap("校验", "Verify"),
             {QStringLiteral("EVEN"), QStringLiteral("ODD"), QStringLiteral("NONE")}, 2),
        list(F::DataBits, "dataBits", cap("数据位", "Databits"), {QStringLiteral("8"), QStringLiteral("7")},
             0),
        list(F::StopBits, "stopBits", cap("停止位", "Stopbits"),
             {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")}, 0),
        edit(F::RxTimeout, "rxTimeout", cap("串口等待延时(ms)", "Data MinInterval(ms)"), QStringLiteral("20"),
             K::Digits),
        edit(F::RxMax, "rxMax", cap("串口最大包长(Byte)", "Max Package(Bytes)"), QStringLiteral("2048"),
             K::Digits),
        list(F::DebugOutput, "debugOutput", cap("调试信息输出", "Debug information"),
             {QStringLiteral("Disable"), QStringLiteral("Enable")}, 0),
        list(F::ConnRemote, "connRemote", cap("远程连接开关", "Server Connection"), switchItems, -1,
             switchItemsEn),
        list(F::PthServerEn, "pthServerEn", cap("网络数据开关", "Data transmission"), switchItems, -1,
             switchItemsEn),
        list(F::CmdServerEn, "cmdServerEn", cap("网络配置开关", "Network Setting"), switchItems, -1,
             switchItemsEn),
        edit(F::ServerTime, "serverTime", cap("服务超时时间(S)", "Service timeout"), QStringLiteral("600"),
             K::Digits),
        edit(F::CmdMaxConn, "cmdMaxConn", cap("配置连接最大数", "Setting MAX Number"), QStringLiteral("1"),
             K::Digits),
        edit(F::PthMaxConn, "pthMaxConn", cap("数传端口最大数", "Data MAX Number"), QStringLiteral("8"),
             K::Digits),
    };
    return specs;
}

const FieldDescription &DescriptionOf(Field field)
{
    for (const FieldDescription &fieldSpec : FieldDescriptions()) {
        if (fieldSpec.field == field)
            return fieldSpec;
    }
    Q_UNREACHABLE();
}
