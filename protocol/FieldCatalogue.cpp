#include "protocol/FieldCatalogue.h"
#include "protocol/Defaults.h"

namespace {
FieldDescription edit(Field field, const char *stem, const char *label, const QString &start,
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

FieldDescription list(Field field, const char *stem, const char *label, const QStringList &items, int start)
{
    FieldDescription fieldSpec;
    fieldSpec.field = field;
    fieldSpec.stem = stem;
    fieldSpec.label = label;
    fieldSpec.list = true;
    fieldSpec.items = items;
    fieldSpec.startIndex = start;
    return fieldSpec;
}

// A list whose items change with the language.
FieldDescription translatedList(Field field, const char *stem, const char *label,
                                const std::vector<const char *> &items, int start,
                                const char *disambiguation = nullptr)
{
    QStringList texts;
    for (const char *item : items)
        texts << QString::fromUtf8(item);
    FieldDescription fieldSpec = list(field, stem, label, texts, start);
    fieldSpec.translatedItems = items;
    fieldSpec.itemDisambiguation = disambiguation;
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
    const std::vector<const char *> switchItems{QT_TRANSLATE_NOOP("Field", "Disable"),
                                                QT_TRANSLATE_NOOP("Field", "Enable")};
    // The same English as the switches' items, with other Chinese.
    const struct {
        const char *source;
        const char *disambiguation;
    } zoneItems[] = {QT_TRANSLATE_NOOP3("Field", "Disable", "zone"),
                     QT_TRANSLATE_NOOP3("Field", "Enable", "zone")};
    const QString address = QStringLiteral("192.168.4.1");
    const QString mask = QStringLiteral("255.255.255.0");
    const QString ssid = QStringLiteral("Lumora");
    const QString password = QStringLiteral("58302917");
    static const std::vector<FieldDescription> specs = {
        list(F::WorkMode, "workMode", QT_TRANSLATE_NOOP("Field", "Work mode"),
             {QStringLiteral("Station"), QStringLiteral("AP"), QStringLiteral("AP+Station")}, -1),
        list(F::Dhcp, "dhcp", QT_TRANSLATE_NOOP("Field", "DHCP"),
             {QStringLiteral("All Disable"), QStringLiteral("STA Enalbe"), QStringLiteral("AP Enable"),
              QStringLiteral("All Enable")},
             0),
        edit(F::ApSsid, "apSsid", QT_TRANSLATE_NOOP("Field", "AP SSID"), ssid),
        edit(F::ApPassword, "apPassword", QT_TRANSLATE_NOOP("Field", "AP Password"), password),
        list(F::ApChannel, "apChannel", QT_TRANSLATE_NOOP("Field", "Channel"), numbers(1, 16), 5),
        list(F::ApAuth, "apAuth", QT_TRANSLATE_NOOP("Field", "Authentication"),
             {QStringLiteral("OPEN"), QStringLiteral("WPA_PSK"), QStringLiteral("WPA2_PSK"),
              QStringLiteral("WPA_WPA2_PSK")},
             1),
        edit(F::ApIp, "apIp", QT_TRANSLATE_NOOP("Field", "AP IP"), address, K::Address),
        edit(F::ApMask, "apMask", QT_TRANSLATE_NOOP("Field", "APMASK"), mask, K::Address),
        edit(F::ApGateway, "apGateway", QT_TRANSLATE_NOOP("Field", "AP Gateway"), address, K::Address),
        edit(F::ApMac, "apMac", QT_TRANSLATE_NOOP("Field", "MAC"), QString(), K::HexColon),
        edit(F::StaSsid, "staSsid", QT_TRANSLATE_NOOP("Field", "WiFi SSID"), ssid),
        edit(F::StaPassword, "staPassword", QT_TRANSLATE_NOOP("Field", "Station Password"), password),
        edit(F::StaIp, "staIp", QT_TRANSLATE_NOOP("Field", "StationIP"), address),
        edit(F::StaMask, "staMask", QT_TRANSLATE_NOOP("Field", "StationMASK"), mask),
        edit(F::StaGateway, "staGateway", QT_TRANSLATE_NOOP("Field", "StationGateWay"), address),
        edit(F::StaMac, "staMac", QT_TRANSLATE_NOOP("Field", "MAC"), QString(), K::HexColon),
        edit(F::StaName, "staName", QT_TRANSLATE_NOOP("Field", "Name"), QString(), K::HexColon),
        edit(F::StaPwd, "staPwd", QT_TRANSLATE_NOOP("Field", "PWD"), QString(), K::HexColon),
        edit(F::Url, "url", QT_TRANSLATE_NOOP("Field", "URL"), QString()),
        edit(F::LocalPort, "localPort", QT_TRANSLATE_NOOP("Field", "Local Port"), QStringLiteral("5000"),
             K::Digits),
        edit(F::ServerIp, "serverIp", QT_TRANSLATE_NOOP("Field", "Server IP"), kDefaultRelayAddress,
             K::Address),
        edit(F::ServerPort, "serverPort", QT_TRANSLATE_NOOP("Field", "Server Port"), QStringLiteral("9500"),
             K::Digits),
        list(F::NetProtocol, "netProtocol", QT_TRANSLATE_NOOP("Field", "Network Protocol"),
             {QStringLiteral("TCP"), QStringLiteral("UDP")}, 0),
        translatedList(
            F::ClientProtocol, "clientProtocol", QT_TRANSLATE_NOOP("Field", "Client Protocol"),
            {QT_TRANSLATE_NOOP("Field", "Transparent"), QT_TRANSLATE_NOOP("Field", "Single protocol")}, 1),
        edit(F::Heartbeat, "heartbeat", QT_TRANSLATE_NOOP("Field", "Heartbeat Interval(s)"),
             QStringLiteral("120"), K::Digits),
        edit(F::DeviceId, "deviceId", QT_TRANSLATE_NOOP("Field", "WiFi ID"), QStringLiteral("00000000000"),
             K::Digits, 11),
        edit(F::Zone, "zone", QT_TRANSLATE_NOOP("Field", "Zone"), QStringLiteral("0000"), K::None, 4),
        translatedList(F::ZoneValid, "zoneValid", QT_TRANSLATE_NOOP("Field", "Zone Enable"),
                       {zoneItems[0].source, zoneItems[1].source}, 0, zoneItems[0].disambiguation),
        list(F::Baud, "baud", QT_TRANSLATE_NOOP("Field", "BaudRate"),
             {QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"), QStringLiteral("2400"),
              QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
              QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("74880"),
              QStringLiteral("115200"), QStringLiteral("230400"), QStringLiteral("460800"),
              QStringLiteral("921600"), QStringLiteral("1843200"), QStringLiteral("2686400")},
             5),
        list(F::Parity, "parity", QT_TRANSLATE_NOOP("Field", "Verify"),
             {QStringLiteral("EVEN"), QStringLiteral("ODD"), QStringLiteral("NONE")}, 2),
        list(F::DataBits, "dataBits", QT_TRANSLATE_NOOP("Field", "Databits"),
             {QStringLiteral("8"), QStringLiteral("7")}, 0),
        list(F::StopBits, "stopBits", QT_TRANSLATE_NOOP("Field", "Stopbits"),
             {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")}, 0),
        edit(F::RxTimeout, "rxTimeout", QT_TRANSLATE_NOOP("Field", "Data MinInterval(ms)"),
             QStringLiteral("20"), K::Digits),
        edit(F::RxMax, "rxMax", QT_TRANSLATE_NOOP("Field", "Max Package(Bytes)"), QStringLiteral("2048"),
             K::Digits),
        list(F::DebugOutput, "debugOutput", QT_TRANSLATE_NOOP("Field", "Debug information"),
             {QStringLiteral("Disable"), QStringLiteral("Enable")}, 0),
        translatedList(F::ConnRemote, "connRemote", QT_TRANSLATE_NOOP("Field", "Server Connection"),
                       switchItems, -1),
        translatedList(F::PthServerEn, "pthServerEn", QT_TRANSLATE_NOOP("Field", "Data transmission"),
                       switchItems, -1),
        translatedList(F::CmdServerEn, "cmdServerEn", QT_TRANSLATE_NOOP("Field", "Network Setting"),
                       switchItems, -1),
        edit(F::ServerTime, "serverTime", QT_TRANSLATE_NOOP("Field", "Service timeout"),
             QStringLiteral("600"), K::Digits),
        edit(F::CmdMaxConn, "cmdMaxConn", QT_TRANSLATE_NOOP("Field", "Setting MAX Number"),
             QStringLiteral("1"), K::Digits),
        edit(F::PthMaxConn, "pthMaxConn", QT_TRANSLATE_NOOP("Field", "Data MAX Number"), QStringLiteral("8"),
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
