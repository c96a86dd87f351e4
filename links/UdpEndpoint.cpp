#include "links/UdpEndpoint.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>

Ipv4Lookup LookUpIpv4(const QString &host)
{
    Ipv4Lookup lookup;
    QHostAddress address;
    if (address.setAddress(host)) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            lookup.address = address;
        else
            lookup.failure = Ipv4Lookup::Failure::NotIpv4;
        return lookup;
    }
    const QHostInfo info = QHostInfo::fromName(host);
    for (const QHostAddress &candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            lookup.address = candidate;
            return lookup;
        }
    }
    lookup.failure = info.error() != QHostInfo::NoError ? Ipv4Lookup::Failure::LookupFailed
                                                        : Ipv4Lookup::Failure::NoIpv4Address;
    lookup.lookupError = info.errorString();
    return lookup;
}

UdpEndpoint::UdpEndpoint(QObject *parent) : QObject(parent), socket_(new QUdpSocket(this))
{
    socket_->setObjectName(QStringLiteral("udpSocket"));
    // Discovery is a broadcast on the local network, which no proxy carries; without this the bind
    // asks the system's proxy settings (libproxy, on a thread of its own) first.
    socket_->setProxy(QNetworkProxy::NoProxy);
    connect(socket_, &QUdpSocket::readyRead, this, &UdpEndpoint::readDatagrams);
}

bool UdpEndpoint::bind(quint16 localPort)
{
    // Qt enables broadcast on every UDP socket it creates.
    return socket_->bind(QHostAddress(QHostAddress::AnyIPv4), localPort, QAbstractSocket::DontShareAddress);
}

bool UdpEndpoint::isBound() const
{
    return socket_->state() == QAbstractSocket::BoundState;
}

quint16 UdpEndpoint::localPort() const
{
    return socket_->localPort();
}

QString UdpEndpoint::errorString() const
{
    return socket_->errorString();
}

bool UdpEndpoint::send(const QByteArray &datagram, const QHostAddress &address, quint16 port, QString *reason)
{
    if (socket_->writeDatagram(datagram, address, port) != datagram.size()) {
        *reason =
            tr("cannot send to %1:%2: %3").arg(address.toString()).arg(port).arg(socket_->errorString());
        return false;
    }
    Q_EMIT bytesSent(datagram);
    return true;
}

void UdpEndpoint::readDatagrams()
{
    while (socket_->hasPendingDatagrams()) {
        // Read whole, whatever the size: a fixed buffer would cut long answers.
        const QNetworkDatagram datagram = socket_->receiveDatagram();
        if (!datagram.isValid())
            break;
        Q_EMIT datagramReceived(QHostAddress(datagram.senderAddress().toIPv4Address()), datagram.data());
    }
}
