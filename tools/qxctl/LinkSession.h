#pragma once

// The link a subcommand talks to the module over, as the LINK options chose it:
//   --serial DEVICE [--baud N] [--format 8N1] | --lan HOST[:PORT]
//   | --relay HOST[:PORT] --target ID[:ZONE] [--local ID[:ZONE]]
// with --timeout MS per command and -v for every byte on the wire.

#include "links/channels/OpenChannel.h"

#include <QCommandLineParser>
#include <QObject>

class LinkSession {
public:
    static constexpr int kSerialTimeoutMs = 2000;
    static constexpr int kLanTimeoutMs = 2000;
    static constexpr int kRelayTimeoutMs = 5000;
    static constexpr quint16 kDefaultPort = 8888;

    static void addOptions(QCommandLineParser &parser);

    // False with a usage error for options that name no link, two links, or a bad value.
    bool configure(const QCommandLineParser &parser, QString *error);
    // Opens the link; false with one line for the user.
    bool open(QString *reason);

    OpenChannel *channel() const { return channel_; }
    int timeoutMs() const { return timeoutMs_; }
    bool verbose() const { return verbose_; }

private:
    QObject owner_;
    OpenChannel *channel_ = nullptr;
    int timeoutMs_ = kSerialTimeoutMs;
    bool verbose_ = false;
};
