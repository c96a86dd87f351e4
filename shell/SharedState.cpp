#include "shell/SharedState.h"

QString ProgramDir;
QString Language;
int BrandCode;
QString MakerText;
QString TitleText;
QString VersionText;

int LinkType;
int ComPort;
int BaudIndex;
int BaudCode;
int ParityCode;
int DataBitsCode;
int StopBitsCode;
bool PortOpen[kComPortCount];
bool ComOpened;
TCommFun *CommFun = nullptr;

int CmdType;
QString LastIoOperation;
int RxQuietMs;

bool ShowHex;
bool AddQuotes;
QString ServerIP;
int TCPPort;
int UDPPort;
QString Protocol;
QString ServerIP2;
int TCPPort2;
int UDPPort2;
QString TargetID;
QString TargetZone;
bool TargetZoneValid;
QString LocalID;
QString LocalZone;
QString DiscoveryAddress;
int ConsoleLimitKB;
QString LogFilePath;

int FirstIP;
bool AutoChange;
int Nobacktimes;
int HeartInterval;
bool BLHeart;
int CheckOnLineInterval;
bool CheckOnLine;
int FontCharset;
QString FontName;

void ResetSharedState()
{
    ProgramDir.clear();
    Language = QStringLiteral("CN");
    BrandCode = 1;
    MakerText = kMakerNameChinese;
    TitleText.clear();
    VersionText = QStringLiteral("V2.14");

    LinkType = 0;
    ComPort = 1;
    BaudIndex = 9;
    BaudCode = ParityCode = DataBitsCode = StopBitsCode = 0;
    for (bool &open : PortOpen)
        open = false;
    ComOpened = false;

    CmdType = 0;
    LastIoOperation.clear();
    RxQuietMs = 133;

    ShowHex = false;
    AddQuotes = true;
    ServerIP = kDefaultModuleAddress;
    TCPPort = 8888;
    UDPPort = 7777;
    Protocol = QStringLiteral("UDP");
    ServerIP2 = kDefaultRelayAddress;
    TCPPort2 = 8888;
    UDPPort2 = 7777;
    TargetID = QStringLiteral("00000000000");
    TargetZone = QStringLiteral("0000");
    TargetZoneValid = true;
    LocalID = QStringLiteral("00000000000");
    LocalZone = QStringLiteral("0000");
    DiscoveryAddress = QStringLiteral("255.255.255.255");
    ConsoleLimitKB = kDefaultConsoleLimitKB;
    LogFilePath.clear();

    FirstIP = 1;
    AutoChange = true;
    Nobacktimes = 3;
    HeartInterval = 30;
    BLHeart = false;
    CheckOnLineInterval = 30;
    CheckOnLine = false;
    FontCharset = 0;
    FontName = QStringLiteral("Arial");
}
