#include "window/MainWindow.h"

#include "links/TcpConnection.h"
#include "links/TcpReplyFramer.h"
#include "protocol/ReplyInterpreter.h"
#include "window/ConsoleLog.h"

#include <exception>

namespace {
// A send that has to reconnect waits this long for the connection before it counts as failed.
constexpr int kReconnectWaitMs = 300;

QString sendErrorText(bool chinese)
{
    return InLanguage(chinese, QStringLiteral("Send Error(TCP)!"),
                      QStringLiteral("向Wifi模块用TCP协议发送数据时出现错误！"));
}
} // namespace

void MainWindow::setUpTcpLink()
{
    // The connection's own failure lines go unused: the window words its status texts itself.
    tcpConnection_ = new TcpConnection(false, this);
    connect(tcpConnection_, &TcpConnection::connected, this, &MainWindow::tcpConnected);
    connect(tcpConnection_, &TcpConnection::disconnected, this, &MainWindow::tcpDisconnected);
    connect(tcpConnection_, &TcpConnection::failed, this, &MainWindow::tcpError);
    connect(tcpConnection_, &TcpConnection::bytesReceived, this, &MainWindow::tcpReadyRead);
    tcpFramer_ = new TcpReplyFramer(TcpReplyFramer::Clock(), this);
    tcpFramer_->setObjectName(QStringLiteral("tcpFramer"));
    connect(tcpFramer_, &TcpReplyFramer::replyReceived, this, [this](const QByteArray &reply) {
        // Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
        try {
            parseReply(reply, ReplyRoad::Tcp);
        } catch (const std::exception &) {
        } catch (...) {
        }
    });
}

void MainWindow::openTcp(const QString &host, int port)
{
    tcpConnection_->open(host, port);
}

bool MainWindow::sendTcp(const QByteArray &bytes)
{
    return linkSender_->sendTcp(bytes) == SendResult::Sent;
}

bool MainWindow::deliverTcp(const QByteArray &bytes)
{
    if ((!tcpConnection_->isConnected() && !tcpConnection_->reconnect(kReconnectWaitMs)) ||
        !tcpConnection_->write(bytes)) {
        setStatusPanel(2, sendErrorText(chinese()));
        return false;
    }
    return true;
}

QString MainWindow::tcpPeerText() const
{
    return tcpConnection_->peerAddress().toString() + QLatin1Char(':') +
           QString::number(tcpConnection_->peerPort());
}

void MainWindow::tcpConnected()
{
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected Successfully!"),
                                                 QStringLiteral(":TCP连接成功！")));
}

void MainWindow::tcpDisconnected()
{
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected disconnect!"),
                                                 QStringLiteral(":TCP连接失败！")));
}

void MainWindow::tcpError()
{
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected error!"),
                                                 QStringLiteral(":TCP连接出错！")));
}

void MainWindow::tcpReadyRead(const QByteArray &chunk)
{
    // Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
    try {
        setStatusPanel(2, inLanguage(QStringLiteral("Recieved data from network(TCP)!"),
                                     QStringLiteral("收到来自网络(TCP)的数据！")));
        if (console_->lineCount() > 100)
            console_->clearLog();
        console_->addDataLine(QStringLiteral("TCP Receive:"), chunk);
        if (settings_.showHex)
            console_->addHexLine(chunk);
        // The console shows each read event; the parser gets whole replies.
        tcpFramer_->add(chunk);
    } catch (const std::exception &) {
    } catch (...) {
    }
}
