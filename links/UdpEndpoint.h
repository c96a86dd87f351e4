#pragma once

// The UDP endpoint of device discovery: bound to one local port on every IPv4 address (modules answer
// to the port a request came from), it sends datagrams and reports every one that comes back with its
// sender. IPv4 only, as the modules. Failures carry one line for the user in the language of the
// installed catalogue; errorString() is the system's own word on the last one.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QUdpSocket;

// A host as the user gave it, turned into an IPv4 address: a dotted address as it is, a name to its
// first IPv4 address.
struct Ipv4Lookup {
    enum class Failure { None, NotIpv4, NoIpv4Address, LookupFailed };
    QHostAddress address;
    Failure failure = Failure::None;
    QString lookupError; // the resolver's word, for LookupFailed
};
Ipv4Lookup LookUpIpv4(const QString &host);

class UdpEndpoint final : public QObject {
    Q_OBJECT

public:
    explicit UdpEndpoint(QObject *parent = nullptr);

    // Not shared: beside another program on the port, the answers would reach only one of us.
    // 0 binds any free port.
    bool bind(quint16 localPort);
    bool isBound() const;
    quint16 localPort() const;
    QString errorString() const;

    // Bind first: unbound, Qt would pick a random port, and answers to the discovery port would never
    // reach us. False with one line for the user.
    bool send(const QByteArray &datagram, const QHostAddress &address, quint16 port, QString *reason);

Q_SIGNALS:
    void bytesSent(const QByteArray &bytes);
    void datagramReceived(const QHostAddress &sender, const QByteArray &datagram);

private:
    void readDatagrams();
    QUdpSocket *socket_;
};
