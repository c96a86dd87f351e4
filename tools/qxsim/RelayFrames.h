#pragma once

// The relay server's frames: the relay frame (A8 83) that clients send, the module frame (A8 81, function
// 08) that carries a command inside it, and the module reply frame that a module sends back.
// Checksums are the plain sum of the header bytes modulo 256; payloads run to the end of the frame.

#include <QByteArray>
#include <QList>
#include <QString>

enum class FrameFault {
    None,
    TooShort,
    BadMagic,
    BadChecksum,
    BadCommand,  // relay command field other than 00 00 00 01
    BadFunction, // module frame whose function code is not 08 or whose zone-valid byte is not 00/01
};

struct RelayFrame {
    QByteArray localId;
    QByteArray targetId;
    QByteArray payload;
};

struct ModuleFrame {
    QByteArray targetId;
    QByteArray zone;
    bool zoneValid = false;
    QByteArray command;
};

extern const QByteArray kRelayMagic;  // A8 83
extern const QByteArray kModuleMagic; // A8 81

quint8 headerChecksum(const QByteArray &bytes, qsizetype headerLength);

FrameFault parseRelayFrame(const QByteArray &bytes, RelayFrame &frame);
bool isModuleFrame(const QByteArray &payload);
FrameFault parseModuleFrame(const QByteArray &bytes, ModuleFrame &frame);
QString faultName(FrameFault fault);

QByteArray buildModuleReply(const QByteArray &moduleId, const QByteArray &zone, quint8 function,
                            const QByteArray &payload);

// Cuts a TCP byte stream into relay frames. A frame has no length field: it ends where the next relay
// header starts, where a command in it has visibly ended (a module frame ending in CR LF), or when the
// stream goes idle. Bytes before a header are junk.
class RelayStreamSplitter {
public:
    struct Piece {
        bool junk = false;
        QByteArray bytes;
    };

    void feed(const QByteArray &bytes) { m_buffer += bytes; }
    QList<Piece> take(bool idle);
    bool hasPending() const { return !m_buffer.isEmpty(); }

private:
    QByteArray m_buffer;
};
