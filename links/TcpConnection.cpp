#include "links/TcpConnection.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
// Names under .invalid never resolve (RFC 6761); answering at once keeps the query off the network.
bool isReservedInvalidName(const QString &host)
{
    QString name = host.trimmed().toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name == QLatin1String("invalid") || name.endsWith(QLatin1String(".invalid"));
}
} // namespace

TcpConnection::TcpConnection(QObject *parent)
    : QObject(parent), socket_(new QTcpSocket(this)), giveUpTimer_(new QTimer(this))
{
    socket_->setObjectName(QStringLiteral("tcpSocket"));
    // A peer that sends without pause is held back by TCP flow control, not in this process's memory;
    // no module answer comes near this size.
    socket_->setReadBufferSize(64 * 1024);
    giveUpTimer_->setObjectName(QStringLiteral("tcpConnectTimer"));
    giveUpTimer_->setSingleShot(true);
    giveUpTimer_->setInterval(kDefaultGiveUpMs);
    connect(socket_, &QAbstractSocket::connected, this, [this] {
        giveUpTimer_->stop();
        established_ = true;
        Q_EMIT connected();
    });
    connect(socket_, &QAbstractSocket::disconnected, this, [this] {
        readArrived(); // what came just before the close belongs to the connection
        established_ = false;
        Q_EMIT disconnected();
    });
    connect(socket_, &QAbstractSocket::errorOccurred, this, &TcpConnection::onError);
    connect(socket_, &QAbstractSocket::readyRead, this, &TcpConnection::readArrived);
    connect(giveUpTimer_, &QTimer::timeout, this, &TcpConnection::giveUp);
}

void TcpConnection::setGiveUpMs(int ms)
{
    giveUpTimer_->setInterval(ms);
}

QAbstractSocket::SocketState TcpConnection::state() const
{
    return socket_->state();
}

void TcpConnection::open(const QString &host, int port)
{
    giveUpTimer_->stop();
    socket_->abort(); // an established connection reports its disconnect here
    host_ = host;
    port_ = port;
    established_ = false;
    if (port < 1 || port > 65535 || isReservedInvalidName(host)) {
        const QString reason = port < 1 || port > 65535 ? tr("no such TCP port: %1").arg(port)
                                                        : failure(QAbstractSocket::HostNotFoundError);
        QTimer::singleShot(0, this, [this, host, port, reason] {
            if (host_ == host && port_ == port && socket_->state() == QAbstractSocket::UnconnectedState)
                Q_EMIT failed(QAbstractSocket::HostNotFoundError, reason);
        });
        return;
    }
    socket_->connectToHost(host, static_cast<quint16>(port));
    giveUpTimer_->start();
}

bool TcpConnection::reconnect(int ms)
{
    if (isConnected())
        return true;
    open(host_, port_);
    const bool started = socket_->state() != QAbstractSocket::UnconnectedState;
    // Waits for the connection itself, not a fixed pause: a refusal or success ends the wait early.
    if (socket_->waitForConnected(ms))
        return true;
    // Qt drops an attempt that outlives the wait; it goes on in the background instead.
    if (started && socket_->error() == QAbstractSocket::SocketTimeoutError)
        open(host_, port_);
    return false;
}

void TcpConnection::close()
{
    giveUpTimer_->stop();
    socket_->abort();
}

bool TcpConnection::write(const QByteArray &bytes)
{
    if (!isConnected() || socket_->write(bytes) != bytes.size())
        return false;
    Q_EMIT bytesSent(bytes);
    return true;
}

QString TcpConnection::destination() const
{
    return QStringLiteral("%1:%2").arg(host_).arg(port_);
}

QHostAddress TcpConnection::peerAddress() const
{
    return socket_->peerAddress();
}

quint16 TcpConnection::peerPort() const
{
    return socket_->peerPort();
}

void TcpConnection::readArrived()
{
    const QByteArray bytes = socket_->readAll();
    if (!bytes.isEmpty())
        Q_EMIT bytesReceived(bytes);
}

void TcpConnection::onError(QAbstractSocket::SocketError error)
{
    if (socket_->state() == QAbstractSocket::UnconnectedState)
        giveUpTimer_->stop();
    Q_EMIT failed(error, failure(error));
}

void TcpConnection::giveUp()
{
    const QAbstractSocket::SocketState state = socket_->state();
    if (state != QAbstractSocket::HostLookupState && state != QAbstractSocket::ConnectingState)
        return;
    socket_->abort();
    Q_EMIT failed(QAbstractSocket::SocketTimeoutError,
                  tr("no answer from %1 within %2 ms").arg(destination()).arg(giveUpTimer_->interval()));
}

QString TcpConnection::failure(QAbstractSocket::SocketError error) const
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return tr("connection refused by %1 (nothing listens on that port)").arg(destination());
    case QAbstractSocket::HostNotFoundError:
        return tr("host not found: %1").arg(host_);
    case QAbstractSocket::SocketTimeoutError:
        return tr("no answer from %1").arg(destination());
    case QAbstractSocket::RemoteHostClosedError:
        return tr("the connection to %1 was closed").arg(destination());
    default:
        if (established_)
            return tr("the connection to %1 failed: %2").arg(destination(), socket_->errorString());
        return tr("cannot connect to %1: %2").arg(destination(), socket_->errorString());
    }
}
