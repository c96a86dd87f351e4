#include "links/ComPorts.h"
#include "links/LinkSender.h"
#include "protocol/CommandBuilder.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/SerialPortDialog.h"

namespace {
enum class Direction { Set, Read };

QString progressText(Direction direction, int link, bool chinese, const QString &cn, const QString &en)
{
    static const QString ellipsis = QStringLiteral("......");
    const bool set = direction == Direction::Set;
    if (chinese) {
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

void MainWindow::setUpLinkSender()
{
    linkSender_ = std::make_unique<LinkSender>(
        [this](const QByteArray &bytes) {
            const ComPorts::Result result = serialPorts_->write(portDialog_->comPort(), bytes);
            // The serial access messages stay English whatever the language setting.
            if (result == ComPorts::Result::NotOpen)
                Boxes::warningUnparented(this, QStringLiteral("The COM Port NOT opened!"));
            return result == ComPorts::Result::Ok;
        },
        [this](const QByteArray &bytes) { return deliverTcp(bytes); },
        [this](const QString &label, const QByteArray &bytes) {
            console_->addEmptyLine();
            console_->addDataLine(label, bytes);
            if (settings_.showHex)
                console_->addHexLine(bytes);
        });
}

SendResult MainWindow::sendOnLink(SendPayload payload, const QByteArray &bytes)
{
    return linkSender_->send(session_.route, payload, bytes);
}

bool MainWindow::sendSetCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                                const QString &enLabel)
{
    session_.cmdType = typeCode; // the next reply is read by this command's code, sent or not
    const SendResult result = sendOnLink(SendPayload::Command, command);
    if (ShowsProgress(result))
        setStatusPanel(2, progressText(Direction::Set, session_.route.linkType, chinese(), cnLabel, enLabel));
    if (result != SendResult::Sent)
        return false;
    Q_EMIT commandSent(typeCode);
    return true;
}

bool MainWindow::sendReadCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                                 const QString &enLabel)
{
    session_.cmdType = typeCode;
    const SendResult result = sendOnLink(SendPayload::Command, command);
    if (ShowsProgress(result))
        setStatusPanel(2,
                       progressText(Direction::Read, session_.route.linkType, chinese(), cnLabel, enLabel));
    if (result != SendResult::Sent)
        return false;
    Q_EMIT commandSent(typeCode);
    return true;
}

bool MainWindow::sendSerial(const QByteArray &command)
{
    return linkSender_->sendSerial(command) == SendResult::Sent;
}

void MainWindow::sendModeCommand(int index)
{
    const ModeCommand &mode = kModeCommands[index];
    const BuiltCommand command =
        BuildCommand(mode.typeCode, QLatin1String(mode.prefix), QLatin1String(mode.name), QString(), false);
    sendSetCommand(command.bytes, command.typeCode, QString::fromUtf8(mode.cn), QLatin1String(mode.en));
}

bool MainWindow::sendData(const QByteArray &payload)
{
    return linkSender_->sendRelay(session_.route.localId, session_.route.targetId, payload) ==
           SendResult::Sent;
}
