#include "window/Settings.h"

#include "protocol/IniProfile.h"

#include <QDir>
#include <QFileInfo>

#include <variant>
#include <vector>

namespace {

// One key of Config.ini and the field it fills; the field's type is the key's type and its declared
// value the default. A key without a field is one the file has always had and nothing uses.
struct SettingKey {
    const char *section;
    const char *key;
    std::variant<std::monostate, int AppSettings::*, bool AppSettings::*, QString AppSettings::*> member;
};

SettingKey unused(const char *section, const char *key)
{
    return {section, key, std::monostate{}};
}

// Every key read at start-up, in the order of reading.
const std::vector<SettingKey> &settingKeys()
{
    static const std::vector<SettingKey> keys = {
        {"info", "COM", &AppSettings::comPort},
        {"info", "BaudRate", &AppSettings::baudIndex},
        {"Ver", "CEO", &AppSettings::language},
        {"Ver", "Ori", &AppSettings::brandCode},
        {"info", "CO", &AppSettings::makerText},
        unused("Network", "Fixed"),
        {"Network", "ServerIP", &AppSettings::serverIp},
        {"Network", "ServerIP2", &AppSettings::serverIp2},
        {"Network", "FirstIP", &AppSettings::firstIp},
        {"Network", "UDPPort", &AppSettings::udpPort},
        {"Network", "TCPPort", &AppSettings::tcpPort},
        {"Network", "Protocol", &AppSettings::protocol},
        {"Network", "AutoChange", &AppSettings::autoChange},
        {"Network", "Nobacktimes", &AppSettings::nobacktimes},
        unused("Local", "LocalUDPPort"),
        unused("Local", "LocalTCPPort"),
        unused("Network", "CommunicationType"),
        {"Network", "TargetGPRSID", &AppSettings::targetId},
        {"Network", "TargetZone", &AppSettings::targetZone},
        {"Local", "LocalZone", &AppSettings::localZone},
        {"Local", "LocalID", &AppSettings::localId},
        {"Network", "TargetZonValid", &AppSettings::targetZoneValid},
        {"Heart", "Interval", &AppSettings::heartInterval},
        {"Heart", "BLHeart", &AppSettings::blHeart},
        {"CheckOnLine", "Interval", &AppSettings::checkOnLineInterval},
        {"CheckOnLine", "CheckOnLine", &AppSettings::checkOnLine},
        {"Program", "FontCharset", &AppSettings::fontCharset},
        {"Program", "FontName", &AppSettings::fontName},
        unused("Program", "FirstCom"),
        unused("Program", "ISendProtocol"),
        unused("Program", "ShowCMD"),
        {"Network", "COMType", &AppSettings::linkType},
        {"Network", "UDPPort2", &AppSettings::udpPort2},
        {"Network", "TCPPort2", &AppSettings::tcpPort2},
        {"Program", "AddChr", &AppSettings::addQuotes},
        {"Program", "ShowHEX", &AppSettings::showHex},
        // Not written back: only a user or the demo sets where discovery requests go.
        {"Discovery", "Address", &AppSettings::discoveryAddress},
        // Not written back either: a user sets it by hand; the window keeps it within its bounds.
        {"Program", "ConsoleLimitKB", &AppSettings::consoleLimitKB},
        {"Program", "LogFile", &AppSettings::logFilePath},
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

void readKey(const IniProfile &ini, const SettingKey &entry, AppSettings &settings)
{
    const QString section = QLatin1String(entry.section);
    const QString key = QLatin1String(entry.key);
    std::visit(Overloaded{[](std::monostate) {},
                          [&](int AppSettings::*field) {
                              settings.*field = ini.readInteger(section, key, settings.*field);
                          },
                          [&](bool AppSettings::*field) {
                              settings.*field = ini.readBool(section, key, settings.*field);
                          },
                          [&](QString AppSettings::*field) {
                              settings.*field = ini.readString(section, key, settings.*field);
                          }},
               entry.member);
}

void writeKey(IniProfile &ini, const SettingKey &entry, const AppSettings &settings)
{
    const QString section = QLatin1String(entry.section);
    const QString key = QLatin1String(entry.key);
    std::visit(
        Overloaded{[](std::monostate) {},
                   [&](int AppSettings::*field) { ini.writeInteger(section, key, settings.*field); },
                   [&](bool AppSettings::*field) { ini.writeBool(section, key, settings.*field); },
                   [&](QString AppSettings::*field) { ini.writeString(section, key, settings.*field); }},
        entry.member);
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
    return PortMap::validPort(port) ? port : 0;
}

void readPortMap(const IniProfile &ini, PortMap &ports)
{
    ports.clear();
    const QStringList keys = ini.keys(kPortsSection);
    for (const QString &key : keys) {
        const int port = portOfKey(key);
        const QString device = ini.readString(kPortsSection, key, QString());
        if (port != 0 && !device.isEmpty())
            ports.setDevicePath(port, device);
    }
}

bool writeSettingsFile(const QString &path, const AppSettings &settings)
{
    IniProfile ini;
    // A file that is there but cannot be read (too large, no read permission) is left alone rather than
    // replaced by the settings alone, which would throw away whatever it holds.
    if (!ini.load(path) && QFileInfo::exists(path))
        return false;
    for (const SavedKey &saved : kSavedKeys)
        writeKey(ini, settingKey(saved), settings);
    // Only once the user has logged to a file: files that never did stay as they were.
    if (!settings.logFilePath.isEmpty())
        ini.writeString(QStringLiteral("Program"), QStringLiteral("LogFile"), settings.logFilePath);
    const QMap<int, QString> ports = settings.ports.mapped();
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

AppSettings LoadSettings(const QString &programDir, const PortMap &ports)
{
    AppSettings settings;
    settings.ports = ports;
    IniProfile ini;
    ini.load(SettingsFilePath(programDir)); // a missing or unusable file leaves every default
    for (const SettingKey &entry : settingKeys())
        readKey(ini, entry, settings);
    readPortMap(ini, settings.ports);
    return settings;
}

bool SaveSettings(const QString &programDir, const AppSettings &settings, QString *errorText)
{
    const QString path = SettingsFilePath(programDir);
    if (writeSettingsFile(path, settings))
        return true;
    if (errorText != nullptr)
        *errorText = QStringLiteral("Unable to write to %1").arg(path);
    return false;
}
