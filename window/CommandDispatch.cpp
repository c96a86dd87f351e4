#include "window/CommandDispatch.h"

#include "links/ComPorts.h"
#include "protocol/CommandBuilder.h"
#include "translations/Translations.h"
#include "window/Captions.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/SerialPortDialog.h"
#include "window/TcpLink.h"

namespace {
QString progressText(bool set, int link, bool chinese, const ShownText &label)
{
    static const char *const words[2][3] = {{QT_TRANSLATE_NOOP("CommandDispatch", "Setting %1......"),
                                             QT_TRANSLATE_NOOP("CommandDispatch", "Setting %1(LAN)......"),
                                             QT_TRANSLATE_NOOP("CommandDispatch", "Setting %1(WAN)......")},
                                            {QT_TRANSLATE_NOOP("CommandDispatch", "Reading %1......"),
                                             QT_TRANSLATE_NOOP("CommandDispatch", "Reading %1(LAN)......"),
                                             QT_TRANSLATE_NOOP("CommandDispatch", "Reading %1(WAN)......")}};
    // The window's language as it is now, which the settings may have changed since it was installed.
    return Translations::textIn(chinese ? Translations::chinese() : QString(), "CommandDispatch",
                                words[set ? 0 : 1][link])
        .arg(label.in(!chinese));
}

struct ModeCommand {
    const char *prefix;
    const char *name;
    int typeCode;
    const char *caption;
};

const ModeCommand kModeCommands[] = {
    {"+++", "", 0, QT_TRANSLATE_NOOP("CommandDispatch", "Enter AT mode")},
    {"AT", "", 1, QT_TRANSLATE_NOOP("CommandDispatch", "AT test")},
    {"AT", "++", 2, QT_TRANSLATE_NOOP("CommandDispatch", "Enter Data mode")},
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

bool CommandDispatch::sendCommand(bool set, const QByteArray &command, int typeCode, const ShownText &label)
{
    LinkSession &session = window_->session();
    session.cmdType = typeCode; // the next reply is read by this command's code, sent or not
    const SendResult result = sendOnLink(SendPayload::Command, command);
    if (ShowsProgress(result))
        window_->setStatusPanel(2, progressText(set, session.route.linkType, window_->chinese(), label));
    if (result != SendResult::Sent)
        return false;
    Q_EMIT commandSent(typeCode);
    return true;
}

bool CommandDispatch::sendSetCommand(const QByteArray &command, int typeCode, const ShownText &label)
{
    return sendCommand(true, command, typeCode, label);
}

bool CommandDispatch::sendReadCommand(const QByteArray &command, int typeCode, const ShownText &label)
{
    return sendCommand(false, command, typeCode, label);
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
    sendSetCommand(command.bytes, command.typeCode, ShownText::translated("CommandDispatch", mode.caption));
}
