#pragma once

// The module on a serial port. The line has no framing, so replies are gathered by the quiet-time
// rule: a reply ends when the port has been silent for longer than the quiet time.

#include "links/SerialLink.h"
#include "links/channels/OpenChannel.h"

class SerialChannel final : public OpenChannel {
    Q_OBJECT

public:
    explicit SerialChannel(const SerialSettings &settings, QObject *parent = nullptr);

    bool open(int timeoutMs, QString *reason) override;
    QString destination() const override { return settings_.device; }
    bool sendCommand(const BuiltCommand &command) override;

private:
    SerialSettings settings_;
    SerialLink *link_;
};
