#include "window/TcpLink.h"

#include "links/TcpConnection.h"
#include "links/TcpReplyFramer.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"

#include <exception>

namespace {
// A send that has to reconnect waits this long for the connection before it counts as failed.
constexpr int kReconnectWaitMs = 300;
} // namespace

TcpLink::TcpLink(MainWindow *window)
    : QObject(window), window_(window), connection_(new TcpConnection(this)),
      framer_(new TcpReplyFramer(TcpReplyFramer::Clock(), this))
{
    // The connection's own failure lines go unused: the window words its status texts itself.
    connect(connection_, &TcpConnection::connected, this,
            [this] { showState(tr(":TCP Connected Successfully!")); });
    connect(connection_, &TcpConnection::disconnected, this,
            [this] { showState(tr(":TCP Connected disconnect!")); });
    // a failed or unanswered connect, or a network failure
    connect(connection_, &TcpConnection::failed, this, [this] { showState(tr(":TCP Connected error!")); });
    connect(connection_, &TcpConnection::bytesReceived, this, &TcpLink::received);
    framer_->setObjectName(QStringLiteral("tcpFramer"));
    connect(framer_, &TcpReplyFramer::replyReceived, this, &TcpLink::replyReceived);
}

void TcpLink::open(const QString &host, int port)
{
    connection_->open(host, port);
}

bool TcpLink::deliver(const QByteArray &bytes)
{
    if ((!connection_->isConnected() && !connection_->reconnect(kReconnectWaitMs)) ||
        !connection_->write(bytes)) {
        window_->setStatusPanel(2, tr("Send Error(TCP)!"));
        return false;
    }
    return true;
}

void TcpLink::showState(const QString &state)
{
    const QString peer =
        connection_->peerAddress().toString() + QLatin1Char(':') + QString::number(connection_->peerPort());
    window_->setStatusPanel(1, peer + state);
}

void TcpLink::received(const QByteArray &chunk)
{
    // Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
    try {
        window_->setStatusPanel(2, tr("Recieved data from network(TCP)!"));
        ConsoleLog *console = window_->console();
        if (console->lineCount() > 100)
            console->clearLog();
        console->addDataLine(QStringLiteral("TCP Receive:"), chunk);
        if (window_->settings().showHex)
            console->addHexLine(chunk);
        // The console shows each read event; the parser gets whole replies.
        framer_->add(chunk);
    } catch (const std::exception &) {
    } catch (...) {
    }
}
