#pragma once

// The module over TCP: straight to its own port on the LAN (commands behind the LAN prefix), or
// through the relay server (each command in a module frame inside a relay frame). Replies are gathered
// by the serial quiet-time rule, except that a text reply is handed on as soon as it ends with a line
// end: every module answer ends with CR LF, and waiting out the quiet time after each would triple the
// time of a run on a fast link. A module reply frame has no line end of its own; it waits for the
// quiet time and goes on whole. A reply that passes kMaxReplyBytes is dropped, and so is everything
// after it until the quiet time passes.

#include "links/LinkSender.h"
#include "links/channels/OpenChannel.h"

#include <QAbstractSocket>

class QTcpSocket;
class QTimer;

class TcpChannel final : public OpenChannel {
    Q_OBJECT

public:
    // route.linkType 1 (LAN) or 2 (relay, with its target and local IDs).
    TcpChannel(const QString &host, quint16 port, const LinkRoute &route, bool chinese,
               QObject *parent = nullptr);

    bool open(int timeoutMs, QString *reason) override;
    QString destination() const override;
    bool sendCommand(const BuiltCommand &command) override;

private:
    QString connectFailure(QAbstractSocket::SocketError error) const;
    void readArrived();
    void deliver();
    void onDisconnected();

    QString host_;
    quint16 port_;
    LinkRoute route_;
    QTcpSocket *socket_;
    QTimer *quiet_;
    LinkSender sender_;
    QByteArray pending_;
    bool dropping_ = false; // a reply passed kMaxReplyBytes and the link has not been quiet since
    bool lost_ = false;
};
