#include "links/channels/DeviceDiscovery.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

DeviceDiscovery::DeviceDiscovery(bool chinese, QObject *parent)
    : QObject(parent), chinese_(chinese), socket_(new QUdpSocket(this))
{
    connect(socket_, &QUdpSocket::readyRead, this, &DeviceDiscovery::readAnswers);
}

bool DeviceDiscovery::send(const QByteArray &request, const QString &host, quint16 port, quint16 localPort,
                           QString *reason)
{
    // The modules speak IPv4 only; a host name goes to its first IPv4 address.
    QHostAddress address;
    if (!address.setAddress(host)) {
        const QHostInfo info = QHostInfo::fromName(host);
        for (const QHostAddress &candidate : info.addresses()) {
            if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
                address = candidate;
                break;
            }
        }
    }
    if (address.protocol() != QAbstractSocket::IPv4Protocol) {
        *reason = say(QStringLiteral("no IPv4 address for %1"), QStringLiteral("%1没有IPv4地址")).arg(host);
        return false;
    }
    // No shared bind: beside another program on the port, the answers would reach only one of us.
    if (socket_->state() != QAbstractSocket::BoundState &&
        !socket_->bind(QHostAddress(QHostAddress::AnyIPv4), localPort, QAbstractSocket::DontShareAddress)) {
        *reason = say(QStringLiteral("cannot use UDP port %1: %2 (give --local-port 0 for any free port)"),
                      QStringLiteral("无法使用UDP端口%1：%2（用 --local-port 0 选任一空闲端口）"))
                      .arg(localPort)
                      .arg(socket_->errorString());
        return false;
    }
    if (socket_->writeDatagram(request, address, port) != request.size()) {
        *reason = say(QStringLiteral("cannot send to %1:%2: %3"), QStringLiteral("无法发送到%1:%2：%3"))
                      .arg(address.toString())
                      .arg(port)
                      .arg(socket_->errorString());
        return false;
    }
    Q_EMIT bytesSent(request);
    return true;
}

void DeviceDiscovery::readAnswers()
{
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_->receiveDatagram();
        if (!datagram.isValid())
            break;
        Q_EMIT answered(QHostAddress(datagram.senderAddress().toIPv4Address()), datagram.data());
    }
}
