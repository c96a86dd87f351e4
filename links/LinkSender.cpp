#include "links/LinkSender.h"

#include "protocol/FrameCodec.h"

bool ShowsProgress(SendResult result)
{
    return result == SendResult::Sent || result == SendResult::SerialFailed;
}

LinkSender::LinkSender(Write serial, Write tcp, Log log)
    : serial_(std::move(serial)), tcp_(std::move(tcp)), log_(std::move(log))
{
}

SendResult LinkSender::send(const LinkRoute &route, SendPayload payload, const QByteArray &bytes) const
{
    const bool command = payload == SendPayload::Command;
    switch (route.linkType) {
    case 0:
        return sendSerial(bytes);
    case 1:
        return sendTcp(command ? LanCommandPrefix() + bytes : bytes);
    case 2:
        return sendRelay(
            route.localId, route.targetId,
            command ? BuildModuleFrame(route.targetId, route.targetZone, route.targetZoneValid, bytes)
                    : bytes);
    default:
        return SendResult::NoLink;
    }
}

SendResult LinkSender::sendSerial(const QByteArray &bytes) const
{
    if (!serial_(bytes))
        return SendResult::SerialFailed;
    log_(QStringLiteral("COM Send:"), bytes);
    return SendResult::Sent;
}

SendResult LinkSender::sendTcp(const QByteArray &bytes) const
{
    if (!tcp_(bytes))
        return SendResult::TcpFailed; // nothing left the machine, so nothing is logged as sent
    log_(QStringLiteral("TCP Send:"), bytes);
    return SendResult::Sent;
}

SendResult LinkSender::sendRelay(const QString &localId, const QString &targetId,
                                 const QByteArray &payload) const
{
    return sendTcp(BuildRelayFrame(localId, targetId, payload));
}
