#include "LinkSession.h"

#include "ArgumentParsing.h"
#include "Terminal.h"
#include "links/channels/SerialChannel.h"
#include "links/channels/TcpChannel.h"

#include <QRegularExpression>

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
    verbose_ = parser.isSet(kVerbose);

    if (parser.isSet(kSerial)) {
        if (!onlyWith({kTarget, kLocal}, kRelay))
            return false;
        SerialSettings settings;
        settings.device = parser.value(kSerial);
        if (settings.device.isEmpty())
            return refuse(kSerial, settings.device);
        if (parser.isSet(kBaud) && !ParseNumber(parser.value(kBaud), 1, 4000000, &settings.baudRate))
            return refuse(kBaud, parser.value(kBaud));
        if (parser.isSet(kFormat) && !ParseSerialFormat(parser.value(kFormat), settings))
            return refuse(kFormat, parser.value(kFormat));
        timeoutMs_ = kSerialTimeoutMs;
        channel_ = new SerialChannel(settings, &owner_);
    } else {
        if (!onlyWith({kBaud, kFormat}, kSerial))
            return false;
        const bool relay = parser.isSet(kRelay);
        const QString address = parser.value(relay ? kRelay : kLan);
        QString host;
        quint16 port = 0;
        if (!splitHostPort(address, &host, &port))
            return refuse(relay ? kRelay : kLan, address);
        LinkRoute route;
        route.linkType = relay ? 2 : 1;
        if (relay) {
            if (!parser.isSet(kTarget)) {
                *error = Qxctl::tr("--relay needs --target ID[:ZONE]");
                return false;
            }
            if (!splitId(parser.value(kTarget), &route.targetId, &route.targetZone))
                return refuse(kTarget, parser.value(kTarget));
            // A zone given is a zone checked; without one the module answers by its ID alone.
            route.targetZoneValid = !route.targetZone.isEmpty();
            if (route.targetZone.isEmpty())
                route.targetZone = kDefaultZone;
            route.localId = kDefaultId;
            QString localZone; // the relay frame carries the local ID only
            if (parser.isSet(kLocal) && !splitId(parser.value(kLocal), &route.localId, &localZone))
                return refuse(kLocal, parser.value(kLocal));
        } else if (!onlyWith({kTarget, kLocal}, kRelay)) {
            return false;
        }
        timeoutMs_ = relay ? kRelayTimeoutMs : kLanTimeoutMs;
        channel_ = new TcpChannel(host, port, route, &owner_);
    }
    if (parser.isSet(kTimeout) && !ParseNumber(parser.value(kTimeout), 1, 600000, &timeoutMs_))
        return refuse(kTimeout, parser.value(kTimeout));
    if (verbose_) {
        QObject::connect(channel_, &OpenChannel::bytesSent, &owner_,
                         [](const QByteArray &bytes) { DumpTraffic(true, bytes); });
        QObject::connect(channel_, &OpenChannel::bytesReceived, &owner_,
                         [](const QByteArray &bytes) { DumpTraffic(false, bytes); });
    }
    return true;
}

bool LinkSession::open(QString *reason)
{
    ShowProgress(Qxctl::tr("opening %1").arg(channel_->destination()));
    const bool opened = channel_->open(timeoutMs_, reason);
    ClearProgress();
    return opened;
}
