#pragma once

// The byte and hex-text conversions of the module's tools. They never fail: characters that are not
// hex digits count as 0, and a lone last digit is a byte of its own.

#include <QByteArray>
#include <QString>

namespace Conversions {
int HexDigitValue(const QByteArray &text);
int HexPairValue(const QByteArray &text);
QByteArray HexToBytes(const QByteArray &hexText);
QByteArray HexToBytes(const QString &hexText); // the text as GBK bytes, then as above
QByteArray BytesToHex(const QByteArray &bytes, bool withBlanks);
QByteArray HexChecksum(const QByteArray &hexText);
QByteArray RemoveBlanks(const QByteArray &text);
} // namespace Conversions
