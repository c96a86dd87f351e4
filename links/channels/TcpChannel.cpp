#include "links/channels/TcpChannel.h"

#include "links/TcpConnection.h"
#include "links/TcpReplyFramer.h"

#include <QEventLoop>
#include <QTimer>
#include <optional>

TcpChannel::TcpChannel(const QString &host, quint16 port, const LinkRoute &route, QObject *parent)
    : OpenChannel(parent), host_(host), port_(port), route_(route), connection_(new TcpConnection(this)),
      framer_(new TcpReplyFramer(TcpReplyFramer::Clock(), this)),
      sender_([](const QByteArray &) { return false; },
              [this](const QByteArray &bytes) { return connection_->write(bytes); },
              [](const QString &, const QByteArray &) {})
{
    static_assert(TcpReplyFramer::kMaxReplyBytes == kMaxReplyBytes);
    connect(connection_, &TcpConnection::bytesSent, this, &OpenChannel::bytesSent);
    connect(connection_, &TcpConnection::bytesReceived, this, [this](const QByteArray &bytes) {
        Q_EMIT bytesReceived(bytes);
        framer_->add(bytes);
    });
    connect(connection_, &TcpConnection::disconnected, this, &TcpChannel::onDisconnected);
    connect(framer_, &TcpReplyFramer::replyReceived, this, &CommandChannel::replyReceived);
    connect(framer_, &TcpReplyFramer::replyTooLong, this, &CommandChannel::replyTooLong);
}

QString TcpChannel::destination() const
{
    return QStringLiteral("%1:%2").arg(host_).arg(port_);
}

bool TcpChannel::open(int timeoutMs, QString *reason)
{
    QEventLoop loop;
    std::optional<QString> failure;
    bool done = false;
    const QMetaObject::Connection onConnected = connect(connection_, &TcpConnection::connected, &loop, [&] {
        done = true;
        loop.quit();
    });
    const QMetaObject::Connection onFailed = connect(connection_, &TcpConnection::failed, &loop,
                                                     [&](QAbstractSocket::SocketError, const QString &why) {
                                                         failure = why;
                                                         done = true;
                                                         loop.quit();
                                                     });
    connection_->setGiveUpMs(timeoutMs);
    connection_->open(host_, port_);
    // The connection gives up by itself; this only guards against an attempt that ends unreported.
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(timeoutMs);
    if (!done)
        loop.exec();
    disconnect(onConnected);
    disconnect(onFailed);
    if (connection_->isConnected())
        return true;
    connection_->close();
    *reason = failure.value_or(tr("no answer from %1 within %2 ms").arg(destination()).arg(timeoutMs));
    return false;
}

bool TcpChannel::sendCommand(const BuiltCommand &command)
{
    return sender_.send(route_, SendPayload::Command, command.bytes) == SendResult::Sent;
}

void TcpChannel::onDisconnected()
{
    if (lost_)
        return;
    lost_ = true;
    framer_->flush(); // what came just before the close is still a reply
    Q_EMIT linkLost(tr("the connection to %1 was closed").arg(destination()));
}
