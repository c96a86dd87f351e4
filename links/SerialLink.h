#pragma once

// One serial port to a module: opened by its device path with a rate and character format, written
// at once to the driver, read into a ReplyGatherer (the line has no framing: a reply ends when the port
// has been quiet for the quiet time). A port whose device vanishes (unplugged adapter, closed
// pseudo-terminal) closes itself and reports gone. Failures carry one line for the user in the
// language chosen at construction: what failed and, where there is one, what to do about it.

#include <QObject>
#include <QSerialPort>
#include <QString>

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

class SerialLink final : public QObject {
    Q_OBJECT

public:
    // Why the last open failed, for a front end that advises by kind (the window's port dialog).
    enum class Refusal { None, NoDevice, InUse, NotPermitted, Setting, Other };

    explicit SerialLink(bool chinese, QObject *parent = nullptr);

    // Opens settings.device with DTR and RTS raised, and applies the rate and format. False with
    // refusal() and one line for the user.
    bool open(const SerialSettings &settings, QString *reason);
    // A new rate and format for the open port. False with one line for the user.
    bool configure(const SerialSettings &settings, QString *reason);
    void close();

    bool isOpen() const;
    Refusal refusal() const { return refusal_; }
    QString device() const { return settings_.device; }

    // Hands every byte to the driver before it returns (at most half a second; the rest goes out from
    // the event loop). False when the port is not open or gone.
    bool write(const QByteArray &bytes);
    // Everything the driver holds now, fetched without an event loop; what the gatherer reads.
    QByteArray takeWaiting();
    ReplyGatherer *gatherer() const { return gatherer_; }

Q_SIGNALS:
    void bytesSent(const QByteArray &bytes);
    void bytesReceived(const QByteArray &bytes);
    // The device vanished; the port is closed. Once per open.
    void gone(const QString &reason);

private:
    bool apply(const SerialSettings &settings, QString *reason);
    QString openFailure(QSerialPort::SerialPortError error, const QString &path) const;
    bool closeIfHungUp();
    void reportGone();
    QString say(const QString &english, const QString &chinese) const { return chinese_ ? chinese : english; }

    bool chinese_;
    QSerialPort *port_;
    ReplyGatherer *gatherer_;
    SerialSettings settings_;
    Refusal refusal_ = Refusal::None;
    bool reportedGone_ = false;
    int opens_ = 0; // a loss noticed for an earlier open is not reported for this one
};
