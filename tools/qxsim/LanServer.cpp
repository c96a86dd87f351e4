#include "LanServer.h"

#include "CommandSplitter.h"
#include "SimLog.h"
#include "SimModule.h"
#include "TcpSession.h"

namespace {

class LanSession final : public TcpSession {
public:
    LanSession(QTcpSocket *socket, SimModule &module, const FaultOptions &faults)
        : TcpSession(socket, faults, QStringLiteral("lan:%1").arg(socket->peerPort())), m_module(module)
    {
    }

protected:
    void received(const QByteArray &bytes) override
    {
        m_splitter.feed(bytes);
        handle(m_splitter.take(false));
    }
    void wentIdle() override { handle(m_splitter.take(true)); }
    bool hasPendingInput() const override { return m_splitter.hasPending(); }

private:
    void handle(const QList<StreamPiece> &pieces)
    {
        for (const StreamPiece &piece : pieces) {
            if (!piece.isCommand) {
                logTraffic(linkName(), "<- (data)", piece.bytes);
                echo(piece.bytes);
                continue;
            }
            logTraffic(linkName(), "<-", piece.bytes);
            answer(m_module.execute(piece.bytes).text);
        }
    }

    SimModule &m_module;
    CommandSplitter m_splitter{Framing::Lan};
};

} // namespace

LanServer::LanServer(SimModule &module, const FaultOptions &faults, QObject *parent)
    : QObject(parent), m_module(module), m_faults(faults)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LanServer::acceptConnections);
}

bool LanServer::listen(const ListenAddress &address, QString &error)
{
    if (m_server.listen(address.host, address.port))
        return true;
    error = QStringLiteral("LAN port %1:%2: %3")
                .arg(address.host.toString())
                .arg(address.port)
                .arg(m_server.errorString());
    return false;
}

QString LanServer::boundAddress() const
{
    return QStringLiteral("%1:%2").arg(m_server.serverAddress().toString()).arg(m_server.serverPort());
}

void LanServer::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection())
        new LanSession(socket, m_module, m_faults); // owned by the socket
}
