#include "shell/Settings.h"

#include "links/PortMap.h"
#include "protocol/IniProfile.h"
#include "shell/SharedState.h"

#include <QDir>
#include <QFileInfo>

#include <variant>
#include <vector>

namespace {

using Value = std::variant<int, bool, QString>;
using Variable = std::variant<std::monostate, int *, bool *, QString *>;

// One key of Config.ini. The default's type is the key's type; a key without a variable is read only
// because the file has always had it.
struct SettingKey {
    const char *section;
    const char *key;
    Value defaultValue;
    Variable variable;
};

const Variable kNotUsed{};

// Every key read at start-up, in the order of reading.
const std::vector<SettingKey> &settingKeys()
{
    static const std::vector<SettingKey> keys = {
        {"info", "COM", 1, &ComPort},
        {"info", "BaudRate", 9, &BaudIndex}, // 9 is 115200 baud
        {"Ver", "CEO", QStringLiteral("CN"), &Language},
        {"Ver", "Ori", 1, &BrandCode},
        {"info", "CO", kMakerNameChinese, &MakerText},
        {"Network", "Fixed", true, kNotUsed},
        {"Network", "ServerIP", kDefaultModuleAddress, &ServerIP},
        {"Network", "ServerIP2", kDefaultRelayAddress, &ServerIP2},
        {"Network", "FirstIP", 1, &FirstIP},
        {"Network", "UDPPort", 7777, &UDPPort},
        {"Network", "TCPPort", 8888, &TCPPort},
        {"Network", "Protocol", QStringLiteral("UDP"), &Protocol},
        {"Network", "AutoChange", true, &AutoChange},
        {"Network", "Nobacktimes", 3, &Nobacktimes},
        {"Local", "LocalUDPPort", 7777, kNotUsed},
        {"Local", "LocalTCPPort", 8888, kNotUsed},
        {"Network", "CommunicationType", QStringLiteral("Com"), kNotUsed},
        {"Network", "TargetGPRSID", QStringLiteral("00000000000"), &TargetID},
        {"Network", "TargetZone", QStringLiteral("0000"), &TargetZone},
        {"Local", "LocalZone", QStringLiteral("0000"), &LocalZone},
        {"Local", "LocalID", QStringLiteral("00000000000"), &LocalID},
        {"Network", "TargetZonValid", true, &TargetZoneValid},
        {"Heart", "Interval", 30, &HeartInterval},
        {"Heart", "BLHeart", false, &BLHeart},
        {"CheckOnLine", "Interval", 30, &CheckOnLineInterval},
        {"CheckOnLine", "CheckOnLine", false, &CheckOnLine},
        {"Program", "FontCharset", 0, &FontCharset},
        {"Program", "FontName", QStringLiteral("Arial"), &FontName},
        {"Program", "FirstCom", 0, kNotUsed},
        {"Program", "ISendProtocol", 0, kNotUsed},
        {"Program", "ShowCMD", false, kNotUsed},
        {"Network", "COMType", 0, &LinkType},
        {"Network", "UDPPort2", 7777, &UDPPort2},
        {"Network", "TCPPort2", 8888, &TCPPort2},
        {"Program", "AddChr", true, &AddQuotes},
        {"Program", "ShowHEX", false, &ShowHex},
        // Not written back: only a user or the demo sets where discovery requests go.
        {"Discovery", "Address", QStringLiteral("255.255.255.255"), &DiscoveryAddress},
        // Not written back either: a user sets it by hand; the window keeps it within its bounds.
        {"Program", "ConsoleLimitKB", kDefaultConsoleLimitKB, &ConsoleLimitKB},
        {"Program", "LogFile", QString(), &LogFilePath},
    };
    return keys;
}

// The keys written at close, in the order of writing. "Ver" and "CO" are deliberately absent: the
// language and brand are chosen by editing the file, never by the program.
struct SavedKey {
    const char *section;
    const char *key;
};

constexpr SavedKey kSavedKeys[] = {
    {"info", "COM"},
    {"info", "BaudRate"},
    {"Network", "TargetGPRSID"},
    {"Network", "TargetZone"},
    {"Local", "LocalZone"},
    {"Local", "LocalID"},
    {"Network", "TargetZonValid"},
    {"Network", "FirstIP"},
    {"Network", "UDPPort"},
    {"Network", "TCPPort"},
    {"Network", "Protocol"},
    {"Network", "AutoChange"},
    {"Network", "Nobacktimes"},
    {"Heart", "Interval"},
    {"Heart", "BLHeart"},
    {"CheckOnLine", "Interval"},
    {"CheckOnLine", "CheckOnLine"},
    {"Program", "FontCharset"},
    {"Program", "FontName"},
    {"Network", "COMType"},
    {"Network", "UDPPort2"},
    {"Network", "TCPPort2"},
    {"Network", "ServerIP"},
    {"Network", "ServerIP2"},
    {"Program", "AddChr"},
    {"Program", "ShowHEX"},
};

const QString kPortsSection = QStringLiteral("Ports");

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

void readKey(const IniProfile &ini, const SettingKey &entry)
{
    const QString section = QLatin1String(entry.section);
    const QString key = QLatin1String(entry.key);
    const Value value = std::visit(
        Overloaded{[&](int fallback) -> Value { return ini.readInteger(section, key, fallback); },
                   [&](bool fallback) -> Value { return ini.readBool(section, key, fallback); },
                   [&](const QString &fallback) -> Value { return ini.readString(section, key, fallback); }},
        entry.defaultValue);
    std::visit(Overloaded{[](std::monostate) {}, [&](int *target) { *target = std::get<int>(value); },
                          [&](bool *target) { *target = std::get<bool>(value); },
                          [&](QString *target) { *target = std::get<QString>(value); }},
               entry.variable);
}

void writeKey(IniProfile &ini, const SettingKey &entry)
{
    const QString section = QLatin1String(entry.section);
    const QString key = QLatin1String(entry.key);
    std::visit(Overloaded{[](std::monostate) {},
                          [&](int *source) { ini.writeInteger(section, key, *source); },
                          [&](bool *source) { ini.writeBool(section, key, *source); },
                          [&](QString *source) { ini.writeString(section, key, *source); }},
               entry.variable);
}

const SettingKey &settingKey(const SavedKey &saved)
{
    for (const SettingKey &entry : settingKeys()) {
        if (qstrcmp(entry.section, saved.section) == 0 && qstrcmp(entry.key, saved.key) == 0)
            return entry;
    }
    Q_UNREACHABLE(); // every saved key is also read
}

// "COM3" -> 3; 0 for anything that is not a COM key of a port the program can open.
int portOfKey(const QString &key)
{
    if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) || key.size() < 4)
        return 0;
    const QStringView digits = QStringView(key).mid(3);
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
    }
    const int port = digits.toInt();
    return port >= 1 && port <= kComPortCount ? port : 0;
}

void readPortMap(const IniProfile &ini)
{
    ResetComPortMap();
    const QStringList keys = ini.keys(kPortsSection);
    for (const QString &key : keys) {
        const int port = portOfKey(key);
        const QString device = ini.readString(kPortsSection, key, QString());
        if (port != 0 && !device.isEmpty())
            SetComDevicePath(port, device);
    }
}

bool writeSettingsFile(const QString &path)
{
    IniProfile ini;
    // A file that is there but cannot be read (too large, no read permission) is left alone rather than
    // replaced by the settings alone, which would throw away whatever it holds.
    if (!ini.load(path) && QFileInfo::exists(path))
        return false;
    for (const SavedKey &saved : kSavedKeys)
        writeKey(ini, settingKey(saved));
    // Only once the user has logged to a file: files that never did stay as they were.
    if (!LogFilePath.isEmpty())
        ini.writeString(QStringLiteral("Program"), QStringLiteral("LogFile"), LogFilePath);
    const QMap<int, QString> ports = MappedComPorts();
    for (auto it = ports.cbegin(); it != ports.cend(); ++it)
        ini.writeString(kPortsSection, QStringLiteral("COM%1").arg(it.key()), it.value());
    // A port unmapped during the run keeps its line, emptied, so the next start does not map it again.
    const QStringList keys = ini.keys(kPortsSection);
    for (const QString &key : keys) {
        const int port = portOfKey(key);
        if (port != 0 && !ports.contains(port))
            ini.writeString(kPortsSection, key, QString());
    }
    return ini.save(path);
}

} // namespace

QString SettingsFilePath(const QString &programDir)
{
    // QDir keeps an empty folder relative ("Config.ini") instead of turning it into "/Config.ini".
    return QDir(programDir).filePath(QStringLiteral("Config.ini"));
}

void LoadSettings(const QString &programDir)
{
    IniProfile ini;
    ini.load(SettingsFilePath(programDir)); // a missing or unusable file leaves every default
    for (const SettingKey &entry : settingKeys())
        readKey(ini, entry);
    readPortMap(ini);
}

bool SaveSettings(const QString &programDir, QString *errorText)
{
    const QString path = SettingsFilePath(programDir);
    if (writeSettingsFile(path))
        return true;
    if (errorText != nullptr)
        *errorText = QStringLiteral("Unable to write to %1").arg(path);
    return false;
}
