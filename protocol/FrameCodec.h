#pragma once

// Binary wrappings for the network links: the LAN command prefix, the module frame that addresses one
// module by ID and zone, and the relay frame that carries a payload to the relay server. Frames hold
// 00 bytes, so they are counted byte strings throughout.

#include <QByteArray>
#include <QString>

// A8 81 01, put in front of every command sent straight to a module on the LAN.
QByteArray LanCommandPrefix();

QByteArray BuildModuleFrame(const QString &targetId, const QString &targetZone, bool zoneValid,
                            const QByteArray &payload);
// The relay server reads the sender's and the target's IDs from the header.
QByteArray BuildRelayFrame(const QString &localId, const QString &targetId, const QByteArray &payload);

// Sum of the header bytes modulo 256, as the one checksum byte of both frames.
QByteArray FrameChecksum(const QByteArray &header);
