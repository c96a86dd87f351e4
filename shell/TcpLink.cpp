#include "shell/Unit1.h"

#include "links/TcpConnection.h"
#include "links/TcpReplyFramer.h"
#include "protocol/ReplyInterpreter.h"
#include "shell/ConsoleLog.h"

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

void TForm1::setUpTcpLink()
{
    // The connection's own failure lines go unused: the window words its status texts itself.
    tcpConnection_ = new TcpConnection(false, this);
    connect(tcpConnection_, &TcpConnection::connected, this, &TForm1::tcpConnected);
    connect(tcpConnection_, &TcpConnection::disconnected, this, &TForm1::tcpDisconnected);
    connect(tcpConnection_, &TcpConnection::failed, this, &TForm1::tcpError);
    connect(tcpConnection_, &TcpConnection::bytesReceived, this, &TForm1::tcpReadyRead);
    tcpFramer_ = new TcpReplyFramer(TcpReplyFramer::Clock(), this);
    tcpFramer_->setObjectName(QStringLiteral("tcpFramer"));
    connect(tcpFramer_, &TcpReplyFramer::replyReceived, this, [this](const QByteArray &reply) {
        // Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
        try {
            ParseReply(reply, ReplyRoad::Tcp);
        } catch (const std::exception &) {
        } catch (...) {
        }
    });
}

void TForm1::openTcp(const QString &host, int port)
{
    tcpConnection_->open(host, port);
}

bool TForm1::SendTcp(const QByteArray &bytes)
{
    return linkSender_->sendTcp(bytes) == SendResult::Sent;
}

bool TForm1::deliverTcp(const QByteArray &bytes)
{
    if ((!tcpConnection_->isConnected() && !tcpConnection_->reconnect(kReconnectWaitMs)) ||
        !tcpConnection_->write(bytes)) {
        setStatusPanel(2, sendErrorText(chinese()));
        return false;
    }
    return true;
}

QString TForm1::tcpPeerText() const
{
    return tcpConnection_->peerAddress().toString() + QLatin1Char(':') +
           QString::number(tcpConnection_->peerPort());
}

void TForm1::tcpConnected()
{
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected Successfully!"),
                                                 QStringLiteral(":TCP连接成功！")));
}

void TForm1::tcpDisconnected()
{
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected disconnect!"),
                                                 QStringLiteral(":TCP连接失败！")));
}

void TForm1::tcpError()
{
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected error!"),
                                                 QStringLiteral(":TCP连接出错！")));
}

void TForm1::tcpReadyRead(const QByteArray &chunk)
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
