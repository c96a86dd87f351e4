#pragma once

// The window's serial ports by COM number (1..36), each a SerialLink on the device the number maps
// to. A number stays held after its device vanished, until it is closed, so that the serial dialog
// never keeps a dead port marked open. Bytes that arrive wait on their port until the owner takes
// them: the window reads only the port in use.

#include "links/PortMap.h"
#include "links/SerialLink.h"

#include <QByteArray>
#include <QObject>
#include <array>

class ComPorts final : public QObject {
    Q_OBJECT

public:
    enum class Result { Ok, NotOpen, Failed };

    explicit ComPorts(QObject *parent = nullptr);

    // Opens COM<port> on the device at path, at the rate and format a fresh port has until
    // configure(). None on success; a number already held, or its device held under another number,
    // is InUse.
    SerialLink::Refusal open(int port, const QString &path);
    Result configure(int port, const SerialSettings &settings);
    // Every byte is handed to the driver before this returns.
    Result write(int port, const QByteArray &bytes);
    // Everything waiting, 00 bytes included, fetched without an event loop; empty when nothing waits
    // or the port is not open.
    QByteArray takeWaiting(int port);
    // NotOpen for a number not held; a port whose device vanished closes once.
    Result close(int port);
    // Held and its device still there.
    bool isOpen(int port);
    // The line-end grace at the rate and format of COM<port>; the default line's when it is not held.
    int lineEndGraceMs(int port) const;

Q_SIGNALS:
    void bytesWaiting(int port);

private:
    SerialLink *held(int port) const;
    SerialLink *live(int port);
    void release(int port);

    std::array<SerialLink *, kComPortCount + 1> links_{};
};
