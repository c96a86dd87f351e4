#pragma once

// The module on a serial port. The line has no framing, so replies are gathered by the quiet-time
// rule: a reply ends when the port has been silent for longer than the quiet time.

#include "links/channels/OpenChannel.h"

#include <QSerialPort>
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

class SerialChannel final : public OpenChannel {
    Q_OBJECT

public:
    SerialChannel(const SerialSettings &settings, bool chinese, QObject *parent = nullptr);

    bool open(int timeoutMs, QString *reason) override;
    QString destination() const override { return settings_.device; }
    bool sendCommand(const BuiltCommand &command) override;

private:
    QString openFailure() const;
    QString settingFailure(const QString &what) const;
    QByteArray takeWaiting();
    void onError(QSerialPort::SerialPortError error);

    SerialSettings settings_;
    QSerialPort *port_;
    ReplyGatherer *gatherer_;
};
