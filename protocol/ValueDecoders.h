#pragma once

// The decoders that turn reply values into field changes: the comma lists of the multi-value queries
// and the two payloads of module reply frames (parameter list, IO body). Each adds its changes to
// effects in order. A number that does not convert throws ConversionError once the changes before it
// have been added: they stay, the rest of the value is not looked at.

#include "protocol/ReplyEffects.h"

#include <QByteArray>

enum class AddressGroup { Station, Ap };

// UART: data bits by item text, parity by position, stop bits by number minus one.
void DecodeSerialFormat(const QByteArray &value, ReplyEffects &effects);
// STACONFIG: station SSID and password.
void DecodeStationConfig(const QByteArray &value, ReplyEffects &effects);
// APINF: AP SSID, password, channel (number minus one), authentication (position).
void DecodeApInfo(const QByteArray &value, ReplyEffects &effects);
// STATIONIP and APIP: IP, mask and gateway of the group.
void DecodeAddressTriple(const QByteArray &value, AddressGroup group, ReplyEffects &effects);
// The "key=value;" list of a parameter reply frame.
void DecodeRemoteParameters(const QByteArray &list, ReplyEffects &effects);
// The IO body of an IO reply frame, sent twice; a body that fails its checks gives a warning box in
// the chosen language instead of changes.
void DecodeRemoteIo(const QByteArray &body, bool chinese, ReplyEffects &effects);
