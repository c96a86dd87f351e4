#include "TcpSession.h"

#include "SimLog.h"

namespace {

// Silence after which input that could still grow is settled ("+++", a partial prefix, a relay frame
// of raw data). Longer than on the pty: Nagle's algorithm with delayed ACKs holds the second piece of
// a torn write back by about 40 ms.
constexpr int kIdleMs = 100;

} // namespace

TcpSession::TcpSession(QTcpSocket *socket, const FaultOptions &faults, const QString &linkName)
    : QObject(socket), m_socket(socket), m_linkName(linkName),
      m_output(
          faults, [socket](const QByteArray &bytes) { socket->write(bytes); }, this)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { wentIdle(); });
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpSession::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, m_socket, &QObject::deleteLater);
    connect(&m_output, &AnswerQueue::closeRequested, this, [this] {
        logNotice(m_linkName + QStringLiteral(": closing the connection (--drop-after)"));
        m_socket->disconnectFromHost();
    });
}

void TcpSession::readAvailable()
{
    received(m_socket->readAll());
    if (hasPendingInput())
        m_idle.start();
    else
        m_idle.stop();
}

void TcpSession::answer(const QByteArray &bytes)
{
    logTraffic(m_linkName, "->", bytes);
    m_output.pushAnswer(bytes);
}

void TcpSession::echo(const QByteArray &bytes)
{
    logTraffic(m_linkName, "-> (echo)", bytes);
    m_output.pushData(bytes);
}
