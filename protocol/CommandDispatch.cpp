#include "links/ConsoleLog.h"
#include "links/commfunction.h"
#include "protocol/CommandBuilder.h"
#include "protocol/FrameCodec.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

namespace {
enum class Direction { Set, Read };

QString progressText(Direction direction, int link, const QString &cn, const QString &en)
{
    static const QString ellipsis = QStringLiteral("......");
    const bool set = direction == Direction::Set;
    if (IsChinese()) {
        static const QString cnWords[2][3] = {
            {QStringLiteral("正在设置"), QStringLiteral("正在通过局域网设置"),
             QStringLiteral("正在通过互联网设置")},
            {QStringLiteral("正在读取"), QStringLiteral("正在通过局域网读取"),
             QStringLiteral("正在通过互联网读取")}};
        return cnWords[set ? 0 : 1][link] + cn + ellipsis;
    }
    static const QString enSuffix[3] = {QString(), QStringLiteral("(LAN)"), QStringLiteral("(WAN)")};
    return (set ? QStringLiteral("Setting ") : QStringLiteral("Reading ")) + en + enSuffix[link] + ellipsis;
}

struct ModeCommand {
    const char *prefix;
    const char *name;
    int typeCode;
    const char *en;
    const char *cn;
};

// The tool panel's mode buttons: "进入配置", "AT", "进入数传".
const ModeCommand kModeCommands[] = {
    {"+++", "", 0, "Enter AT mode", "进入AT配置模式"},
    {"AT", "", 1, "AT test", "AT测试"},
    {"AT", "++", 2, "Enter Data mode", "进入数传模式"},
};
} // namespace

// Sends a finished command on the current link. True when the progress text belongs in the status
// bar: not for an unknown link type, nor over a TCP send that failed, whose error must stay in view.
static bool sendOnLink(TForm1 *form, const QByteArray &command)
{
    switch (LinkType) {
    case 0:
        form->SendSerial(command); // a failed write has shown its own message box
        return true;
    case 1:
        return form->SendTcp(LanCommandPrefix() + command);
    case 2:
        return form->SendData(BuildModuleFrame(TargetID, TargetZone, TargetZoneValid, command));
    default:
        return false;
    }
}

void TForm1::SendSetCommand(const QByteArray &command, int /*typeCode: BuildCommand has set CmdType*/,
                            const QString &cnLabel, const QString &enLabel)
{
    if (sendOnLink(this, command))
        setStatusPanel(2, progressText(Direction::Set, LinkType, cnLabel, enLabel));
}

void TForm1::SendReadCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                             const QString &enLabel)
{
    CmdType = typeCode;
    if (sendOnLink(this, command))
        setStatusPanel(2, progressText(Direction::Read, LinkType, cnLabel, enLabel));
}

bool TForm1::SendSerial(const QByteArray &command)
{
    if (!CommFun->ComWrite(ComPort, command, int(command.size())))
        return false;
    console_->addEmptyLine();
    console_->addDataLine(QStringLiteral("COM Send:"), command);
    if (ShowHex)
        console_->addHexLine(command);
    return true;
}

void TForm1::sendModeCommand(int index)
{
    const ModeCommand &mode = kModeCommands[index];
    const QByteArray command =
        BuildCommand(mode.typeCode, QLatin1String(mode.prefix), QLatin1String(mode.name), QString(), false);
    SendSetCommand(command, mode.typeCode, QString::fromUtf8(mode.cn), QLatin1String(mode.en));
}
