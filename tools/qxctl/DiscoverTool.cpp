#include "ArgumentParsing.h"
#include "Terminal.h"
#include "Tools.h"
#include "links/channels/DeviceDiscovery.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace {
const QString kCommand = QStringLiteral("discover");
constexpr int kDefaultWaitMs = 2000;

QString option(const char *name)
{
    return QString::fromLatin1(name);
}
} // namespace

int DiscoverTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(
        parser, kCommand, QStringLiteral("[--address ADDR] [--timeout MS] [--json]"),
        Qxctl::tr("Sends the discovery request (\"REQUEST_DEVICE_DISCOVERY\") as one UDP datagram "
                  "and prints every answer that comes back within the time-out: sender:answer. "
                  "Exit 0 when some module answered, 1 when none did, 2 for usage and network "
                  "errors."));
    parser.addOptions({
        {option("address"),
         Qxctl::tr("Send the request to ADDR (default 255.255.255.255, the local network)."),
         QStringLiteral("ADDR")},
        {option("port"), Qxctl::tr("Modules listen on PORT (default 6999)."), QStringLiteral("PORT")},
        {option("local-port"), Qxctl::tr("Send from PORT (default 6998; 0: any free port)."),
         QStringLiteral("PORT")},
        {option("search"),
         Qxctl::tr("Send \"REQUEST_DEVICE_SEARCH\" instead (the window's second search button).")},
        {option("timeout"), Qxctl::tr("Listen for answers for MS (default 2000)."), QStringLiteral("MS")},
        {option("json"), Qxctl::tr("Print [{\"address\": ..., \"answer\": ...}].")},
        {{QStringLiteral("v"), option("verbose")}, Qxctl::tr("Show every byte sent and received on stderr.")},
    });
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(
            kCommand, Qxctl::tr("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
    int port = kDiscoveryPort;
    int localPort = kDiscoveryLocalPort;
    int waitMs = kDefaultWaitMs;
    const struct {
        const char *name;
        int minimum;
        int maximum;
        int *value;
    } numbers[] = {
        {"port", 1, 65535, &port}, {"local-port", 0, 65535, &localPort}, {"timeout", 1, 600000, &waitMs}};
    for (const auto &number : numbers) {
        const QString name = option(number.name);
        if (parser.isSet(name) &&
            !ParseNumber(parser.value(name), number.minimum, number.maximum, number.value))
            return UsageError(kCommand, Qxctl::tr("bad --%1 '%2'").arg(name, parser.value(name)));
    }
    const QString address =
        parser.isSet(option("address")) ? parser.value(option("address")) : kDefaultDiscoveryAddress;
    const bool json = parser.isSet(option("json"));

    DeviceDiscovery discovery;
    QJsonArray found; // with --json
    int answers = 0;
    if (parser.isSet(option("verbose")))
        QObject::connect(&discovery, &DeviceDiscovery::bytesSent, &discovery,
                         [](const QByteArray &bytes) { DumpTraffic(true, bytes); });
    QObject::connect(&discovery, &DeviceDiscovery::answered, &discovery,
                     [&](const QHostAddress &sender, const QByteArray &answer) {
                         if (parser.isSet(option("verbose")))
                             DumpTraffic(false, answer);
                         ++answers;
                         const QString text = ReplyText(answer);
                         if (json)
                             found.append(QJsonObject{{QStringLiteral("address"), sender.toString()},
                                                      {QStringLiteral("answer"), text}});
                         else
                             PrintLine(sender.toString() + QLatin1Char(':') + text);
                     });
    QString error;
    const QByteArray request = parser.isSet(option("search")) ? kSearchRequest : kDiscoveryRequest;
    if (!discovery.send(request, address, static_cast<quint16>(port), static_cast<quint16>(localPort),
                        &error)) {
        PrintError(error);
        return kExitTrouble;
    }
    ShowProgress(Qxctl::tr("listening for answers for %1 ms").arg(waitMs));
    QEventLoop loop;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    loop.exec();
    ClearProgress();
    if (json)
        PrintOut(QJsonDocument(found).toJson(QJsonDocument::Indented));
    return answers == 0 ? kExitSomeFailed : kExitOk;
}
