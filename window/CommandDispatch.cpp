#include "window/CommandDispatch.h"

#include "links/ComPorts.h"
#include "protocol/CommandBuilder.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/SerialPortDialog.h"
#include "window/TcpLink.h"

namespace {
QString progressText(bool set, int link, bool chinese, const QString &cn, const QString &en)
{
    static const QString ellipsis = QStringLiteral("......");
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

const ModeCommand kModeCommands[] = {
    {"+++", "", 0, "Enter AT mode", "进入AT配置模式"},
    {"AT", "", 1, "AT test", "AT测试"},
    {"AT", "++", 2, "Enter Data mode", "进入数传模式"},
};
} // namespace

CommandDispatch::CommandDispatch(MainWindow *window, ComPorts *ports, SerialPortDialog *portDialog,
                                 TcpLink *tcp)
    : QObject(window), window_(window)
{
    sender_ = std::make_unique<LinkSender>(
        [window, ports, portDialog](const QByteArray &bytes) {
            const ComPorts::Result result = ports->write(portDialog->comPort(), bytes);
            // The serial access messages stay English whatever the language setting.
            if (result == ComPorts::Result::NotOpen)
                Boxes::warningUnparented(window, QStringLiteral("The COM Port NOT opened!"));
            return result == ComPorts::Result::Ok;
        },
        [tcp](const QByteArray &bytes) { return tcp->deliver(bytes); },
        [window](const QString &label, const QByteArray &bytes) {
            ConsoleLog *console = window->console();
            console->addEmptyLine();
            console->addDataLine(label, bytes);
            if (window->settings().showHex)
                console->addHexLine(bytes);
        });
}

CommandDispatch::~CommandDispatch() = default;

SendResult CommandDispatch::sendOnLink(SendPayload payload, const QByteArray &bytes)
{
    return sender_->send(window_->session().route, payload, bytes);
}

bool CommandDispatch::sendCommand(bool set, const QByteArray &command, int typeCode, const QString &cnLabel,
                                  const QString &enLabel)
{
    LinkSession &session = window_->session();
    session.cmdType = typeCode; // the next reply is read by this command's code, sent or not
    const SendResult result = sendOnLink(SendPayload::Command, command);
    if (ShowsProgress(result))
        window_->setStatusPanel(
            2, progressText(set, session.route.linkType, window_->chinese(), cnLabel, enLabel));
    if (result != SendResult::Sent)
        return false;
    Q_EMIT commandSent(typeCode);
    return true;
}

bool CommandDispatch::sendSetCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                                     const QString &enLabel)
{
    return sendCommand(true, command, typeCode, cnLabel, enLabel);
}

bool CommandDispatch::sendReadCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                                      const QString &enLabel)
{
    return sendCommand(false, command, typeCode, cnLabel, enLabel);
}

bool CommandDispatch::sendSerial(const QByteArray &command)
{
    return sender_->sendSerial(command) == SendResult::Sent;
}

bool CommandDispatch::sendTcp(const QByteArray &bytes)
{
    return sender_->sendTcp(bytes) == SendResult::Sent;
}

bool CommandDispatch::sendData(const QByteArray &payload)
{
    const LinkRoute &route = window_->session().route;
    return sender_->sendRelay(route.localId, route.targetId, payload) == SendResult::Sent;
}

void CommandDispatch::sendModeCommand(int index)
{
    const ModeCommand &mode = kModeCommands[index];
    const BuiltCommand command =
        BuildCommand(mode.typeCode, QLatin1String(mode.prefix), QLatin1String(mode.name), QString(), false);
    sendSetCommand(command.bytes, command.typeCode, QString::fromUtf8(mode.cn), QLatin1String(mode.en));
}
