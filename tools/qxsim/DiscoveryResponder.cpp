#include "DiscoveryResponder.h"

#include "ModuleRegistry.h"
#include "SimLog.h"

#include <QNetworkDatagram>

DiscoveryResponder::DiscoveryResponder(ModuleRegistry &modules, QObject *parent)
    : QObject(parent), m_modules(modules)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, &DiscoveryResponder::answerPending);
}

bool DiscoveryResponder::bind(const ListenAddress &address, QString &error)
{
    if (m_socket.bind(address.host, address.port))
        return true;
    error = QStringLiteral("UDP port %1:%2: %3")
                .arg(address.host.toString())
                .arg(address.port)
                .arg(m_socket.errorString());
    return false;
}

QString DiscoveryResponder::boundAddress() const
{
    return QStringLiteral("%1:%2").arg(m_socket.localAddress().toString()).arg(m_socket.localPort());
}

void DiscoveryResponder::answerPending()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram request = m_socket.receiveDatagram();
        const QByteArray text = request.data();
        const QString link =
            QStringLiteral("udp:%1:%2").arg(request.senderAddress().toString()).arg(request.senderPort());
        logTraffic(link, "<-", text);
        if (text != "REQUEST_DEVICE_DISCOVERY" && text != "REQUEST_DEVICE_SEARCH")
            continue;
        // The address the request reached, so a responder bound to all interfaces names the right one.
        QHostAddress own = request.destinationAddress();
        if (own.isNull() || own.protocol() != QAbstractSocket::IPv4Protocol)
            own = m_socket.localAddress();
        for (const std::unique_ptr<SimModule> &module : m_modules.modules()) {
            const QByteArray reply = "QX5120,ID=" + module->id() + ",IP=" + own.toString().toLatin1() +
                                     ",MAC=" + module->stationMac();
            logTraffic(link, "->", reply);
            m_socket.writeDatagram(reply, request.senderAddress(), request.senderPort());
        }
    }
}
