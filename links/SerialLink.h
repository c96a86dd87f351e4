#pragma once

// One serial port to a module: opened by its device path with a rate and character format, written
// at once to the driver, read into a ReplyGatherer (the line has no framing: a reply ends when the port
// has been quiet for the quiet time). A port whose device vanishes (unplugged adapter, closed
// pseudo-terminal) closes itself and reports gone. Failures carry one line for the user in the
// language of the installed catalogue: what failed and, where there is one, what to do about it.

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <optional>

class ReplyGatherer;

struct SerialSettings {
    QString device;
    qint32 baudRate = 115200;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// "8N1", "7E2", "8O1.5": data bits 5-8, parity N/E/O/M/S, stop bits 1, 1.5 or 2. Case ignored.
bool ParseSerialFormat(const QString &text, SerialSettings &settings);

// The window's serial dialog speaks of a rate by a code (5 = 300 ... 16 = 115200) and of a character
// format by bits: data bits 0-3 (5-8), stop bits 4 (two), parity 0x38 (none 00, odd 08, even 18,
// mark 28, space 38). Nothing for a code outside these.
std::optional<SerialSettings> DecodeSerialFormat(int baudCode, int mode);

class SerialLink final : public QObject {
    Q_OBJECT

public:
    // Why the last open failed, for a front end that advises by kind (the window's port dialog).
    // Other: the device would not open; DeviceError: it failed in another way.
    enum class Refusal { None, NoDevice, InUse, NotPermitted, Setting, Other, DeviceError };
    // Who reads what arrives: the link's own gatherer, or the owner when bytesWaiting() tells it to
    // (the window reads only the one port in use, into a gatherer of its own).
    enum class Reader { Gatherer, Owner };

    explicit SerialLink(QObject *parent = nullptr, Reader reader = Reader::Gatherer);

    // Opens settings.device with DTR and RTS raised, and applies the rate and format. False with
    // refusal() and one line for the user.
    bool open(const SerialSettings &settings, QString *reason);
    // Opens device with DTR and RTS raised, at the rate and format the port had; configure() sets
    // them. False with refusal() and one line for the user.
    bool openDevice(const QString &device, QString *reason);
    // A new rate and format for the open port. False with one line for the user.
    bool configure(const SerialSettings &settings, QString *reason);
    void close();

    bool isOpen() const;
    // Open and its device still there; a port whose device vanished is closed here.
    bool stillOpen();
    Refusal refusal() const { return refusal_; }
    QString device() const { return settings_.device; }

    // Hands every byte to the driver before it returns (at most half a second; the rest goes out from
    // the event loop). False when the port is not open or gone.
    bool write(const QByteArray &bytes);
    // Everything the driver holds now, fetched without an event loop; what the gatherer reads.
    QByteArray takeWaiting();
    // Null for a link whose owner reads.
    ReplyGatherer *gatherer() const { return gatherer_; }

    // The serial devices present now.
    static QStringList availableDevices();

Q_SIGNALS:
    // Bytes arrived for an owner that reads (Reader::Owner); they wait until takeWaiting().
    void bytesWaiting();
    void bytesSent(const QByteArray &bytes);
    void bytesReceived(const QByteArray &bytes);
    // The device vanished; the port is closed. Once per open.
    void gone(const QString &reason);

private:
    bool apply(const SerialSettings &settings, QString *reason);
    QString openFailure(QSerialPort::SerialPortError error, const QString &path) const;
    bool closeIfHungUp();
    void reportGone();
    QSerialPort *port_;
    ReplyGatherer *gatherer_ = nullptr;
    SerialSettings settings_;
    Refusal refusal_ = Refusal::None;
    bool reportedGone_ = false;
    int opens_ = 0; // a loss noticed for an earlier open is not reported for this one
};
