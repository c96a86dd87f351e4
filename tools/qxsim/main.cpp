// qxsim: simulated QX5120 serial-to-WiFi modules for tests and demos of qxsetup.

#include "DiscoveryResponder.h"
#include "LanServer.h"
#include "ModuleRegistry.h"
#include "PtyLink.h"
#include "RelayServer.h"
#include "SignalQuit.h"
#include "SimLog.h"
#include "SimOptions.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

void announce(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString &message)
{
    logNotice(message);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qxsim"));

    SimOptions options;
    QString error;
    if (!parseSimOptions(QCoreApplication::arguments(), options, error)) {
        logNotice(error + QStringLiteral(" (see --help)"));
        return 2;
    }
    if (!options.pty && !options.lan.enabled && !options.relay.enabled && !options.udp.enabled) {
        logNotice(QStringLiteral("nothing to serve: give --pty, --lan, --relay or --udp (see --help)"));
        return 2;
    }
    setTrafficLogging(options.verbose);

    SignalQuit signalQuit(&app);
    ModuleRegistry modules(options.modules, options.failAll);
    QStringList listeners;

    std::unique_ptr<PtyLink> pty;
    if (options.pty) {
        pty = std::make_unique<PtyLink>(modules.first(), options.faults, nullptr);
        if (!pty->open(options.ptyLinkPath, error))
            return fail(error);
        listeners << QStringLiteral("PTY ") + pty->slavePath();
    }
    std::unique_ptr<LanServer> lan;
    if (options.lan.enabled) {
        lan = std::make_unique<LanServer>(modules.first(), options.faults, nullptr);
        if (!lan->listen(options.lan, error))
            return fail(error);
        listeners << QStringLiteral("LAN ") + lan->boundAddress();
    }
    std::unique_ptr<RelayServer> relay;
    if (options.relay.enabled) {
        relay = std::make_unique<RelayServer>(modules, options, nullptr);
        if (!relay->listen(options.relay, error))
            return fail(error);
        listeners << QStringLiteral("RELAY ") + relay->boundAddress();
    }
    std::unique_ptr<DiscoveryResponder> discovery;
    if (options.udp.enabled) {
        discovery = std::make_unique<DiscoveryResponder>(modules, nullptr);
        if (!discovery->bind(options.udp, error))
            return fail(error);
        listeners << QStringLiteral("UDP ") + discovery->boundAddress();
    }

    for (const QString &line : std::as_const(listeners))
        announce(line);
    announce(QStringLiteral("READY"));
    return QCoreApplication::exec();
}
