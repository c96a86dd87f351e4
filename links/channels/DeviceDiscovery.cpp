#include "links/channels/DeviceDiscovery.h"

#include "links/UdpEndpoint.h"

DeviceDiscovery::DeviceDiscovery(QObject *parent) : QObject(parent), endpoint_(new UdpEndpoint(this))
{
    connect(endpoint_, &UdpEndpoint::bytesSent, this, &DeviceDiscovery::bytesSent);
    connect(endpoint_, &UdpEndpoint::datagramReceived, this, &DeviceDiscovery::answered);
}

bool DeviceDiscovery::send(const QByteArray &request, const QString &host, quint16 port, quint16 localPort,
                           QString *reason)
{
    const Ipv4Lookup lookup = LookUpIpv4(host);
    if (lookup.failure != Ipv4Lookup::Failure::None) {
        *reason = tr("no IPv4 address for %1").arg(host);
        return false;
    }
    if (!endpoint_->isBound() && !endpoint_->bind(localPort)) {
        *reason = tr("cannot use UDP port %1: %2 (give --local-port 0 for any free port)")
                      .arg(localPort)
                      .arg(endpoint_->errorString());
        return false;
    }
    return endpoint_->send(request, lookup.address, port, reason);
}
