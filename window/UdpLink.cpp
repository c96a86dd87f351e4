#include "links/UdpEndpoint.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QPlainTextEdit>

// The UDP endpoint serves device discovery only: requests go out from the discovery port, and every
// datagram that comes back is listed in the search result box. Nothing here reaches the console's
// receive lines or the reply parser.

void MainWindow::bindUdpEndpoint()
{
    // The endpoint's own failure lines go unused: the window shows the system's word in its boxes.
    udpEndpoint_ = new UdpEndpoint(false, this);
    connect(udpEndpoint_, &UdpEndpoint::datagramReceived, this, &MainWindow::listUdpDatagram);
    // A port held by another program is not reported at start-up: the next send tries again and
    // shows the error then.
    bindUdpSocket();
}

bool MainWindow::bindUdpSocket()
{
    return udpEndpoint_->bind(static_cast<quint16>(udpLocalPort_));
}

void MainWindow::sendUdp(const QByteArray &data, const QString &host, int port)
{
    if (data.isEmpty() || host.isEmpty())
        return;
    if (!udpEndpoint_->isBound() && !bindUdpSocket()) {
        Boxes::error(this, udpEndpoint_->errorString());
        return;
    }
    if (port < 1 || port > 65535) {
        Boxes::error(this,
                     inLanguage(QStringLiteral("Invalid UDP port: "), QStringLiteral("无效的UDP端口：")) +
                         QString::number(port));
        return;
    }
    const Ipv4Lookup lookup = LookUpIpv4(host);
    switch (lookup.failure) {
    case Ipv4Lookup::Failure::None:
        break;
    case Ipv4Lookup::Failure::NotIpv4:
        Boxes::error(this,
                     inLanguage(QStringLiteral("Not an IPv4 address: "), QStringLiteral("不是IPv4地址：")) +
                         host);
        return;
    case Ipv4Lookup::Failure::NoIpv4Address:
        Boxes::error(this, inLanguage(QStringLiteral("No IPv4 address for host "),
                                      QStringLiteral("主机没有IPv4地址：")) +
                               host);
        return;
    case Ipv4Lookup::Failure::LookupFailed:
        Boxes::error(this, lookup.lookupError);
        return;
    }
    QString unused;
    if (!udpEndpoint_->send(data, lookup.address, static_cast<quint16>(port), &unused)) {
        Boxes::error(this, udpEndpoint_->errorString());
        return;
    }
    console_->addEmptyLine();
    console_->addDataLine(QStringLiteral("UDP Send:"), data);
    if (settings_.showHex)
        console_->addHexLine(data);
}

void MainWindow::listUdpDatagram(const QHostAddress &sender, const QByteArray &datagram)
{
    searchResultEdit->appendPlainText(sender.toString() + QLatin1Char(':') +
                                      ConsoleLog::renderBytes(datagram));
}
