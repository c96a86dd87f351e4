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
        Say(QStringLiteral("Sends the discovery request (\"REQUEST_DEVICE_DISCOVERY\") as one UDP datagram "
                           "and prints every answer that comes back within the time-out: sender:answer. "
                           "Exit 0 when some module answered, 1 when none did, 2 for usage and network "
                           "errors."),
            QStringLiteral("以一个UDP数据报发送搜索请求（\"REQUEST_DEVICE_DISCOVERY\"），输出超时前收到的每个"
                           "应答：发送方:应答。有模块应答时退出码0，没有时1，用法或网络错误时2。")));
    parser.addOptions({
        {option("address"),
         Say(QStringLiteral("Send the request to ADDR (default 255.255.255.255, the local network)."),
             QStringLiteral("请求发往ADDR（默认255.255.255.255，即本地网络）。")),
         QStringLiteral("ADDR")},
        {option("port"),
         Say(QStringLiteral("Modules listen on PORT (default 6999)."),
             QStringLiteral("模块监听的端口（默认6999）。")),
         QStringLiteral("PORT")},
        {option("local-port"),
         Say(QStringLiteral("Send from PORT (default 6998; 0: any free port)."),
             QStringLiteral("从此端口发送（默认6998；0为任一空闲端口）。")),
         QStringLiteral("PORT")},
        {option("search"),
         Say(QStringLiteral("Send \"REQUEST_DEVICE_SEARCH\" instead (the window's second search button)."),
             QStringLiteral("改发\"REQUEST_DEVICE_SEARCH\"（窗口的“搜索2”按钮）。"))},
        {option("timeout"),
         Say(QStringLiteral("Listen for answers for MS (default 2000)."),
             QStringLiteral("等待应答MS毫秒（默认2000）。")),
         QStringLiteral("MS")},
        {option("json"), Say(QStringLiteral("Print [{\"address\": ..., \"answer\": ...}]."),
                             QStringLiteral("输出 [{\"address\": ..., \"answer\": ...}]。"))},
        {{QStringLiteral("v"), option("verbose")},
         Say(QStringLiteral("Show every byte sent and received on stderr."),
             QStringLiteral("在标准错误上显示收发的每个字节。"))},
    });
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(kCommand,
                          Say(QStringLiteral("unexpected argument '%1'"), QStringLiteral("多余的参数“%1”"))
                              .arg(parser.positionalArguments().constFirst()));
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
            return UsageError(kCommand,
                              Say(QStringLiteral("bad --%1 '%2'"), QStringLiteral("--%1 的值“%2”无效"))
                                  .arg(name, parser.value(name)));
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
    ShowProgress(
        Say(QStringLiteral("listening for answers for %1 ms"), QStringLiteral("等待应答%1毫秒")).arg(waitMs));
    QEventLoop loop;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    loop.exec();
    ClearProgress();
    if (json)
        PrintOut(QJsonDocument(found).toJson(QJsonDocument::Indented));
    return answers == 0 ? kExitSomeFailed : kExitOk;
}
