#pragma once

// Loopback peers for the TCP link's tests. Everything listens on 127.0.0.1 with a port the system
// picks, so no test ever reaches another machine.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A server that accepts every connection and keeps what it receives.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    LoopbackServer();
    quint16 port() const { return server_.serverPort(); }
    bool isListening() const { return server_.isListening(); }

    int connectionCount() const { return connectionCount_; }
    QByteArray received() const { return received_; } // every byte of every connection, in order
    void clearReceived() { received_.clear(); }
    QTcpSocket *peer() const { return peer_; } // the newest connection, null once it is gone
    bool peerConnected() const;

    // Ways for the peer to end the newest connection.
    void closePeer();
    void resetPeer(); // RST instead of FIN

private:
    QTcpServer server_;
    QPointer<QTcpSocket> peer_;
    QByteArray received_;
    int connectionCount_ = 0;
};

// A loopback port whose listen queue is full: a new connection attempt gets no answer at all,
// as from a host that has gone away.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    bool isValid() const { return port_ != 0; }
    quint16 port() const { return port_; }
    // Empties the queue, so that the next retry of a waiting connection attempt gets through.
    void openUp();

private:
    int listenFd_ = -1;
    QList<int> fillers_;
    quint16 port_ = 0;
};

// A loopback port with nothing listening on it: connections are refused at once.
quint16 closedLoopbackPort();
