// The frame builders with IDs, zones and payloads of any length and content: the header lies where the
// layout puts it, the checksum is the byte sum of the header, and the payload follows untouched,
// 00 bytes included.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "protocol/FrameCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace fuzzframes {

char byteSum(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (const char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<char>(sum % 256);
}

// IDs come from the options dialog (digits) or from Config.ini (any text, Chinese included).
QString idText(FuzzInput &in)
{
    const QByteArray raw = in.chunk();
    if (in.flag()) {
        QStringDecoder gbk("GBK");
        return gbk(raw);
    }
    return QString::fromLatin1(raw);
}

// IDs and zones go on the wire as GBK, like all text.
QByteArray wire(const QString &text)
{
    QStringEncoder gbk("GBK");
    return gbk(text);
}

} // namespace fuzzframes

QX_FUZZ_TARGET(frames)
{
    using namespace fuzzframes;
    FuzzInput in(data, size);
    const QString targetId = idText(in);
    const QString zone = idText(in);
    const QString localId = idText(in);
    const bool zoneValid = in.flag();
    const QByteArray payload = in.rest();

    QX_FUZZ_CHECK(LanCommandPrefix() == QByteArray("\xA8\x81\x01"));

    const QByteArray moduleHeader =
        QByteArray("\xA8\x81") + wire(targetId) + wire(zone) + '\x08' + (zoneValid ? '\x01' : '\x00');
    QX_FUZZ_CHECK(FrameChecksum(moduleHeader) == QByteArray(1, byteSum(moduleHeader)));
    const QByteArray module = BuildModuleFrame(targetId, zone, zoneValid, payload);
    QX_FUZZ_CHECK(module == moduleHeader + byteSum(moduleHeader) + payload);

    const QByteArray relayHeader =
        QByteArray("\xA8\x83") + wire(localId) + QByteArray("\x00\x00\x00\x01", 4) + wire(targetId);
    const QByteArray relay = BuildRelayFrame(localId, targetId, module);
    QX_FUZZ_CHECK(relay == relayHeader + byteSum(relayHeader) + module);
    // Two frames that differ only in their payload carry the same checksum.
    QX_FUZZ_CHECK(BuildRelayFrame(localId, targetId, QByteArray()) == relayHeader + byteSum(relayHeader));
    return 0;
}
