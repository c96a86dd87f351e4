#pragma once

// TCommFun: the serial port operations over the PComm-style layer and the byte/hex conversions.
// It has no fields; one instance (CommFun) serves the main window and the serial dialog makes
// short-lived ones for its open and close.

#include <QByteArray>
#include <QString>

class TCommFun {
public:
    // Serial port access. Failures show the fixed English message boxes and return false/empty.
    bool ComOpen(int port);
    void ComSetFormat(int port, int baudCode, int dataBitsCode, int stopBitsCode, int parityCode);
    // Sends the first count bytes (never more than bytes holds).
    bool ComWrite(int port, const QByteArray &bytes, int count);
    // Everything waiting, however much, 00 bytes included; empty when nothing waits.
    QByteArray ComRead(int port);
    bool ComClose(int port);

    // Conversions. They never fail: characters that are not hex digits count as 0.
    static int HexDigitValue(const QByteArray &text);
    static int HexPairValue(const QByteArray &text);
    static QByteArray HexToBytes(const QByteArray &hexText);
    static QByteArray HexToBytes(const QString &hexText); // the text as GBK bytes, then as above
    static QByteArray BytesToHex(const QByteArray &bytes, bool withBlanks);
    static QByteArray HexChecksum(const QByteArray &hexText);
    static QByteArray RemoveBlanks(const QByteArray &text);
};
