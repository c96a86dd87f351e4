#pragma once

// Everything Config.ini holds for the tool, as one value: read once at start-up (window/Settings),
// owned by the main window while it runs, written back at close. Text is Unicode here; it becomes GBK
// only in the file. The defaults are the values a missing file or key gives.

#include "links/PortMap.h"
#include "protocol/Defaults.h"

#include <QString>

inline constexpr int kDefaultConsoleLimitKB = 10 * 1024;
inline constexpr int kMinConsoleLimitKB = 256;
inline constexpr int kMaxConsoleLimitKB = 256 * 1024;

struct AppSettings {
    int comPort = 1;                         // 1..36, COM1 = 1
    int baudIndex = 9;                       // index into the serial dialog's baud list; 9 is 115200 baud
    QString language = QStringLiteral("CN"); // "CN" Chinese; the title and serial dialog are English for "EN"
    int brandCode = 1;
    QString makerText = kMakerNameChinese;

    int linkType = 0; // 0 serial, 1 LAN, 2 Internet through the relay server
    QString serverIp = kDefaultModuleAddress;
    int tcpPort = 8888;
    int udpPort = 7777;
    QString protocol = QStringLiteral("UDP");
    QString serverIp2 = kDefaultRelayAddress;
    int tcpPort2 = 8888;
    int udpPort2 = 7777;
    QString targetId = QStringLiteral("00000000000");
    QString targetZone = QStringLiteral("0000");
    bool targetZoneValid = true;
    QString localId = QStringLiteral("00000000000");
    QString localZone = QStringLiteral("0000");

    bool showHex = false;
    bool addQuotes = true;
    QString discoveryAddress = QStringLiteral("255.255.255.255"); // where the search buttons send
    int consoleLimitKB = kDefaultConsoleLimitKB; // how much text the console keeps, before clamping
    QString logFilePath;                         // the file "Log to file…" last wrote to

    // Values the file holds only so that they are written back unchanged.
    int firstIp = 1;
    bool autoChange = true;
    int nobacktimes = 3;
    int heartInterval = 30;
    bool blHeart = false;
    int checkOnLineInterval = 30;
    bool checkOnLine = false;
    int fontCharset = 0;
    QString fontName = QStringLiteral("Arial");

    // Section "Ports": which device stands behind each COM number.
    PortMap ports;
};
