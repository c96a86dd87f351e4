#pragma once

// The link a subcommand talks to the module over, as the LINK options chose it:
//   --serial DEVICE [--baud N] [--format 8N1] | --lan HOST[:PORT]
//   | --relay HOST[:PORT] --target ID[:ZONE] [--local ID[:ZONE]]
// with --timeout MS per command and -v for every byte on the wire.

#include "links/LinkSender.h"
#include "links/SerialLink.h"
#include "links/channels/OpenChannel.h"

#include <QCommandLineParser>
#include <QList>
#include <QObject>

// One link as the options named it; its channel is made when it is needed, so that a run over many
// links holds only the ones it is working on.
struct LinkChoice {
    QString name; // starts every line about this link: "/dev/ttyUSB0", "10.0.0.7:8888", "relay:8888/ID"
    bool serial = false;
    SerialSettings serialSettings;
    QString host;
    quint16 port = 0;
    LinkRoute route;
    int timeoutMs = 0;

    OpenChannel *makeChannel(QObject *parent) const;
};

class LinkSession {
public:
    static constexpr int kSerialTimeoutMs = 2000;
    static constexpr int kLanTimeoutMs = 2000;
    static constexpr int kRelayTimeoutMs = 5000;
    static constexpr quint16 kDefaultPort = 8888;

    static void addOptions(QCommandLineParser &parser);

    // False with a usage error for options that name no link, two links, or a bad value.
    bool configure(const QCommandLineParser &parser, QString *error);
    // Every link the options name: --serial and --lan as often as given, one --relay with a --target
    // for each module behind it. None is no error here. False with a usage error for a bad value.
    static bool parseLinks(const QCommandLineParser &parser, QList<LinkChoice> *links, QString *error);
    // A LAN link to a module's own port, named as --lan names it.
    static LinkChoice lanLink(const QString &host, quint16 port, int timeoutMs);
    // With -v: every byte the channel sends and receives on stderr, behind the link's name when given.
    static void watchTraffic(OpenChannel *channel, QObject *context, const QString &link);
    static bool verbose(const QCommandLineParser &parser);
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
