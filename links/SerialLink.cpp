#include "links/SerialLink.h"

#include "links/DeviceGroup.h"
#include "links/ReplyGatherer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
// How long a write may block handing bytes to the driver. The driver takes a few KiB at once, so
// commands never wait.
constexpr int kWriteFlushMs = 500;
// Bounds one fetch against a device that never stops sending (each round reads up to 32 KiB).
constexpr int kMaxFillRounds = 64;

short pollEvents(const QSerialPort *port)
{
    pollfd pfd{static_cast<int>(port->handle()), POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&pfd, 1, 0);
    } while (rc < 0 && errno == EINTR);
    return rc > 0 ? pfd.revents : 0;
}

bool hungUp(short events)
{
    return (events & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Qt reports a device that another program has locked and one this user may not open with the same
// error; only the second is cured by the user's groups. Asked with the effective ids, as open() does.
bool notPermitted(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    return ::faccessat(AT_FDCWD, native.constData(), R_OK | W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM);
}

// Qt 6.4 sets CMSPAR for mark and space parity but leaves it set when the parity later becomes even
// or odd on the same open port, so the line would go on sending a fixed parity bit.
bool clearStaleMarkSpace(const QSerialPort *port, QSerialPort::Parity parity)
{
#ifdef CMSPAR
    if (parity == QSerialPort::MarkParity || parity == QSerialPort::SpaceParity)
        return true;
    const int fd = static_cast<int>(port->handle());
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    if ((tio.c_cflag & CMSPAR) == 0)
        return true;
    tio.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
#else
    Q_UNUSED(port);
    Q_UNUSED(parity);
    return true;
#endif
}

constexpr int kDataBitsMask = 0x03;
constexpr int kStopBitsMask = 0x04;
constexpr int kParityMask = 0x38;

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

std::optional<SerialSettings> DecodeSerialFormat(int baudCode, int mode)
{
    if ((mode & ~(kDataBitsMask | kStopBitsMask | kParityMask)) != 0)
        return std::nullopt;
    const auto rate = std::find_if(std::begin(kRates), std::end(kRates),
                                   [baudCode](const RateEntry &entry) { return entry.code == baudCode; });
    const auto parity =
        std::find_if(std::begin(kParities), std::end(kParities),
                     [mode](const ParityEntry &entry) { return entry.code == (mode & kParityMask); });
    if (rate == std::end(kRates) || parity == std::end(kParities))
        return std::nullopt;
    SerialSettings settings;
    settings.baudRate = rate->rate;
    settings.parity = parity->parity;
    settings.dataBits = static_cast<QSerialPort::DataBits>(QSerialPort::Data5 + (mode & kDataBitsMask));
    settings.stopBits = (mode & kStopBitsMask) != 0 ? QSerialPort::TwoStop : QSerialPort::OneStop;
    return settings;
}

QStringList SerialLink::availableDevices()
{
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return devices;
}

bool ParseSerialFormat(const QString &text, SerialSettings &settings)
{
    static const QRegularExpression form(QStringLiteral("^([5-8])([NEOMS])(1|1\\.5|2)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    settings.dataBits = static_cast<QSerialPort::DataBits>(match.captured(1).toInt());
    switch (match.captured(2).toUpper().at(0).toLatin1()) {
    case 'E':
        settings.parity = QSerialPort::EvenParity;
        break;
    case 'O':
        settings.parity = QSerialPort::OddParity;
        break;
    case 'M':
        settings.parity = QSerialPort::MarkParity;
        break;
    case 'S':
        settings.parity = QSerialPort::SpaceParity;
        break;
    default:
        settings.parity = QSerialPort::NoParity;
        break;
    }
    const QString stop = match.captured(3);
    settings.stopBits = stop == QLatin1String("2")     ? QSerialPort::TwoStop
                        : stop == QLatin1String("1.5") ? QSerialPort::OneAndHalfStop
                                                       : QSerialPort::OneStop;
    return true;
}

SerialLink::SerialLink(QObject *parent, Reader reader) : QObject(parent), port_(new QSerialPort(this))
{
    if (reader == Reader::Gatherer) {
        gatherer_ = new ReplyGatherer([this] { return takeWaiting(); }, ReplyGatherer::Clock(), this);
        connect(port_, &QSerialPort::readyRead, gatherer_, &ReplyGatherer::readWaiting);
    } else {
        connect(port_, &QSerialPort::readyRead, this, &SerialLink::bytesWaiting);
    }
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // An unplugged adapter or a closed pseudo-terminal: the port stays "open" until it is closed here,
        // and under an event loop Qt would spin on its read errors.
        if (error == QSerialPort::ResourceError && port_->isOpen()) {
            port_->close();
            reportGone();
        } else if (error == QSerialPort::ReadError || error == QSerialPort::WriteError) {
            if (closeIfHungUp())
                reportGone();
        }
    });
}

bool SerialLink::isOpen() const
{
    return port_->isOpen();
}

bool SerialLink::stillOpen()
{
    const bool wasOpen = port_->isOpen();
    if (closeIfHungUp()) {
        if (wasOpen)
            reportGone();
        return false;
    }
    return true;
}

bool SerialLink::open(const SerialSettings &settings, QString *reason)
{
    if (!openDevice(settings.device, reason))
        return false;
    settings_ = settings;
    if (!apply(settings, reason)) {
        refusal_ = Refusal::Setting;
        port_->close();
        return false;
    }
    return true;
}

bool SerialLink::openDevice(const QString &path, QString *reason)
{
    close();
    settings_.device = path;
    reportedGone_ = false;
    ++opens_;
    refusal_ = Refusal::None;
    port_->setPortName(path);
    // Checked before Qt, which would first create a lock file for the missing device.
    const bool missing = QFileInfo(path).canonicalFilePath().isEmpty();
    if (missing || !port_->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error =
            missing ? QSerialPort::DeviceNotFoundError : port_->error();
        refusal_ = error == QSerialPort::DeviceNotFoundError ? Refusal::NoDevice
                   : error == QSerialPort::PermissionError
                       ? (notPermitted(path) ? Refusal::NotPermitted : Refusal::InUse)
                   : error == QSerialPort::OpenError ? Refusal::Other
                                                     : Refusal::DeviceError;
        *reason = openFailure(error, path);
        return false;
    }
    // DTR and RTS raised, as modules on an adapter expect. A pseudo-terminal has no modem lines and
    // reports an error here while the port itself works, so the outcome is no reason to fail.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    port_->clearError();
    return true;
}

bool SerialLink::configure(const SerialSettings &settings, QString *reason)
{
    const bool wasOpen = port_->isOpen();
    if (closeIfHungUp()) {
        if (wasOpen)
            reportGone();
        *reason = tr("the serial port %1 is not open").arg(settings_.device);
        return false;
    }
    settings_.baudRate = settings.baudRate;
    settings_.dataBits = settings.dataBits;
    settings_.parity = settings.parity;
    settings_.stopBits = settings.stopBits;
    return apply(settings_, reason);
}

bool SerialLink::apply(const SerialSettings &settings, QString *reason)
{
    const struct {
        bool ok;
        const char *name;
    } steps[] = {
        {port_->setBaudRate(settings.baudRate), QT_TR_NOOP("baud rate")},
        {port_->setDataBits(settings.dataBits), QT_TR_NOOP("data bits")},
        // The stale mark/space bit goes also where the parity itself is refused.
        {[&] {
             const bool set = port_->setParity(settings.parity);
             return clearStaleMarkSpace(port_, settings.parity) && set;
         }(),
         QT_TR_NOOP("parity")},
        {port_->setStopBits(settings.stopBits), QT_TR_NOOP("stop bits")},
        {port_->setFlowControl(QSerialPort::NoFlowControl), QT_TR_NOOP("flow control")},
    };
    for (const auto &step : steps) {
        if (!step.ok) {
            *reason =
                tr("%1 does not take the %2: %3").arg(settings.device, tr(step.name), port_->errorString());
            port_->clearError();
            return false;
        }
    }
    port_->clearError();
    return true;
}

QString SerialLink::openFailure(QSerialPort::SerialPortError error, const QString &path) const
{
    switch (refusal_) {
    case Refusal::NoDevice:
        return tr("no such serial device: %1").arg(path);
    case Refusal::NotPermitted: {
        // Group membership is read at login, so joining takes effect only in a new session.
        const QString group = DeviceGroup(path).isEmpty() ? QStringLiteral("dialout") : DeviceGroup(path);
        return tr("permission denied on %1: add yourself to the group \"%2\" (sudo usermod "
                  "-aG %2 $USER), then log out and log in again")
            .arg(path, group);
    }
    case Refusal::InUse:
        return tr("%1 is in use by another program").arg(path);
    default:
        Q_UNUSED(error);
        return tr("cannot open %1: %2").arg(path, port_->errorString());
    }
}

void SerialLink::close()
{
    if (port_->isOpen())
        port_->close();
}

bool SerialLink::write(const QByteArray &bytes)
{
    if (!port_->isOpen())
        return false;
    if (closeIfHungUp()) {
        reportGone();
        return false;
    }
    if (port_->write(bytes) != bytes.size()) {
        if (closeIfHungUp())
            reportGone();
        return false;
    }
    // Hand the bytes to the driver now; left to Qt they would wait for the event loop.
    const QDeadlineTimer deadline(kWriteFlushMs);
    while (port_->isOpen() && port_->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!port_->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    port_->clearError();
    if (closeIfHungUp()) {
        reportGone();
        return false;
    }
    Q_EMIT bytesSent(bytes);
    return true;
}

QByteArray SerialLink::takeWaiting()
{
    // QSerialPort moves bytes from the driver into its buffer only from the event loop, but a caller
    // may read without one, or read more than the event that woke it announced.
    for (int round = 0; round < kMaxFillRounds && port_->isOpen(); ++round) {
        const short events = pollEvents(port_);
        if (hungUp(events)) {
            const QByteArray last = port_->readAll();
            port_->close();
            // Not from inside the gatherer's read: it hears of the loss once it is done.
            QTimer::singleShot(0, this, [this, opens = opens_] {
                if (opens == opens_)
                    reportGone();
            });
            if (!last.isEmpty())
                Q_EMIT bytesReceived(last);
            return last;
        }
        if ((events & POLLIN) == 0 || !port_->waitForReadyRead(0))
            break;
    }
    port_->clearError();
    const QByteArray bytes = port_->isOpen() ? port_->readAll() : QByteArray();
    if (!bytes.isEmpty())
        Q_EMIT bytesReceived(bytes);
    return bytes;
}

bool SerialLink::closeIfHungUp()
{
    if (port_->isOpen() && hungUp(pollEvents(port_)))
        port_->close();
    return !port_->isOpen();
}

void SerialLink::reportGone()
{
    if (reportedGone_ || settings_.device.isEmpty())
        return;
    reportedGone_ = true;
    Q_EMIT gone(tr("the serial port %1 is gone (unplugged, or its other end closed)").arg(settings_.device));
}
