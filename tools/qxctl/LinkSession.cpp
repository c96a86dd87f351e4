#include "LinkSession.h"

#include "ArgumentParsing.h"
#include "Terminal.h"
#include "links/channels/SerialChannel.h"
#include "links/channels/TcpChannel.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
const QString kSerial = QStringLiteral("serial");
const QString kBaud = QStringLiteral("baud");
const QString kFormat = QStringLiteral("format");
const QString kLan = QStringLiteral("lan");
const QString kRelay = QStringLiteral("relay");
const QString kTarget = QStringLiteral("target");
const QString kLocal = QStringLiteral("local");
const QString kTimeout = QStringLiteral("timeout");
const QString kVerbose = QStringLiteral("verbose");

// The window's settings defaults for the relay link.
const QString kDefaultId = QStringLiteral("00000000000");
const QString kDefaultZone = QStringLiteral("0000");

bool splitHostPort(const QString &text, QString *host, quint16 *port)
{
    static const QRegularExpression form(
        QStringLiteral("^(?:\\[([^\\]]+)\\]|([^:\\[\\]]+))(?::(\\d{1,5}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    *host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    int number = LinkSession::kDefaultPort;
    if (match.hasCaptured(3) && !ParseNumber(match.captured(3), 1, 65535, &number))
        return false;
    *port = static_cast<quint16>(number);
    return true;
}

// ID[:ZONE]: 11 digits, optionally ":" and 4 digits.
bool splitId(const QString &text, QString *id, QString *zone)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{11})(?::(\\d{4}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    *id = match.captured(1);
    *zone = match.captured(2);
    return true;
}
} // namespace

void LinkSession::addOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {kSerial, Qxctl::tr("The module on serial port DEVICE."), QStringLiteral("DEVICE")},
        {kBaud, Qxctl::tr("Serial baud rate (default 115200)."), QStringLiteral("N")},
        {kFormat, Qxctl::tr("Serial data bits, parity (N/E/O/M/S), stop bits (default 8N1)."),
         QStringLiteral("FORMAT")},
        {kLan, Qxctl::tr("The module's own TCP port on the LAN (default port 8888)."),
         QStringLiteral("HOST[:PORT]")},
        {kRelay, Qxctl::tr("The relay server (default port 8888); give --target."),
         QStringLiteral("HOST[:PORT]")},
        {kTarget,
         Qxctl::tr("Relay: the module's 11-digit ID and 4-digit zone. Without ZONE the module answers "
                   "whatever its zone."),
         QStringLiteral("ID[:ZONE]")},
        {kLocal, Qxctl::tr("Relay: this tool's ID (default 00000000000)."), QStringLiteral("ID[:ZONE]")},
        {kTimeout,
         Qxctl::tr("Wait at most MS for the connection and for each reply (default 2000; relay 5000)."),
         QStringLiteral("MS")},
        {{QStringLiteral("v"), kVerbose}, Qxctl::tr("Show every byte sent and received on stderr.")},
    });
}

bool LinkSession::configure(const QCommandLineParser &parser, QString *error)
{
    const int links = int(parser.isSet(kSerial)) + int(parser.isSet(kLan)) + int(parser.isSet(kRelay));
    if (links != 1) {
        *error = links == 0 ? Qxctl::tr("give a link: --serial, --lan or --relay")
                            : Qxctl::tr("give only one of --serial, --lan and --relay");
        return false;
    }
    QList<LinkChoice> choices;
    if (!parseLinks(parser, &choices, error))
        return false;
    // A repeated option names its last value, as a single value always has.
    const LinkChoice &link = choices.constLast();
    verbose_ = parser.isSet(kVerbose);
    timeoutMs_ = link.timeoutMs;
    channel_ = link.makeChannel(&owner_);
    if (verbose_)
        watchTraffic(channel_, &owner_, QString());
    return true;
}

bool LinkSession::parseLinks(const QCommandLineParser &parser, QList<LinkChoice> *links, QString *error)
{
    const auto refuse = [error](const QString &option, const QString &value) {
        *error = Qxctl::tr("bad --%1 '%2'").arg(option, value);
        return false;
    };
    const auto onlyWith = [&parser, error](const QStringList &options, const QString &link) {
        for (const QString &option : options) {
            if (parser.isSet(option)) {
                *error = Qxctl::tr("--%1 goes with --%2").arg(option, link);
                return false;
            }
        }
        return true;
    };
    const QStringList serials = parser.values(kSerial);
    const QStringList lans = parser.values(kLan);
    const QStringList relays = parser.values(kRelay);
    if (serials.isEmpty() && !onlyWith({kBaud, kFormat}, kSerial))
        return false;
    if (relays.isEmpty() && !onlyWith({kTarget, kLocal}, kRelay))
        return false;

    QList<LinkChoice> found;
    const auto add = [&found](const LinkChoice &link) {
        // The same link twice is worked on once: two runs on one module would talk over each other.
        if (std::none_of(found.cbegin(), found.cend(),
                         [&link](const LinkChoice &known) { return known.name == link.name; }))
            found << link;
    };
    SerialSettings serial;
    for (const QString &device : serials) {
        if (device.isEmpty())
            return refuse(kSerial, device);
    }
    if (parser.isSet(kBaud) && !ParseNumber(parser.value(kBaud), 1, 4000000, &serial.baudRate))
        return refuse(kBaud, parser.value(kBaud));
    if (parser.isSet(kFormat) && !ParseSerialFormat(parser.value(kFormat), serial))
        return refuse(kFormat, parser.value(kFormat));
    for (const QString &device : serials) {
        LinkChoice link;
        link.name = device;
        link.serial = true;
        link.serialSettings = serial;
        link.serialSettings.device = device;
        link.timeoutMs = kSerialTimeoutMs;
        add(link);
    }
    for (const QString &address : lans) {
        QString host;
        quint16 port = 0;
        if (!splitHostPort(address, &host, &port))
            return refuse(kLan, address);
        add(lanLink(host, port, kLanTimeoutMs));
    }
    if (relays.size() > 1) {
        *error = Qxctl::tr("give one --relay, with a --target for each module behind it");
        return false;
    }
    if (!relays.isEmpty()) {
        const QString address = relays.constFirst();
        LinkChoice link;
        if (!splitHostPort(address, &link.host, &link.port))
            return refuse(kRelay, address);
        if (!parser.isSet(kTarget)) {
            *error = Qxctl::tr("--relay needs --target ID[:ZONE]");
            return false;
        }
        link.timeoutMs = kRelayTimeoutMs;
        link.route.linkType = 2;
        for (const QString &target : parser.values(kTarget)) {
            if (!splitId(target, &link.route.targetId, &link.route.targetZone))
                return refuse(kTarget, target);
            // A zone given is a zone checked; without one the module answers by its ID alone.
            link.route.targetZoneValid = !link.route.targetZone.isEmpty();
            if (link.route.targetZone.isEmpty())
                link.route.targetZone = kDefaultZone;
            link.route.localId = kDefaultId;
            QString localZone; // the relay frame carries the local ID only
            if (parser.isSet(kLocal) && !splitId(parser.value(kLocal), &link.route.localId, &localZone))
                return refuse(kLocal, parser.value(kLocal));
            link.name = QStringLiteral("%1:%2/%3").arg(link.host).arg(link.port).arg(link.route.targetId);
            add(link);
        }
    }
    if (parser.isSet(kTimeout)) {
        int timeoutMs = 0;
        if (!ParseNumber(parser.value(kTimeout), 1, 600000, &timeoutMs))
            return refuse(kTimeout, parser.value(kTimeout));
        for (LinkChoice &link : found)
            link.timeoutMs = timeoutMs;
    }
    *links = found;
    return true;
}

LinkChoice LinkSession::lanLink(const QString &host, quint16 port, int timeoutMs)
{
    LinkChoice link;
    link.name = QStringLiteral("%1:%2").arg(host).arg(port);
    link.host = host;
    link.port = port;
    link.route.linkType = 1;
    link.timeoutMs = timeoutMs;
    return link;
}

void LinkSession::watchTraffic(OpenChannel *channel, QObject *context, const QString &link)
{
    QObject::connect(channel, &OpenChannel::bytesSent, context,
                     [link](const QByteArray &bytes) { DumpTraffic(true, bytes, link); });
    QObject::connect(channel, &OpenChannel::bytesReceived, context,
                     [link](const QByteArray &bytes) { DumpTraffic(false, bytes, link); });
}

OpenChannel *LinkChoice::makeChannel(QObject *parent) const
{
    if (serial)
        return new SerialChannel(serialSettings, parent);
    return new TcpChannel(host, port, route, parent);
}

bool LinkSession::verbose(const QCommandLineParser &parser)
{
    return parser.isSet(kVerbose);
}

bool LinkSession::open(QString *reason)
{
    ShowProgress(Qxctl::tr("opening %1").arg(channel_->destination()));
    const bool opened = channel_->open(timeoutMs_, reason);
    ClearProgress();
    return opened;
}
