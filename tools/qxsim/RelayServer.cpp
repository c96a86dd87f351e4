#include "RelayServer.h"

#include "CommandSplitter.h"
#include "ModuleRegistry.h"
#include "RelayFrames.h"
#include "SimLog.h"
#include "TcpSession.h"

#include <functional>

namespace {

constexpr quint8 kIoReplyFunction = 0x05;
constexpr quint8 kParameterReplyFunction = 0x09;

class RelaySession final : public TcpSession {
public:
    RelaySession(QTcpSocket *socket, ModuleRegistry &modules, const FaultOptions &faults, bool replyFrames,
                 std::function<void(const QString &)> countBadFrame)
        : TcpSession(socket, faults, QStringLiteral("relay:%1").arg(socket->peerPort())), m_modules(modules),
          m_replyFrames(replyFrames), m_countBadFrame(std::move(countBadFrame))
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
    void handle(const QList<RelayStreamSplitter::Piece> &pieces)
    {
        for (const RelayStreamSplitter::Piece &piece : pieces) {
            logTraffic(linkName(), "<-", piece.bytes);
            if (piece.junk) {
                m_countBadFrame(QStringLiteral("%1 bytes outside any frame").arg(piece.bytes.size()));
                continue;
            }
            RelayFrame frame;
            if (const FrameFault fault = parseRelayFrame(piece.bytes, frame); fault != FrameFault::None) {
                m_countBadFrame(QStringLiteral("relay frame: ") + faultName(fault));
                continue;
            }
            if (isModuleFrame(frame.payload))
                handleModuleFrame(frame.payload);
            else
                handleData(frame);
        }
    }

    void handleModuleFrame(const QByteArray &bytes)
    {
        ModuleFrame frame;
        if (const FrameFault fault = parseModuleFrame(bytes, frame); fault != FrameFault::None) {
            m_countBadFrame(QStringLiteral("module frame: ") + faultName(fault));
            return;
        }
        SimModule *module = m_modules.findById(frame.targetId);
        if (!module) {
            logNotice(linkName() + QStringLiteral(": no module with ID ") +
                      QString::fromLatin1(frame.targetId));
            return;
        }
        if (frame.zoneValid && frame.zone != module->zone()) {
            logNotice(linkName() + QStringLiteral(": module %1 is in zone %2, not %3")
                                       .arg(QString::fromLatin1(frame.targetId),
                                            QString::fromLatin1(module->zone()),
                                            QString::fromLatin1(frame.zone)));
            return;
        }
        for (const QByteArray &command : splitCommandLines(frame.command))
            answer(replyFor(*module, module->execute(command)));
    }

    QByteArray replyFor(const SimModule &module, const SimAnswer &result) const
    {
        if (!m_replyFrames)
            return result.text;
        if (result.kind == SimAnswer::Kind::Io)
            return buildModuleReply(module.id(), module.zone(), kIoReplyFunction,
                                    result.ioBody + result.ioBody);
        if (result.kind == SimAnswer::Kind::Query) {
            const QByteArray list = module.remoteList(*result.parameter);
            if (!list.isEmpty())
                return buildModuleReply(module.id(), module.zone(), kParameterReplyFunction, list);
        }
        return result.text;
    }

    // Raw data for the relay frame's target: a module in transparent mode sends it back.
    void handleData(const RelayFrame &frame)
    {
        if (!m_modules.findById(frame.targetId)) {
            logNotice(linkName() + QStringLiteral(": data for unknown module ") +
                      QString::fromLatin1(frame.targetId));
            return;
        }
        if (!frame.payload.isEmpty())
            echo(frame.payload);
    }

    ModuleRegistry &m_modules;
    bool m_replyFrames;
    std::function<void(const QString &)> m_countBadFrame;
    RelayStreamSplitter m_splitter;
};

} // namespace

RelayServer::RelayServer(ModuleRegistry &modules, const SimOptions &options, QObject *parent)
    : QObject(parent), m_modules(modules), m_faults(options.faults), m_replyFrames(options.replyFrames)
{
    connect(&m_server, &QTcpServer::newConnection, this, &RelayServer::acceptConnections);
}

bool RelayServer::listen(const ListenAddress &address, QString &error)
{
    if (m_server.listen(address.host, address.port))
        return true;
    error = QStringLiteral("relay port %1:%2: %3")
                .arg(address.host.toString())
                .arg(address.port)
                .arg(m_server.errorString());
    return false;
}

QString RelayServer::boundAddress() const
{
    return QStringLiteral("%1:%2").arg(m_server.serverAddress().toString()).arg(m_server.serverPort());
}

void RelayServer::countBadFrame(const QString &why)
{
    ++m_badFrames;
    logNotice(QStringLiteral("relay: ignored bad frame (%1), %2 so far").arg(why).arg(m_badFrames));
}

void RelayServer::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        new RelaySession(socket, m_modules, m_faults, m_replyFrames,
                         [this](const QString &why) { countBadFrame(why); }); // owned by the socket
    }
}
