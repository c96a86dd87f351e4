#pragma once

// The device search: requests go out from the discovery port, and every datagram that comes back
// becomes one line of the search result list. Nothing here reaches the console's receive lines or
// the reply parser.

#include <QObject>
#include <QString>

class MainWindow;
class QHostAddress;
class UdpEndpoint;

class DiscoverySearch final : public QObject {
    Q_OBJECT

public:
    // localPort: the endpoint's port whenever it binds (start-up, and the retry on each send). The
    // start-up bind runs from the event loop, after the window is shown: the first frame needs no
    // network stack.
    DiscoverySearch(MainWindow *window, int localPort);

    // Where the search buttons send their requests; tests aim it at a listener of their own.
    struct Target {
        QString host;
        int port;
    };
    const Target &target() const { return target_; }
    void setTarget(const Target &target) { target_ = target; }

    void sendRequest(const QByteArray &request) { send(request, target_.host, target_.port); }
    void send(const QByteArray &data, const QString &host, int port);
    // Made and given its start-up bind on first use, if the event loop has not done it yet.
    UdpEndpoint *endpoint();

Q_SIGNALS:
    void answerListed(const QString &line);

private:
    bool bind();

    MainWindow *window_;
    UdpEndpoint *endpoint_ = nullptr;
    int localPort_;
    Target target_{QStringLiteral("255.255.255.255"), 6999};
};
