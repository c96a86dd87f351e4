#include "links/channels/DeviceDiscovery.h"

#include "links/UdpEndpoint.h"

DeviceDiscovery::DeviceDiscovery(bool chinese, QObject *parent)
    : QObject(parent), chinese_(chinese), endpoint_(new UdpEndpoint(chinese, this))
{
    connect(endpoint_, &UdpEndpoint::bytesSent, this, &DeviceDiscovery::bytesSent);
    connect(endpoint_, &UdpEndpoint::datagramReceived, this, &DeviceDiscovery::answered);
}

bool DeviceDiscovery::send(const QByteArray &request, const QString &host, quint16 port, quint16 localPort,
                           QString *reason)
{
    const Ipv4Lookup lookup = LookUpIpv4(host);
    if (lookup.failure != Ipv4Lookup::Failure::None) {
        *reason = say(QStringLiteral("no IPv4 address for %1"), QStringLiteral("%1没有IPv4地址")).arg(host);
        return false;
    }
    if (!endpoint_->isBound() && !endpoint_->bind(localPort)) {
        *reason = say(QStringLiteral("cannot use UDP port %1: %2 (give --local-port 0 for any free port)"),
                      QStringLiteral("无法使用UDP端口%1：%2（用 --local-port 0 选任一空闲端口）"))
                      .arg(localPort)
                      .arg(endpoint_->errorString());
        return false;
    }
    return endpoint_->send(request, lookup.address, port, reason);
}
