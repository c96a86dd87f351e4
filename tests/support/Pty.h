#pragma once

// A pseudo-terminal pair standing in for a serial device. The program opens slavePath() as its
// port; the test plays the device on the master side. Closing the master is an unplugged device.

#include <QByteArray>
#include <QString>
#include <termios.h>

class Pty {
public:
    // Opens a raw pair (no echo, no line editing, 8 bits clean); check isValid().
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool isValid() const { return !slavePath_.isEmpty(); }
    // A name for the program's side unique to this pair. Terminal numbers (/dev/pts/N) are reused as
    // soon as a master closes, and Qt locks a port by its name: tests running in parallel, or a port
    // still open on a vanished pair, would otherwise find the new pair "in use".
    QString slavePath() const { return slavePath_; }
    // The terminal itself (/dev/pts/N).
    QString devicePath() const { return devicePath_; }

    // Sends bytes as the device; false if they could not all be written within the timeout.
    bool write(const QByteArray &bytes, int timeoutMs = 5000);
    // What the program sent, until count bytes have come or the timeout ends.
    QByteArray read(int count, int timeoutMs = 5000);

    // Bytes the device sent that wait on the program's side, not yet read by anyone.
    int pendingForProgram() const;
    // The line settings of the program's side (one set per terminal, whoever opened it).
    termios slaveSettings() const;

    // The device vanishes: the program's side is hung up.
    void closeMaster();

private:
    int master_ = -1;
    int slave_ = -1; // held so the pair outlives the program's open and close
    QString slavePath_;
    QString devicePath_;
};
