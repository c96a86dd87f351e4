#include "links/channels/TcpChannel.h"

#include "links/ReplyGatherer.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace {
const QByteArray kModuleFrameStart = QByteArrayLiteral("\xA8\x81");

// A reply that can be handed on before the quiet time: text that has visibly ended.
bool hasEnded(const QByteArray &reply)
{
    return reply.endsWith('\n') && !reply.contains(kModuleFrameStart);
}
} // namespace

TcpChannel::TcpChannel(const QString &host, quint16 port, const LinkRoute &route, bool chinese,
                       QObject *parent)
    : OpenChannel(chinese, parent), host_(host), port_(port), route_(route), socket_(new QTcpSocket(this)),
      quiet_(new QTimer(this)),
      sender_([](const QByteArray &) { return false; },
              [this](const QByteArray &bytes) {
                  return socket_->state() == QAbstractSocket::ConnectedState &&
                         socket_->write(bytes) == bytes.size();
              },
              [this](const QString &, const QByteArray &bytes) { Q_EMIT bytesSent(bytes); })
{
    quiet_->setSingleShot(true);
    quiet_->setTimerType(Qt::PreciseTimer);
    // Due at the first millisecond at which the quiet time has been exceeded, not merely reached.
    quiet_->setInterval(ReplyGatherer::kDefaultQuietMs + 1);
    connect(quiet_, &QTimer::timeout, this, &TcpChannel::deliver);
    // A peer that floods is held back by TCP flow control, not in this process's memory. Qt reads on
    // once readArrived has taken what the buffer holds.
    socket_->setReadBufferSize(kMaxReplyBytes);
    connect(socket_, &QTcpSocket::readyRead, this, &TcpChannel::readArrived);
    connect(socket_, &QTcpSocket::disconnected, this, &TcpChannel::onDisconnected);
}

QString TcpChannel::destination() const
{
    return QStringLiteral("%1:%2").arg(host_).arg(port_);
}

bool TcpChannel::open(int timeoutMs, QString *reason)
{
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    socket_->connectToHost(host_, port_);
    limit.start(timeoutMs);
    if (socket_->state() != QAbstractSocket::ConnectedState &&
        socket_->state() != QAbstractSocket::UnconnectedState)
        loop.exec();
    if (socket_->state() == QAbstractSocket::ConnectedState)
        return true;
    // Without this an unanswered connect keeps trying for minutes.
    const bool timedOut = socket_->state() != QAbstractSocket::UnconnectedState;
    socket_->abort();
    *reason = timedOut ? say(QStringLiteral("no answer from %1 within %2 ms"),
                             QStringLiteral("%1在%2毫秒内没有应答"))
                             .arg(destination())
                             .arg(timeoutMs)
                       : connectFailure(socket_->error());
    return false;
}

QString TcpChannel::connectFailure(QAbstractSocket::SocketError error) const
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return say(QStringLiteral("connection refused by %1 (nothing listens on that port)"),
                   QStringLiteral("%1拒绝连接（该端口上没有服务）"))
            .arg(destination());
    case QAbstractSocket::HostNotFoundError:
        return say(QStringLiteral("host not found: %1"), QStringLiteral("找不到主机：%1")).arg(host_);
    case QAbstractSocket::SocketTimeoutError:
        return say(QStringLiteral("no answer from %1"), QStringLiteral("%1没有应答")).arg(destination());
    default:
        return say(QStringLiteral("cannot connect to %1: %2"), QStringLiteral("无法连接%1：%2"))
            .arg(destination(), socket_->errorString());
    }
}

bool TcpChannel::sendCommand(const BuiltCommand &command)
{
    return sender_.send(route_, SendPayload::Command, command.bytes) == SendResult::Sent;
}

void TcpChannel::readArrived()
{
    const QByteArray bytes = socket_->readAll();
    if (bytes.isEmpty())
        return;
    Q_EMIT bytesReceived(bytes);
    if (dropping_) {
        quiet_->start();
        return;
    }
    pending_ += bytes;
    if (pending_.size() > kMaxReplyBytes) {
        pending_.clear();
        dropping_ = true;
        quiet_->start();
        Q_EMIT replyTooLong();
        return;
    }
    if (hasEnded(pending_))
        deliver();
    else
        quiet_->start();
}

void TcpChannel::deliver()
{
    quiet_->stop();
    dropping_ = false; // quiet at last, or closed: what comes next is a reply again
    if (pending_.isEmpty())
        return;
    QByteArray reply;
    reply.swap(pending_);
    Q_EMIT replyReceived(reply);
}

void TcpChannel::onDisconnected()
{
    if (lost_)
        return;
    lost_ = true;
    readArrived(); // what came just before the close is still a reply
    deliver();
    Q_EMIT linkLost(say(QStringLiteral("the connection to %1 was closed"), QStringLiteral("与%1的连接已关闭"))
                        .arg(destination()));
}
