#pragma once

// Finds modules on the local network: one request datagram from the discovery port, and every
// datagram that comes back is an answer, listed with its sender as the window lists it.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class UdpEndpoint;

inline const QByteArray kDiscoveryRequest = QByteArrayLiteral("REQUEST_DEVICE_DISCOVERY"); // "搜索"
inline const QByteArray kSearchRequest = QByteArrayLiteral("REQUEST_DEVICE_SEARCH");       // "搜索2"
inline const QString kDefaultDiscoveryAddress = QStringLiteral("255.255.255.255");
constexpr quint16 kDiscoveryPort = 6999;
// Requests leave from this port: modules answer to the port a request came from.
constexpr quint16 kDiscoveryLocalPort = 6998;

class DeviceDiscovery final : public QObject {
    Q_OBJECT

public:
    explicit DeviceDiscovery(QObject *parent = nullptr);

    // Binds localPort (0: any free port) and sends request to host:port. False with one line for the
    // user when the port is taken or the host has no IPv4 address.
    bool send(const QByteArray &request, const QString &host, quint16 port, quint16 localPort,
              QString *reason);

Q_SIGNALS:
    void bytesSent(const QByteArray &bytes);
    void answered(const QHostAddress &sender, const QByteArray &answer);

private:
    UdpEndpoint *endpoint_;
};
