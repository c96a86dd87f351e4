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
    : QObject(window), window_(window), connection_(new TcpConnection(false, this)),
      framer_(new TcpReplyFramer(TcpReplyFramer::Clock(), this))
{
    // The connection's own failure lines go unused: the window words its status texts itself.
    connect(connection_, &TcpConnection::connected, this, [this] {
        showState(QStringLiteral(":TCP Connected Successfully!"), QStringLiteral(":TCP连接成功！"));
    });
    connect(connection_, &TcpConnection::disconnected, this, [this] {
        showState(QStringLiteral(":TCP Connected disconnect!"), QStringLiteral(":TCP连接失败！"));
    });
    // a failed or unanswered connect, or a network failure
    connect(connection_, &TcpConnection::failed, this,
            [this] { showState(QStringLiteral(":TCP Connected error!"), QStringLiteral(":TCP连接出错！")); });
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
        window_->setStatusPanel(
            2, window_->inLanguage(QStringLiteral("Send Error(TCP)!"),
                                   QStringLiteral("向Wifi模块用TCP协议发送数据时出现错误！")));
        return false;
    }
    return true;
}

void TcpLink::showState(const QString &english, const QString &chinese)
{
    const QString peer =
        connection_->peerAddress().toString() + QLatin1Char(':') + QString::number(connection_->peerPort());
    window_->setStatusPanel(1, peer + window_->inLanguage(english, chinese));
}

void TcpLink::received(const QByteArray &chunk)
{
    // Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
    try {
        window_->setStatusPanel(2, window_->inLanguage(QStringLiteral("Recieved data from network(TCP)!"),
                                                       QStringLiteral("收到来自网络(TCP)的数据！")));
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
