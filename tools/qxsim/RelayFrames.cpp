#include "RelayFrames.h"

const QByteArray kRelayMagic = QByteArray::fromHex("A883");
const QByteArray kModuleMagic = QByteArray::fromHex("A881");

namespace {

constexpr qsizetype kIdLength = 11;
constexpr qsizetype kZoneLength = 4;
constexpr qsizetype kRelayHeader = 2 + kIdLength + 4 + kIdLength; // checksum follows at this offset
constexpr qsizetype kModuleHeader = 2 + kIdLength + kZoneLength + 2;
const QByteArray kSendDataCommand = QByteArray::fromHex("00000001");
constexpr char kCommandFunction = 0x08;

} // namespace

quint8 headerChecksum(const QByteArray &bytes, qsizetype headerLength)
{
    unsigned sum = 0;
    for (qsizetype i = 0; i < headerLength && i < bytes.size(); ++i)
        sum += static_cast<unsigned char>(bytes.at(i));
    return static_cast<quint8>(sum & 0xFF);
}

FrameFault parseRelayFrame(const QByteArray &bytes, RelayFrame &frame)
{
    if (!bytes.startsWith(kRelayMagic))
        return FrameFault::BadMagic;
    if (bytes.size() < kRelayHeader + 1)
        return FrameFault::TooShort;
    if (static_cast<quint8>(bytes.at(kRelayHeader)) != headerChecksum(bytes, kRelayHeader))
        return FrameFault::BadChecksum;
    if (bytes.mid(2 + kIdLength, 4) != kSendDataCommand)
        return FrameFault::BadCommand;
    frame.localId = bytes.mid(2, kIdLength);
    frame.targetId = bytes.mid(2 + kIdLength + 4, kIdLength);
    frame.payload = bytes.mid(kRelayHeader + 1);
    return FrameFault::None;
}

bool isModuleFrame(const QByteArray &payload)
{
    return payload.startsWith(kModuleMagic);
}

FrameFault parseModuleFrame(const QByteArray &bytes, ModuleFrame &frame)
{
    if (!bytes.startsWith(kModuleMagic))
        return FrameFault::BadMagic;
    if (bytes.size() < kModuleHeader + 1)
        return FrameFault::TooShort;
    if (static_cast<quint8>(bytes.at(kModuleHeader)) != headerChecksum(bytes, kModuleHeader))
        return FrameFault::BadChecksum;
    const char function = bytes.at(2 + kIdLength + kZoneLength);
    const char zoneValid = bytes.at(kModuleHeader - 1);
    if (function != kCommandFunction || (zoneValid != 0 && zoneValid != 1))
        return FrameFault::BadFunction;
    frame.targetId = bytes.mid(2, kIdLength);
    frame.zone = bytes.mid(2 + kIdLength, kZoneLength);
    frame.zoneValid = zoneValid == 1;
    frame.command = bytes.mid(kModuleHeader + 1);
    return FrameFault::None;
}

QString faultName(FrameFault fault)
{
    switch (fault) {
    case FrameFault::None:
        return QStringLiteral("none");
    case FrameFault::TooShort:
        return QStringLiteral("too short");
    case FrameFault::BadMagic:
        return QStringLiteral("no header");
    case FrameFault::BadChecksum:
        return QStringLiteral("bad checksum");
    case FrameFault::BadCommand:
        return QStringLiteral("unknown relay command");
    case FrameFault::BadFunction:
        return QStringLiteral("not a command frame");
    }
    return {};
}

QByteArray buildModuleReply(const QByteArray &moduleId, const QByteArray &zone, quint8 function,
                            const QByteArray &payload)
{
    QByteArray frame = kModuleMagic + moduleId + zone;
    frame += static_cast<char>(function);
    frame += '\0';
    frame += static_cast<char>(headerChecksum(frame, frame.size()));
    return frame + payload;
}

QList<RelayStreamSplitter::Piece> RelayStreamSplitter::take(bool idle)
{
    QList<Piece> pieces;
    while (!m_buffer.isEmpty()) {
        if (!m_buffer.startsWith(kRelayMagic)) {
            qsizetype junk = m_buffer.indexOf(kRelayMagic);
            if (junk < 0) {
                // A lone A8 at the end may be the start of the next header.
                junk =
                    !idle && m_buffer.endsWith(kRelayMagic.left(1)) ? m_buffer.size() - 1 : m_buffer.size();
            }
            if (junk == 0)
                break;
            pieces.append({true, m_buffer.left(junk)});
            m_buffer.remove(0, junk);
            continue;
        }
        qsizetype end = m_buffer.indexOf(kRelayMagic, kRelayHeader + 1);
        if (end < 0) {
            const QByteArray payload = m_buffer.mid(kRelayHeader + 1);
            const bool carriesCommand = payload.size() > kModuleHeader + 1 && isModuleFrame(payload);
            if (idle || (carriesCommand && payload.endsWith("\r\n")))
                end = m_buffer.size();
            else if (carriesCommand && payload.endsWith(QByteArray("\r\n") + kRelayMagic.left(1)))
                end = m_buffer.size() - 1; // the next header has begun to arrive
        }
        if (end < 0)
            break;
        pieces.append({false, m_buffer.left(end)});
        m_buffer.remove(0, end);
    }
    return pieces;
}
