#pragma once

// Program-wide state shared by every part of the tool. Created at start-up, lives until exit, touched
// only from the GUI thread. Text is Unicode here; it becomes GBK only on the wire and in Config.ini.

#include "protocol/Defaults.h"

#include <QByteArray>
#include <QString>

class TCommFun;

inline constexpr int kComPortCount = 36;
inline constexpr int kDefaultConsoleLimitKB = 10 * 1024;
inline constexpr int kMinConsoleLimitKB = 256;
inline constexpr int kMaxConsoleLimitKB = 256 * 1024;

extern QString ProgramDir;
extern QString Language; // "CN" Chinese, anything else English
extern int BrandCode;
extern QString MakerText;
extern QString TitleText;
extern QString VersionText;

extern int LinkType;  // 0 serial, 1 LAN, 2 Internet through the relay server
extern int ComPort;   // 1..36, COM1 = 1
extern int BaudIndex; // index into the serial dialog's baud list
extern int BaudCode;
extern int ParityCode;
extern int DataBitsCode;
extern int StopBitsCode;
extern bool PortOpen[kComPortCount];
extern bool ComOpened;
extern TCommFun *CommFun;

extern int CmdType;
extern QString LastIoOperation;
extern int RxQuietMs;

extern bool ShowHex;
extern bool AddQuotes;
extern QString ServerIP;
extern int TCPPort;
extern int UDPPort;
extern QString Protocol;
extern QString ServerIP2;
extern int TCPPort2;
extern int UDPPort2;
extern QString TargetID;
extern QString TargetZone;
extern bool TargetZoneValid;
extern QString LocalID;
extern QString LocalZone;
extern QString DiscoveryAddress; // where the search buttons send their requests
extern int ConsoleLimitKB;       // how much text the console keeps (kMinConsoleLimitKB..kMaxConsoleLimitKB)
extern QString LogFilePath;      // the file "Log to file…" last wrote to

// Values Config.ini holds only so that they are written back unchanged.
extern int FirstIP;
extern bool AutoChange;
extern int Nobacktimes;
extern int HeartInterval;
extern bool BLHeart;
extern int CheckOnLineInterval;
extern bool CheckOnLine;
extern int FontCharset;
extern QString FontName;

// Puts every variable back to its value before the settings are loaded (start-up and tests).
void ResetSharedState();

// True when messages, status texts and console lines are to be Chinese ("CN" exactly).
inline bool IsChinese()
{
    return Language == QLatin1String("CN");
}

// Picks the English or the Chinese form of a text by the language rule.
inline QString Tr(const QString &english, const QString &chinese)
{
    return IsChinese() ? chinese : english;
}
