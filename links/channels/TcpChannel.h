#pragma once

// The module over TCP: straight to its own port on the LAN (commands behind the LAN prefix), or
// through the relay server (each command in a module frame inside a relay frame). Replies end by the
// TCP reply rule (TcpReplyFramer).

#include "links/LinkSender.h"
#include "links/channels/OpenChannel.h"

class TcpConnection;
class TcpReplyFramer;

class TcpChannel final : public OpenChannel {
    Q_OBJECT

public:
    // route.linkType 1 (LAN) or 2 (relay, with its target and local IDs).
    TcpChannel(const QString &host, quint16 port, const LinkRoute &route, QObject *parent = nullptr);

    bool open(int timeoutMs, QString *reason) override;
    QString destination() const override;
    bool sendCommand(const BuiltCommand &command) override;

private:
    void onDisconnected();

    QString host_;
    quint16 port_;
    LinkRoute route_;
    TcpConnection *connection_;
    TcpReplyFramer *framer_;
    LinkSender sender_;
    bool lost_ = false;
};
