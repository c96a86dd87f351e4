#pragma once

// Our own version of the six calls of the Windows serial library the tool was written against,
// with the same numeric results, built on QSerialPort. Ports are keyed by their COM number (1..36) in
// the port table of their owner (the main window's); the opener names the device behind a number.
// GUI thread only.

#include "links/PortMap.h"

#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <array>
#include <functional>
#include <optional>

struct SioPortEntry {
    QPointer<QSerialPort> serial; // stays, closed, after the device vanished until sio_close
    QString device;               // canonical path, to refuse a second open under another number
};

// The open ports of one owner, by COM number; they close when it goes.
class SioPorts final : public QObject {
    Q_OBJECT

public:
    explicit SioPorts(QObject *parent = nullptr);
    ~SioPorts() override;
    std::array<SioPortEntry, kComPortCount + 1> entries;

Q_SIGNALS:
    void dataArrived(int port);
};

// Result codes.
inline constexpr int SIO_OK = 0;
inline constexpr int SIO_BADPORT = -1;   // port not opened, or the device failed
inline constexpr int SIO_OPENFAIL = -5;  // open: busy or no such device
inline constexpr int SIO_BADPARM = -7;   // bad argument
inline constexpr int SIO_WIN32FAIL = -8; // the system refused a call
inline constexpr int SIO_ABORTWRITE = -11;

// baud: rate code (5 = 300 ... 16 = 115200); mode: data-bits | stop-bits | parity codes.
int sio_ioctl(SioPorts &ports, int port, int baud, int mode);
// Number of bytes taken for sending; they are handed to the driver before this returns.
int sio_write(SioPorts &ports, int port, char *buf, int len);
// Bytes waiting to be read, fetched from the driver now (no event loop needed); <= 0 when none.
int sio_iqueue(SioPorts &ports, int port);
// Number of bytes copied into buf; they leave the input queue.
int sio_read(SioPorts &ports, int port, char *buf, int len);
int sio_close(SioPorts &ports, int port);

// Calls onData, on the GUI thread, with the port's number each time bytes arrive on an open port, for
// as long as context lives: a reader waits for this instead of polling. The bytes stay in the input
// queue until sio_read takes them; a port whose device vanished reports nothing more.
QMetaObject::Connection sio_notify(SioPorts &ports, QObject *context, std::function<void(int port)> onData);

// Why an open failed, in more detail than its result code, so that the settings dialog can tell the
// user what to do about it.
enum class OpenRefusal { None, BadNumber, NoDevice, InUse, NotPermitted, Other };
struct OpenFailure {
    OpenRefusal refusal = OpenRefusal::None;
    QString device; // the path behind the port number
};

// Opens COM<port> on the device at path; *failure (when given) says why it failed, None after a success.
int sio_open(SioPorts &ports, int port, const QString &path, OpenFailure *failure = nullptr);

struct SerialFormat {
    qint32 baudRate;
    QSerialPort::DataBits dataBits;
    QSerialPort::StopBits stopBits;
    QSerialPort::Parity parity;
};

// The settings a rate code and a character format stand for; nothing for a code the library
// does not know (which sio_ioctl answers with SIO_BADPARM).
std::optional<SerialFormat> DecodeSerialFormat(int baud, int mode);
