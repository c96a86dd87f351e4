#include "SimOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

constexpr quint16 kDefaultModulePort = 8888;
constexpr quint16 kDefaultDiscoveryPort = 6999;

bool parseListenAddress(const QString &text, quint16 defaultPort, ListenAddress &out, QString &error)
{
    QString host = text;
    QString port;
    if (text.startsWith(QLatin1Char('['))) { // [v6]:port
        const int close = text.indexOf(QLatin1Char(']'));
        if (close < 0) {
            error = QStringLiteral("bad address '%1'").arg(text);
            return false;
        }
        host = text.mid(1, close - 1);
        if (text.mid(close + 1).startsWith(QLatin1Char(':')))
            port = text.mid(close + 2);
    } else if (const int colon = text.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        host = text.left(colon);
        port = text.mid(colon + 1);
    }
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    if (!out.host.setAddress(host)) {
        error = QStringLiteral("bad host in '%1' (give an IP address)").arg(text);
        return false;
    }
    out.port = defaultPort;
    if (!port.isEmpty()) {
        bool ok = false;
        const uint value = port.toUInt(&ok);
        if (!ok || value > 65535) {
            error = QStringLiteral("bad port in '%1'").arg(text);
            return false;
        }
        out.port = static_cast<quint16>(value);
    }
    out.enabled = true;
    return true;
}

bool parseModule(const QString &text, ModuleIdentity &out, QString &error)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{11})(?::(\\d{4}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        error = QStringLiteral("bad module '%1' (want 11 digits, optionally ':' and 4 digits)").arg(text);
        return false;
    }
    out.id = match.captured(1).toLatin1();
    out.zone = match.hasCaptured(2) ? match.captured(2).toLatin1() : QByteArray("0001");
    return true;
}

bool parseCount(const QCommandLineParser &parser, const QString &name, int minimum, int &out, QString &error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < minimum) {
        error = QStringLiteral("--%1 wants a whole number >= %2").arg(name).arg(minimum);
        return false;
    }
    out = value;
    return true;
}

} // namespace

bool parseSimOptions(const QStringList &arguments, SimOptions &options, QString &error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated QX5120 serial-to-WiFi module(s) for testing qxsetup.\n"
        "Prints one line per listener (PTY <path>, LAN <ip:port>, RELAY <ip:port>, UDP <ip:port>),\n"
        "then READY. Stops on SIGTERM or SIGINT."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("LINKPATH"),
                                 QStringLiteral("With --pty: symlink to create to the pty slave (removed at "
                                                "exit)."),
                                 QStringLiteral("[LINKPATH]"));
    parser.addOptions({
        {QStringLiteral("pty"), QStringLiteral("Serve module 1 on a new pseudo-terminal.")},
        {QStringLiteral("lan"), QStringLiteral("Serve module 1 as the LAN TCP port (default port 8888)."),
         QStringLiteral("HOST:PORT")},
        {QStringLiteral("relay"), QStringLiteral("Serve all modules through a relay server (default 8888)."),
         QStringLiteral("HOST:PORT")},
        {QStringLiteral("udp"), QStringLiteral("Answer discovery datagrams (default port 6999)."),
         QStringLiteral("HOST:PORT")},
        {QStringLiteral("module"),
         QStringLiteral("Simulate a module; repeatable. Default 12345678901:0001. The first one serves the "
                        "pty and LAN."),
         QStringLiteral("ID[:ZONE]")},
        {QStringLiteral("reply-frames"),
         QStringLiteral("Relay answers to queries and IO commands as module reply frames.")},
        {QStringLiteral("split"), QStringLiteral("Write every answer in N pieces."), QStringLiteral("N")},
        {QStringLiteral("piece-delay"), QStringLiteral("Pause between answer pieces."), QStringLiteral("MS")},
        {QStringLiteral("delay"), QStringLiteral("Pause before every answer."), QStringLiteral("MS")},
        {QStringLiteral("error"),
         QStringLiteral("Answer ERROR to every parameter set/query and IO command.")},
        {QStringLiteral("garbage"), QStringLiteral("Put binary junk (00 FF ...) in front of every answer.")},
        {QStringLiteral("drop-after"), QStringLiteral("Close a TCP connection after N answers."),
         QStringLiteral("N")},
        {QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
         QStringLiteral("Log every command and answer to stderr.")},
    });

    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(help))
        parser.showHelp(0);

    options.pty = parser.isSet(QStringLiteral("pty"));
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1 || (!positional.isEmpty() && !options.pty)) {
        error = QStringLiteral("unexpected argument '%1' (LINKPATH goes with --pty)").arg(positional.last());
        return false;
    }
    if (!positional.isEmpty())
        options.ptyLinkPath = positional.first();

    if (parser.isSet(QStringLiteral("lan")) &&
        !parseListenAddress(parser.value(QStringLiteral("lan")), kDefaultModulePort, options.lan, error))
        return false;
    if (parser.isSet(QStringLiteral("relay")) &&
        !parseListenAddress(parser.value(QStringLiteral("relay")), kDefaultModulePort, options.relay, error))
        return false;
    if (parser.isSet(QStringLiteral("udp")) &&
        !parseListenAddress(parser.value(QStringLiteral("udp")), kDefaultDiscoveryPort, options.udp, error))
        return false;

    for (const QString &text : parser.values(QStringLiteral("module"))) {
        ModuleIdentity identity;
        if (!parseModule(text, identity, error))
            return false;
        for (const ModuleIdentity &known : std::as_const(options.modules)) {
            if (known.id == identity.id) {
                error = QStringLiteral("module %1 given twice").arg(text);
                return false;
            }
        }
        options.modules.append(identity);
    }
    if (options.modules.isEmpty())
        options.modules.append({QByteArray("12345678901"), QByteArray("0001")});

    options.replyFrames = parser.isSet(QStringLiteral("reply-frames"));
    options.failAll = parser.isSet(QStringLiteral("error"));
    options.verbose = parser.isSet(QStringLiteral("v"));
    options.faults.garbage = parser.isSet(QStringLiteral("garbage"));
    return parseCount(parser, QStringLiteral("split"), 1, options.faults.pieces, error) &&
           parseCount(parser, QStringLiteral("piece-delay"), 0, options.faults.pieceDelayMs, error) &&
           parseCount(parser, QStringLiteral("delay"), 0, options.faults.delayMs, error) &&
           parseCount(parser, QStringLiteral("drop-after"), 0, options.faults.dropAfter, error);
}
