#pragma once

// TCommFun: the serial port operations over the PComm-style layer and the byte/hex conversions.
// It holds only the port table it works on and the window its boxes belong to; one instance serves the main
// window and the serial dialog makes short-lived ones for its open and close.

#include "links/PComm.h"
#include "protocol/Conversions.h"

#include <QByteArray>
#include <QString>

class QWidget;

class TCommFun {
public:
    // Works on the ports of table. The failure boxes are titled as the boxes of owner's window; they
    // have no parent window.
    explicit TCommFun(SioPorts *table, const QWidget *owner = nullptr) : table_(table), owner_(owner) {}

    // Serial port access. Failures show the fixed English message boxes and return false/empty.
    // *failure (when given) says why an open failed.
    bool ComOpen(int port, const QString &devicePath, OpenFailure *failure = nullptr);
    void ComSetFormat(int port, int baudCode, int dataBitsCode, int stopBitsCode, int parityCode);
    // Sends the first count bytes (never more than bytes holds).
    bool ComWrite(int port, const QByteArray &bytes, int count);
    // Everything waiting, however much, 00 bytes included; empty when nothing waits.
    QByteArray ComRead(int port);
    bool ComClose(int port);

    // Conversions (protocol/Conversions.h), kept here under the helper class's own names.
    static int HexDigitValue(const QByteArray &text) { return Conversions::HexDigitValue(text); }
    static int HexPairValue(const QByteArray &text) { return Conversions::HexPairValue(text); }
    static QByteArray HexToBytes(const QByteArray &hexText) { return Conversions::HexToBytes(hexText); }
    static QByteArray HexToBytes(const QString &hexText) { return Conversions::HexToBytes(hexText); }
    static QByteArray BytesToHex(const QByteArray &bytes, bool withBlanks)
    {
        return Conversions::BytesToHex(bytes, withBlanks);
    }
    static QByteArray HexChecksum(const QByteArray &hexText) { return Conversions::HexChecksum(hexText); }
    static QByteArray RemoveBlanks(const QByteArray &text) { return Conversions::RemoveBlanks(text); }

private:
    SioPorts *table_;
    const QWidget *owner_;
};
