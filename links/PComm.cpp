#include "links/PComm.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// How long sio_write may block handing bytes to the driver; what is left then goes out from the
// event loop. The driver takes a few KiB at once, so commands never wait.
constexpr int kWriteFlushMs = 500;
// Bounds one sio_iqueue against a device that never stops sending (each round reads up to 32 KiB).
constexpr int kMaxFillRounds = 64;

constexpr int kDataBitsMask = 0x03;
constexpr int kStopBitsMask = 0x04;
constexpr int kParityMask = 0x38;
constexpr int kKnownModeBits = kDataBitsMask | kStopBitsMask | kParityMask;

struct RateEntry {
    int code;
    qint32 rate;
};
constexpr RateEntry kRates[] = {{5, 300},   {6, 600},    {7, 1200},   {9, 2400},   {10, 4800},
                                {12, 9600}, {13, 19200}, {14, 38400}, {15, 57600}, {16, 115200}};

struct ParityEntry {
    int code;
    QSerialPort::Parity parity;
};
constexpr ParityEntry kParities[] = {{0x00, QSerialPort::NoParity},
                                     {0x08, QSerialPort::OddParity},
                                     {0x18, QSerialPort::EvenParity},
                                     {0x28, QSerialPort::MarkParity},
                                     {0x38, QSerialPort::SpaceParity}};

} // namespace

SioPorts::SioPorts(QObject *parent) : QObject(parent) {}

SioPorts::~SioPorts() = default;

namespace {

bool validPort(int port)
{
    return port >= 1 && port <= kComPortCount;
}

short pollEvents(QSerialPort *serial)
{
    pollfd pfd{static_cast<int>(serial->handle()), POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&pfd, 1, 0);
    } while (rc < 0 && errno == EINTR);
    return rc > 0 ? pfd.revents : 0;
}

// An unplugged device (or a pseudo-terminal whose other end closed) is hung up: every poll reports
// HUP and reads return nothing, yet QSerialPort keeps the port open and, under an event loop, spins
// on read errors. Closing it here makes every later call see a port that is not open.
bool closeIfHungUp(QSerialPort *serial)
{
    if (serial->isOpen() && (pollEvents(serial) & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        serial->close();
    return !serial->isOpen();
}

// The port behind a number if it is open, whether or not its device is still there.
QSerialPort *portEntry(SioPorts &ports, int port)
{
    return validPort(port) ? ports.entries[size_t(port)].serial : nullptr;
}

// The port behind a number if it is open and its device still there; nullptr otherwise.
QSerialPort *openPort(SioPorts &ports, int port)
{
    QSerialPort *serial = portEntry(ports, port);
    if (serial == nullptr || closeIfHungUp(serial))
        return nullptr;
    return serial;
}

void discard(SioPortEntry &entry)
{
    if (entry.serial != nullptr) {
        entry.serial->close();
        entry.serial->deleteLater(); // may be inside one of its own signals
    }
    entry.serial = nullptr;
    entry.device.clear();
}

bool heldUnderAnotherNumber(SioPorts &ports, const QString &device)
{
    for (const SioPortEntry &entry : ports.entries) {
        // A hung-up device's number may already belong to a new device.
        if (entry.serial != nullptr && !closeIfHungUp(entry.serial) && entry.device == device)
            return true;
    }
    return false;
}

// QSerialPort moves bytes from the driver into its buffer only from the event loop, but a caller may
// read without one, or read more than the event that woke it announced: pull in everything the driver
// holds now.
void fillReadBuffer(QSerialPort *serial)
{
    for (int round = 0; round < kMaxFillRounds && serial->isOpen(); ++round) {
        const short events = pollEvents(serial);
        if ((events & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            serial->close();
            return;
        }
        if ((events & POLLIN) == 0 || !serial->waitForReadyRead(0))
            return;
    }
}

// Qt 6.4 sets CMSPAR for mark and space parity but leaves it set when the parity later becomes even
// or odd on the same open port, so the line would go on sending a fixed parity bit.
bool clearStaleMarkSpace(QSerialPort *serial, QSerialPort::Parity parity)
{
#ifdef CMSPAR
    if (parity == QSerialPort::MarkParity || parity == QSerialPort::SpaceParity)
        return true;
    const int fd = static_cast<int>(serial->handle());
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    if ((tio.c_cflag & CMSPAR) == 0)
        return true;
    tio.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
#else
    Q_UNUSED(serial);
    Q_UNUSED(parity);
    return true;
#endif
}

int refuseOpen(OpenFailure *failure, OpenRefusal refusal, const QString &device, int code)
{
    if (failure != nullptr)
        *failure = {refusal, device};
    return code;
}

// Qt reports a device that another program has locked and one this user may not open with the same
// error; only the second is cured by the user's groups. Asked with the effective ids, as open() does.
OpenRefusal permissionRefusal(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::faccessat(AT_FDCWD, native.constData(), R_OK | W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM))
        return OpenRefusal::NotPermitted;
    return OpenRefusal::InUse;
}

void watchForVanishing(QSerialPort *serial)
{
    QObject::connect(serial, &QSerialPort::errorOccurred, serial,
                     [serial](QSerialPort::SerialPortError error) {
                         if (error == QSerialPort::ResourceError)
                             serial->close();
                         else if (error == QSerialPort::ReadError || error == QSerialPort::WriteError)
                             closeIfHungUp(serial);
                     });
}

} // namespace

std::optional<SerialFormat> DecodeSerialFormat(int baud, int mode)
{
    if ((mode & ~kKnownModeBits) != 0)
        return std::nullopt;
    SerialFormat format{};
    const auto rate = std::find_if(std::begin(kRates), std::end(kRates),
                                   [baud](const RateEntry &entry) { return entry.code == baud; });
    if (rate == std::end(kRates))
        return std::nullopt;
    format.baudRate = rate->rate;
    const auto parity =
        std::find_if(std::begin(kParities), std::end(kParities),
                     [mode](const ParityEntry &entry) { return entry.code == (mode & kParityMask); });
    if (parity == std::end(kParities))
        return std::nullopt;
    format.parity = parity->parity;
    format.dataBits = static_cast<QSerialPort::DataBits>(QSerialPort::Data5 + (mode & kDataBitsMask));
    format.stopBits = (mode & kStopBitsMask) != 0 ? QSerialPort::TwoStop : QSerialPort::OneStop;
    return format;
}

int sio_open(SioPorts &ports, int port, const QString &path, OpenFailure *failure)
{
    if (failure != nullptr)
        *failure = {};
    if (!validPort(port))
        return refuseOpen(failure, OpenRefusal::BadNumber, QString(), SIO_OPENFAIL);
    SioPortEntry &entry = ports.entries[size_t(port)];
    if (entry.serial != nullptr && !closeIfHungUp(entry.serial))
        return refuseOpen(failure, OpenRefusal::InUse, path, SIO_OPENFAIL);
    discard(entry); // a port whose device vanished
    const QString device = QFileInfo(path).canonicalFilePath();
    // Checked before Qt, which would first create a lock file for the missing device.
    if (device.isEmpty())
        return refuseOpen(failure, OpenRefusal::NoDevice, path, SIO_OPENFAIL);
    // The lock file catches a second open of the same path, not of a symlink to it.
    if (heldUnderAnotherNumber(ports, device))
        return refuseOpen(failure, OpenRefusal::InUse, path, SIO_OPENFAIL);

    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(path);
    if (!serial->open(QIODevice::ReadWrite)) {
        switch (serial->error()) {
        case QSerialPort::DeviceNotFoundError:
            return refuseOpen(failure, OpenRefusal::NoDevice, path, SIO_OPENFAIL);
        case QSerialPort::PermissionError: // held by another program (lock file) or not ours
            return refuseOpen(failure, permissionRefusal(path), path, SIO_OPENFAIL);
        case QSerialPort::OpenError:
            return refuseOpen(failure, OpenRefusal::Other, path, SIO_OPENFAIL);
        default:
            return refuseOpen(failure, OpenRefusal::Other, path, SIO_BADPORT);
        }
    }
    // Leave DTR and RTS raised, as the Windows library does. A pseudo-terminal has no modem lines and
    // reports an error here while the port itself works, so the outcome is no reason to fail.
    serial->setDataTerminalReady(true);
    serial->setRequestToSend(true);
    serial->clearError();
    watchForVanishing(serial.get());
    QObject::connect(serial.get(), &QSerialPort::readyRead, &ports,
                     [owner = &ports, port] { Q_EMIT owner->dataArrived(port); });
    serial->setParent(&ports);
    entry.serial = serial.release();
    entry.device = device;
    return SIO_OK;
}

int sio_ioctl(SioPorts &ports, int port, int baud, int mode)
{
    QSerialPort *serial = openPort(ports, port);
    if (serial == nullptr)
        return SIO_BADPORT;
    const std::optional<SerialFormat> format = DecodeSerialFormat(baud, mode);
    if (!format)
        return SIO_BADPARM;
    bool ok = serial->setBaudRate(format->baudRate);
    ok = serial->setDataBits(format->dataBits) && ok;
    ok = serial->setStopBits(format->stopBits) && ok;
    ok = serial->setParity(format->parity) && ok;
    ok = clearStaleMarkSpace(serial, format->parity) && ok;
    serial->clearError();
    if (closeIfHungUp(serial))
        return SIO_BADPORT;
    return ok ? SIO_OK : SIO_WIN32FAIL;
}

int sio_write(SioPorts &ports, int port, char *buf, int len)
{
    QSerialPort *serial = openPort(ports, port);
    if (serial == nullptr)
        return SIO_BADPORT;
    if (len < 0 || (buf == nullptr && len > 0))
        return SIO_BADPARM;
    if (len == 0)
        return 0;
    if (serial->write(buf, len) != len)
        return closeIfHungUp(serial) ? SIO_BADPORT : SIO_WIN32FAIL;
    // Hand the bytes to the driver now; left to Qt they would wait for the event loop.
    const QDeadlineTimer deadline(kWriteFlushMs);
    while (serial->isOpen() && serial->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!serial->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    serial->clearError();
    return closeIfHungUp(serial) ? SIO_BADPORT : len;
}

int sio_iqueue(SioPorts &ports, int port)
{
    // The fill below checks for a hang-up with the same one poll().
    QSerialPort *serial = portEntry(ports, port);
    if (serial == nullptr || !serial->isOpen())
        return SIO_BADPORT;
    fillReadBuffer(serial);
    serial->clearError();
    if (!serial->isOpen())
        return SIO_BADPORT;
    return static_cast<int>(std::min<qint64>(serial->bytesAvailable(), INT_MAX));
}

int sio_read(SioPorts &ports, int port, char *buf, int len)
{
    QSerialPort *serial = openPort(ports, port);
    if (serial == nullptr)
        return SIO_BADPORT;
    if (len < 0 || (buf == nullptr && len > 0))
        return SIO_BADPARM;
    if (serial->bytesAvailable() < len) {
        fillReadBuffer(serial);
        serial->clearError();
        if (!serial->isOpen())
            return SIO_BADPORT;
    }
    const qint64 got = serial->read(buf, len);
    return got < 0 ? SIO_BADPORT : static_cast<int>(got);
}

QMetaObject::Connection sio_notify(SioPorts &ports, QObject *context, std::function<void(int port)> onData)
{
    return QObject::connect(&ports, &SioPorts::dataArrived, context, std::move(onData));
}

int sio_close(SioPorts &ports, int port)
{
    if (!validPort(port))
        return SIO_BADPORT;
    SioPortEntry &entry = ports.entries[size_t(port)];
    if (entry.serial == nullptr)
        return SIO_BADPORT;
    // A port closed here after its device vanished still counts as ours until now: closing it
    // succeeds, so the settings dialog does not keep a dead port marked open.
    discard(entry);
    return SIO_OK;
}
