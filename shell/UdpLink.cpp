#include "shell/ConsoleLog.h"
#include "shell/MessageBoxes.h"
#include "shell/Unit1.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QUdpSocket>

// The UDP endpoint serves device discovery only: requests go out from the discovery port, and every
// datagram that comes back is listed in the search result box. Nothing here reaches the console's
// receive lines or the reply parser.

namespace {
// The endpoint speaks IPv4 only; a host name resolves to its first IPv4 address.
QHostAddress resolveIPv4(const QString &host, bool chinese, QString *error)
{
    QHostAddress address;
    if (address.setAddress(host)) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address;
        *error =
            InLanguage(chinese, QStringLiteral("Not an IPv4 address: "), QStringLiteral("不是IPv4地址：")) +
            host;
        return QHostAddress();
    }
    const QHostInfo info = QHostInfo::fromName(host);
    for (const QHostAddress &candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol)
            return candidate;
    }
    *error = info.error() != QHostInfo::NoError
                 ? info.errorString()
                 : InLanguage(chinese, QStringLiteral("No IPv4 address for host "),
                              QStringLiteral("主机没有IPv4地址：")) +
                       host;
    return QHostAddress();
}
} // namespace

void TForm1::bindUdpEndpoint()
{
    udpSocket_ = new QUdpSocket(this);
    udpSocket_->setObjectName(QStringLiteral("udpSocket"));
    connect(udpSocket_, &QUdpSocket::readyRead, this, &TForm1::readUdpDatagrams);
    // A port held by another program is not reported at start-up: the next send tries again and
    // shows the error then.
    bindUdpSocket();
}

bool TForm1::bindUdpSocket()
{
    // DontShareAddress: a shared bind would succeed beside another program on the port, and the
    // replies would then reach only one of us.
    // Qt enables broadcast on every UDP socket it creates.
    return udpSocket_->bind(QHostAddress(QHostAddress::AnyIPv4), static_cast<quint16>(udpLocalPort_),
                            QAbstractSocket::DontShareAddress);
}

void TForm1::SendUdp(const QByteArray &data, const QString &host, int port)
{
    if (data.isEmpty() || host.isEmpty())
        return;
    // Without this check Qt would bind an unbound socket to a random port, and replies addressed to
    // the discovery port would never reach us.
    if (udpSocket_->state() != QAbstractSocket::BoundState && !bindUdpSocket()) {
        Boxes::error(this, udpSocket_->errorString());
        return;
    }
    if (port < 1 || port > 65535) {
        Boxes::error(this,
                     inLanguage(QStringLiteral("Invalid UDP port: "), QStringLiteral("无效的UDP端口：")) +
                         QString::number(port));
        return;
    }
    QString error;
    const QHostAddress address = resolveIPv4(host, chinese(), &error);
    if (address.isNull()) {
        Boxes::error(this, error);
        return;
    }
    if (udpSocket_->writeDatagram(data, address, static_cast<quint16>(port)) != data.size()) {
        Boxes::error(this, udpSocket_->errorString());
        return;
    }
    console_->addEmptyLine();
    console_->addDataLine(QStringLiteral("UDP Send:"), data);
    if (settings_.showHex)
        console_->addHexLine(data);
}

void TForm1::readUdpDatagrams()
{
    while (udpSocket_->hasPendingDatagrams()) {
        // Read whole, whatever the size: a fixed buffer would cut long replies.
        const QNetworkDatagram datagram = udpSocket_->receiveDatagram();
        if (!datagram.isValid())
            break;
        const QHostAddress sender(datagram.senderAddress().toIPv4Address());
        searchResultEdit->appendPlainText(sender.toString() + QLatin1Char(':') +
                                          ConsoleLog::renderBytes(datagram.data()));
    }
}
