#include "window/DiscoverySearch.h"

#include "links/UdpEndpoint.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QTimer>

DiscoverySearch::DiscoverySearch(MainWindow *window, int localPort)
    : QObject(window), window_(window), localPort_(localPort)
{
    QTimer::singleShot(0, this, &DiscoverySearch::endpoint);
}

UdpEndpoint *DiscoverySearch::endpoint()
{
    if (endpoint_ != nullptr)
        return endpoint_;
    endpoint_ = new UdpEndpoint(this);
    // The endpoint's own failure lines go unused: the window shows the system's word in its boxes.
    connect(endpoint_, &UdpEndpoint::datagramReceived, this,
            [this](const QHostAddress &sender, const QByteArray &datagram) {
                Q_EMIT answerListed(sender.toString() + QLatin1Char(':') + ConsoleLog::renderBytes(datagram));
            });
    // A port held by another program is not reported at start-up: the next send tries again and
    // shows the error then.
    bind();
    return endpoint_;
}

bool DiscoverySearch::bind()
{
    return endpoint_->bind(static_cast<quint16>(localPort_));
}

void DiscoverySearch::send(const QByteArray &data, const QString &host, int port)
{
    if (data.isEmpty() || host.isEmpty())
        return;
    if (!endpoint()->isBound() && !bind()) {
        Boxes::error(window_, endpoint_->errorString());
        return;
    }
    if (port < 1 || port > 65535) {
        Boxes::error(window_, tr("Invalid UDP port: ") + QString::number(port));
        return;
    }
    const Ipv4Lookup lookup = LookUpIpv4(host);
    switch (lookup.failure) {
    case Ipv4Lookup::Failure::None:
        break;
    case Ipv4Lookup::Failure::NotIpv4:
        Boxes::error(window_, tr("Not an IPv4 address: ") + host);
        return;
    case Ipv4Lookup::Failure::NoIpv4Address:
        Boxes::error(window_, tr("No IPv4 address for host ") + host);
        return;
    case Ipv4Lookup::Failure::LookupFailed:
        Boxes::error(window_, lookup.lookupError);
        return;
    }
    QString unused;
    if (!endpoint_->send(data, lookup.address, static_cast<quint16>(port), &unused)) {
        Boxes::error(window_, endpoint_->errorString());
        return;
    }
    ConsoleLog *console = window_->console();
    console->addEmptyLine();
    console->addDataLine(QStringLiteral("UDP Send:"), data);
    if (window_->settings().showHex)
        console->addHexLine(data);
}
