#pragma once

// One TCP client connection to a module or the relay server, without blocking: opening returns at
// once and the outcome follows as connected or failed. Every read event comes out as bytesReceived, as
// it came (where a reply ends is TcpReplyFramer's business); failures carry one line for the user in
// the language of the installed catalogue.

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QTimer;

class TcpConnection final : public QObject {
    Q_OBJECT

public:
    // An asynchronous connect that gets no answer keeps trying for minutes; the user should hear sooner.
    static constexpr int kDefaultGiveUpMs = 5000;

    explicit TcpConnection(QObject *parent = nullptr);

    void setGiveUpMs(int ms);
    // Ends what is open (an established connection reports disconnected) and starts connecting to
    // host:port. A port outside 1..65535 or a name under .invalid fails like an unknown host: failed
    // follows from the event loop, the caller is not interrupted.
    void open(const QString &host, int port);
    // Opens again to the host and port last given, unless established, and blocks up to ms for the
    // connection. An attempt that outlives the wait goes on in the background, so that its connected
    // or failed still comes. True when established.
    bool reconnect(int ms);
    void close();

    bool isConnected() const { return state() == QAbstractSocket::ConnectedState; }
    QAbstractSocket::SocketState state() const;
    // Sends every byte on an established connection; false, and nothing sent, on any other.
    bool write(const QByteArray &bytes);

    QString host() const { return host_; }
    int port() const { return port_; }
    QString destination() const; // "host:port" as given
    // Of the connection as it stands now: null and 0 when none was made.
    QHostAddress peerAddress() const;
    quint16 peerPort() const;

Q_SIGNALS:
    void connected();
    // An established connection ended: closed here, by the peer, or after a network failure.
    void disconnected();
    // A connect failed or gave up, or the network failed (disconnected follows on an established one).
    void failed(QAbstractSocket::SocketError error, const QString &reason);
    void bytesReceived(const QByteArray &bytes);
    void bytesSent(const QByteArray &bytes);

private:
    void readArrived();
    void onError(QAbstractSocket::SocketError error);
    void giveUp();
    QString failure(QAbstractSocket::SocketError error) const;
    QAbstractSocket *socket_;
    QTimer *giveUpTimer_;
    QString host_;
    int port_ = 0;
    bool established_ = false; // from connected until disconnected: failures are of the connection
};
