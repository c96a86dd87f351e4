#include "protocol/FrameCodec.h"

#include "protocol/Conversions.h"

#include <QStringEncoder>

QByteArray LanCommandPrefix()
{
    static const QByteArray prefix = Conversions::HexToBytes(QByteArrayLiteral("A88101"));
    return prefix;
}

QByteArray FrameChecksum(const QByteArray &header)
{
    // Computed the way the module's firmware documents it: over the header's hex text.
    return Conversions::HexToBytes(Conversions::HexChecksum(Conversions::BytesToHex(header, false)));
}

namespace {
// IDs and zones are digits; any other character still goes out as GBK, like all text on the wire.
QByteArray wireText(const QString &text)
{
    QStringEncoder gbk("GBK");
    return gbk(text);
}
} // namespace

QByteArray BuildModuleFrame(const QString &targetId, const QString &targetZone, bool zoneValid,
                            const QByteArray &payload)
{
    QByteArray frame = QByteArrayLiteral("\xA8\x81");
    frame += wireText(targetId);
    frame += wireText(targetZone);
    frame += '\x08';
    frame += zoneValid ? '\x01' : '\x00';
    frame += FrameChecksum(frame);
    frame += payload;
    return frame;
}

QByteArray BuildRelayFrame(const QString &localId, const QString &targetId, const QByteArray &payload)
{
    QByteArray frame = QByteArrayLiteral("\xA8\x83");
    frame += wireText(localId);
    frame += QByteArray("\x00\x00\x00\x01", 4); // command 1: send data
    frame += wireText(targetId);
    frame += FrameChecksum(frame);
    frame += payload;
    return frame;
}
