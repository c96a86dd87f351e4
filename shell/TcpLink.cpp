#include "shell/Unit1.h"

#include "links/TcpReplyFramer.h"
#include "protocol/ReplyInterpreter.h"
#include "shell/ConsoleLog.h"

#include <QTcpSocket>
#include <QTimer>
#include <exception>

namespace {
// An asynchronous connect that gets no answer keeps trying for minutes; the user should hear sooner.
constexpr int kConnectGiveUpMs = 5000;
// A send that has to reconnect waits this long for the connection before it counts as failed.
constexpr int kReconnectWaitMs = 300;

// Names under .invalid never resolve (RFC 6761); answering at once keeps the query off the network.
bool isReservedInvalidName(const QString &host)
{
    QString name = host.trimmed().toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name == QLatin1String("invalid") || name.endsWith(QLatin1String(".invalid"));
}

QString sendErrorText(bool chinese)
{
    return InLanguage(chinese, QStringLiteral("Send Error(TCP)!"),
                      QStringLiteral("向Wifi模块用TCP协议发送数据时出现错误！"));
}
} // namespace

void TForm1::setUpTcpLink()
{
    tcpSocket_ = new QTcpSocket(this);
    tcpSocket_->setObjectName(QStringLiteral("tcpSocket"));
    // A peer that sends without pause is held back by TCP itself, not by this process's memory; no
    // module answer comes near this size.
    tcpSocket_->setReadBufferSize(64 * 1024);
    tcpConnectTimer_ = new QTimer(this);
    tcpConnectTimer_->setObjectName(QStringLiteral("tcpConnectTimer"));
    tcpConnectTimer_->setSingleShot(true);
    tcpConnectTimer_->setInterval(kConnectGiveUpMs);

    connect(tcpSocket_, &QTcpSocket::connected, this, &TForm1::tcpConnected);
    connect(tcpSocket_, &QTcpSocket::disconnected, this, &TForm1::tcpDisconnected);
    connect(tcpSocket_, &QTcpSocket::errorOccurred, this, &TForm1::tcpError);
    connect(tcpSocket_, &QTcpSocket::readyRead, this, &TForm1::tcpReadyRead);
    connect(tcpConnectTimer_, &QTimer::timeout, this, &TForm1::tcpConnectGiveUp);
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
    tcpConnectTimer_->stop();
    tcpSocket_->abort(); // an established connection reports its disconnect here
    tcpHost_ = host;
    tcpPort_ = port;
    if (port < 1 || port > 65535 || isReservedInvalidName(host)) {
        // Fails like an unresolvable host: the error event follows, the caller is not interrupted.
        QTimer::singleShot(0, this, [this, host, port] {
            if (tcpHost_ == host && tcpPort_ == port &&
                tcpSocket_->state() == QAbstractSocket::UnconnectedState)
                tcpError();
        });
        return;
    }
    tcpSocket_->connectToHost(host, static_cast<quint16>(port));
    tcpConnectTimer_->start();
}

bool TForm1::SendTcp(const QByteArray &bytes)
{
    return linkSender_->sendTcp(bytes) == SendResult::Sent;
}

bool TForm1::deliverTcp(const QByteArray &bytes)
{
    if (tcpSocket_->state() != QAbstractSocket::ConnectedState) {
        openTcp(tcpHost_, tcpPort_);
        const bool started = tcpSocket_->state() != QAbstractSocket::UnconnectedState;
        // Wait for the connection itself, not a fixed pause: a refusal or success ends the wait early.
        if (!tcpSocket_->waitForConnected(kReconnectWaitMs)) {
            // Qt drops an attempt that outlives the wait; let it go on in the background, so that its
            // connect or error message still comes and the user knows when to send again.
            if (started && tcpSocket_->error() == QAbstractSocket::SocketTimeoutError)
                openTcp(tcpHost_, tcpPort_);
            setStatusPanel(2, sendErrorText(chinese()));
            return false;
        }
    }
    if (tcpSocket_->write(bytes) != bytes.size()) {
        setStatusPanel(2, sendErrorText(chinese()));
        return false;
    }
    return true;
}

QString TForm1::tcpPeerText() const
{
    return tcpSocket_->peerAddress().toString() + QLatin1Char(':') + QString::number(tcpSocket_->peerPort());
}

void TForm1::tcpConnected()
{
    tcpConnectTimer_->stop();
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
    if (tcpSocket_->state() == QAbstractSocket::UnconnectedState)
        tcpConnectTimer_->stop();
    setStatusPanel(1, tcpPeerText() + inLanguage(QStringLiteral(":TCP Connected error!"),
                                                 QStringLiteral(":TCP连接出错！")));
}

void TForm1::tcpConnectGiveUp()
{
    const QAbstractSocket::SocketState state = tcpSocket_->state();
    if (state != QAbstractSocket::HostLookupState && state != QAbstractSocket::ConnectingState)
        return;
    tcpSocket_->abort();
    tcpError();
}

void TForm1::tcpReadyRead()
{
    // Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
    try {
        const QByteArray chunk = tcpSocket_->readAll();
        if (chunk.isEmpty())
            return;
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
