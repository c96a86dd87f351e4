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
    bool done = false;
    bool ok = false;
    const QMetaObject::Connection onOpened =
        connect(this, &OpenChannel::opened, &loop, [&](bool opened, const QString &why) {
            ok = opened;
            if (!opened)
                *reason = why;
            done = true;
            loop.quit();
        });
    startOpen(timeoutMs);
    if (!done)
        loop.exec();
    disconnect(onOpened);
    return ok;
}

void TcpChannel::startOpen(int timeoutMs)
{
    // The attempt's connections and its limit end with it.
    auto *attempt = new QObject(this);
    auto *limit = new QTimer(attempt);
    const auto end = [this, attempt, limit, timeoutMs](const std::optional<QString> &failure) {
        limit->stop();
        disconnect(connection_, nullptr, attempt, nullptr);
        attempt->deleteLater();
        if (connection_->isConnected()) {
            Q_EMIT opened(true, QString());
            return;
        }
        connection_->close();
        Q_EMIT opened(
            false, failure.value_or(tr("no answer from %1 within %2 ms").arg(destination()).arg(timeoutMs)));
    };
    connect(connection_, &TcpConnection::connected, attempt, [end] { end(std::nullopt); });
    connect(connection_, &TcpConnection::failed, attempt,
            [end](QAbstractSocket::SocketError, const QString &why) { end(why); });
    // The connection gives up by itself; the limit only guards against an attempt that ends unreported.
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, attempt, [end] { end(std::nullopt); });
    limit->start(timeoutMs);
    connection_->setGiveUpMs(timeoutMs);
    connection_->open(host_, port_);
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
