#pragma once

// Sends over the link the user chose: the serial port; the module's own TCP port on the LAN, commands
// behind the LAN command prefix; the relay server on the Internet, in a relay frame. The owner supplies
// the two ways out and the console; this class wraps the bytes for the link, writes the sender's
// console lines once the bytes have left, and tells the caller how the send went.

#include <QByteArray>
#include <QString>
#include <functional>

struct LinkRoute {
    int linkType = 0; // 0 serial, 1 LAN, 2 Internet through the relay server
    QString targetId; // the module that the Internet link addresses
    QString targetZone;
    bool targetZoneValid = false;
    QString localId; // this tool, as the relay server knows it
};

enum class SendPayload {
    Command, // an AT command: behind the LAN prefix on the LAN, in a module frame on the Internet
    Data,    // raw data: as it is on the LAN, the relay frame's own payload on the Internet
};

enum class SendResult {
    Sent,
    SerialFailed, // the serial layer has shown its message box
    TcpFailed,    // the TCP link has put its error in the status bar
    NoLink,       // a link type without a link: nothing was sent
};

// Whether the sender's progress text belongs in the status bar now. A failed serial write has had its
// box, and the text follows all the same; a failed TCP send keeps its error in view.
bool ShowsProgress(SendResult result);

class LinkSender {
public:
    // True when every byte was handed on; a failure has told the user already.
    using Write = std::function<bool(const QByteArray &bytes)>;
    // One sent block for the console: its line (label + bytes) and, when the user wants it, the HEX line.
    using Log = std::function<void(const QString &label, const QByteArray &bytes)>;

    LinkSender(Write serial, Write tcp, Log log);

    SendResult send(const LinkRoute &route, SendPayload payload, const QByteArray &bytes) const;
    SendResult sendSerial(const QByteArray &bytes) const;
    SendResult sendTcp(const QByteArray &bytes) const;
    // The relay frame from localId to targetId around payload, on the TCP connection.
    SendResult sendRelay(const QString &localId, const QString &targetId, const QByteArray &payload) const;

private:
    Write serial_;
    Write tcp_;
    Log log_;
};
