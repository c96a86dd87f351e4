#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

LoopbackServer::LoopbackServer()
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            ++connectionCount_;
            peer_ = socket;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { received_ += socket->readAll(); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool LoopbackServer::peerConnected() const
{
    return peer_ && peer_->state() == QAbstractSocket::ConnectedState;
}

void LoopbackServer::closePeer()
{
    if (peer_)
        peer_->disconnectFromHost();
}

void LoopbackServer::resetPeer()
{
    if (!peer_)
        return;
    // A zero linger time makes close() send RST and drop the connection at once.
    const linger hard{1, 0};
    ::setsockopt(int(peer_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    peer_->abort();
}

namespace {
sockaddr_in loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// True when a non-blocking connect to the port completes within the wait.
bool connects(int fd, quint16 port, int waitMs)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    const sockaddr_in address = loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, waitMs) != 1)
        return false;
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    return error == 0;
}
} // namespace

SilentListener::SilentListener()
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        ::listen(listenFd_, 0) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr *>(&address), &size) != 0)
        return;
    const quint16 port = ntohs(address.sin_port);
    // Never accepting, fill the queue until an attempt hangs: from then on the kernel drops new SYNs.
    for (int i = 0; i < 16; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        fillers_.append(fd);
        if (!connects(fd, port, 300)) {
            port_ = port;
            return;
        }
    }
}

SilentListener::~SilentListener()
{
    for (const int fd : fillers_)
        ::close(fd);
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

void SilentListener::openUp()
{
    for (const int fd : fillers_)
        ::close(fd);
    fillers_.clear();
    ::fcntl(listenFd_, F_SETFL, ::fcntl(listenFd_, F_GETFL) | O_NONBLOCK);
    for (int fd; (fd = ::accept(listenFd_, nullptr, nullptr)) >= 0;)
        ::close(fd);
}

quint16 closedLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close(); // nothing listens there any more
    return port;
}
