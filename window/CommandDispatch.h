#pragma once

// Where every command of the window leaves: on the current link (the session's), wrapped for it, with
// its console lines and, once it left, its progress text in the status bar and the type code by
// which the next reply is read.

#include "links/LinkSender.h"

#include <QObject>
#include <memory>

class ShownText;
class ComPorts;
class MainWindow;
class SerialPortDialog;
class TcpLink;

class CommandDispatch final : public QObject {
    Q_OBJECT

public:
    CommandDispatch(MainWindow *window, ComPorts *ports, SerialPortDialog *portDialog, TcpLink *tcp);
    ~CommandDispatch() override;

    // Sends on the current link and logs what left (links/LinkSender).
    SendResult sendOnLink(SendPayload payload, const QByteArray &bytes);
    // Both return whether the command left; a failure has been shown already.
    bool sendSetCommand(const QByteArray &command, int typeCode, const ShownText &label);
    bool sendReadCommand(const QByteArray &command, int typeCode, const ShownText &label);
    bool sendSerial(const QByteArray &command);
    // False when the bytes could not be handed to the connection; the send error is then on show.
    bool sendTcp(const QByteArray &bytes);
    bool sendData(const QByteArray &payload); // relay frame around payload, on the TCP link; as sendTcp
    // The tool panel's mode buttons: 0 "进入配置", 1 "AT", 2 "进入数传".
    void sendModeCommand(int index);

Q_SIGNALS:
    // A command of that type code left through sendSetCommand or sendReadCommand.
    void commandSent(int typeCode);

private:
    bool sendCommand(bool set, const QByteArray &command, int typeCode, const ShownText &label);

    MainWindow *window_;
    std::unique_ptr<LinkSender> sender_;
};
