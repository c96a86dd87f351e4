// qxctl as its users run it: the real binary against the module simulator on a pseudo-terminal, the
// LAN port and the relay server, all on 127.0.0.1. What is checked is what a user or a script sees:
// the exit code, the profile on stdout, the one-line errors on stderr, and the commands the module got.

#include "CtlRig.h"
#include "protocol/Profile.h"
#include "support/NamespacePair.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <csignal>
#include <grp.h>
#include <set>
#include <thread>
#include <unistd.h>

namespace {
const QString kLocal = QStringLiteral("127.0.0.1");

QStringList args(const QString &line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The set commands (AT+NAME=value, not queries) in a qxsim traffic log, in order.
QStringList setCommandsIn(const QByteArray &log)
{
    static const QRegularExpression set(QStringLiteral("<- .*?(AT\\+[A-Za-z]+=[^?\\\\][^\\\\]*)"));
    QStringList found;
    for (const QByteArray &line : log.split('\n')) {
        const QRegularExpressionMatch match = set.match(QString::fromLatin1(line));
        if (match.hasMatch())
            found << match.captured(1);
    }
    return found;
}

QString explain(const CtlRun &run)
{
    return QStringLiteral("exit %1\n--- stdout\n%2--- stderr\n%3")
        .arg(run.exitCode)
        .arg(QString::fromUtf8(run.out), QString::fromUtf8(run.err));
}
} // namespace

namespace {
// A module port gone wrong: after the first command it sends 64 KiB writes without a line end until
// the other side closes (at most 4 GiB or 60 s, then it stays connected and silent).
struct FloodPeer {
    FloodPeer()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            ::listen(listener, 1) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        port = ntohs(address.sin_port);
        thread = std::thread([this] {
            char command[512];
            if ((connection = ::accept(listener, nullptr, nullptr)) < 0 ||
                ::read(connection, command, sizeof command) <= 0)
                return;
            const QByteArray chunk(64 * 1024, 'x');
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            for (ssize_t wrote = 0;
                 wrote >= 0 && sent < (qint64(4) << 30) && std::chrono::steady_clock::now() < end;
                 sent += std::max<ssize_t>(wrote, 0))
                wrote = ::send(connection, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
        });
    }
    ~FloodPeer()
    {
        ::shutdown(listener, SHUT_RDWR); // wakes an accept still waiting
        if (thread.joinable())
            thread.join();
        ::close(connection);
        ::close(listener);
    }

    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    quint16 port = 0;
    int connection = -1;
    std::atomic<qint64> sent{0};
    std::thread thread;
};
} // namespace

namespace {
// Modules on the LAN that answer "115200" only while every one of them holds a command: worked on one
// after another they never answer, all at once they all do.
struct GatedModules {
    explicit GatedModules(int count)
    {
        for (int i = 0; i < count; ++i) {
            const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t length = sizeof address;
            ::bind(listener, reinterpret_cast<sockaddr *>(&address), length);
            ::listen(listener, 1);
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
            listeners.push_back(listener);
            links << QStringLiteral("--lan") << QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port));
        }
        thread = std::thread([this] { serve(); });
    }
    ~GatedModules()
    {
        stop = true;
        thread.join();
        for (const int fd : listeners)
            ::close(fd);
        for (const int fd : connections)
            ::close(fd);
    }

    void serve()
    {
        std::set<int> holding; // connections with a command not yet answered
        while (!stop) {
            std::vector<pollfd> ready;
            for (const int fd : listeners)
                ready.push_back({fd, POLLIN, 0});
            for (const int fd : connections)
                ready.push_back({fd, POLLIN, 0});
            if (::poll(ready.data(), ready.size(), 20) <= 0)
                continue;
            for (const pollfd &one : ready) {
                char command[512];
                if (!(one.revents & (POLLIN | POLLHUP)))
                    continue;
                if (std::find(listeners.cbegin(), listeners.cend(), one.fd) != listeners.cend()) {
                    connections.push_back(::accept(one.fd, nullptr, nullptr));
                } else if (::read(one.fd, command, sizeof command) > 0) {
                    holding.insert(one.fd);
                } else {
                    holding.erase(one.fd);
                    connections.erase(std::find(connections.begin(), connections.end(), one.fd));
                    ::close(one.fd);
                }
            }
            if (holding.size() == listeners.size()) {
                for (const int fd : holding)
                    ::send(fd, "115200\r\n", 8, MSG_NOSIGNAL);
                holding.clear();
            }
        }
    }

    std::vector<int> listeners;
    std::vector<int> connections;
    QStringList links; // --lan 127.0.0.1:PORT for each
    std::atomic<bool> stop{false};
    std::thread thread;
};
} // namespace

#define START_SIM(sim, arguments, ...)                                                                       \
    do {                                                                                                     \
        QString why_;                                                                                        \
        QVERIFY2((sim).start(arguments, &why_, ##__VA_ARGS__), qPrintable(why_));                            \
    } while (false)

class TestQxctl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsEveryRow_data();
    void readsEveryRow();
    void profileRoundTrip_data();
    void profileRoundTrip();
    void discoverFindsSimulator_data();
    void discoverFindsSimulator();
    void faultsEndClearly_data();
    void faultsEndClearly();
    void floodStaysBounded_data();
    void floodStaysBounded();
    void linkGoneMidRun_data();
    void linkGoneMidRun();
    void badProfileSendsNothing_data();
    void badProfileSendsNothing();
    void deniedDeviceNamesTheCure();
    void unsendableValueBecomesComment();
    void progressOnlyOnTerminal();
    void sendGoesOutAsTyped();
    void helpForEverySubcommand_data();
    void helpForEverySubcommand();
    void fleetWorksOnEveryModule();
    void fleetWorksAtOnce_data();
    void fleetWorksAtOnce();
    void discoveredModulesAreWorkedOn();
};

void TestQxctl::readsEveryRow_data()
{
    QTest::addColumn<QString>("link");
    // How long each takes is measured by bench/readall_bench.cpp.
    QTest::newRow("LAN") << "--lan {LAN}";
    QTest::newRow("relay") << "--relay {RELAY} --target 12345678901:0001";
    QTest::newRow("serial") << "--serial {PTY}";
}

void TestQxctl::readsEveryRow()
{
    QFETCH(QString, link);
    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--pty --lan 127.0.0.1:0 --relay 127.0.0.1:0")));

    const CtlRun run = runCtl(sim.fill(args(QStringLiteral("read ") + link)));
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(explain(run)));
    const Profile profile = ParseProfile(run.out);
    QVERIFY2(profile.isValid(), qPrintable(explain(run)));
    QCOMPARE(profile.lines.size(), 31);
    QVERIFY(run.out.contains("\nBAUD=115200\n"));
    QVERIFY(run.out.contains("\nDEVID=12345678901\n"));
    QVERIFY(run.err.isEmpty());

    const CtlRun json = runCtl(sim.fill(args(QStringLiteral("read --json --only baud,DEVID ") + link)));
    QCOMPARE(json.exitCode, 0);
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(object.value(QStringLiteral("values")).toObject(),
             (QJsonObject{{QStringLiteral("BAUD"), QStringLiteral("115200")},
                          {QStringLiteral("DEVID"), QStringLiteral("12345678901")}}));
    QVERIFY(object.value(QStringLiteral("failures")).toObject().isEmpty());
}

void TestQxctl::profileRoundTrip_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("serial to relay") << "--serial {PTY}"
                                     << "--relay {RELAY} --target 12345678901";
    QTest::newRow("LAN to LAN") << "--lan {LAN}"
                                << "--lan {LAN}";
}

void TestQxctl::profileRoundTrip()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    SimRun source;
    SimRun target;
    START_SIM(source, args(QStringLiteral("--pty --lan 127.0.0.1:0")));
    START_SIM(target, args(QStringLiteral("--lan 127.0.0.1:0 --relay 127.0.0.1:0")), true);
    const QStringList toLink = target.fill(args(to));

    const CtlRun changed =
        runCtl(QStringList{QStringLiteral("send")} + toLink + QStringList{QStringLiteral("AT+BAUD=9600")});
    QVERIFY2(changed.exitCode == 0 && changed.out == "OK\n", qPrintable(explain(changed)));
    const CtlRun read = runCtl(source.fill(args(QStringLiteral("read ") + from)));
    QVERIFY2(read.exitCode == 0, qPrintable(explain(read)));
    // Edited as people write INI files: blanks around "=" and at the line's end are not the value.
    const QByteArray edited = QByteArray(read.out).replace("BAUD=115200\n", "BAUD = 115200 \t\n");
    const CtlRun before = runCtl(QStringList{QStringLiteral("diff"), QStringLiteral("-")} + toLink, edited);
    QCOMPARE(before.out, QByteArray("BAUD: module 9600, profile 115200\n"));
    QCOMPARE(before.exitCode, 1);
    target.takeLog();

    const CtlRun apply = runCtl(QStringList{QStringLiteral("apply"), QStringLiteral("-")} + toLink, read.out);
    QVERIFY2(apply.exitCode == 0, qPrintable(explain(apply)));
    QCOMPARE(setCommandsIn(target.takeLog()), QStringList{QStringLiteral("AT+BAUD=115200")});
    QCOMPARE(apply.out.count("verified"), 1);
    QVERIFY(apply.out.contains("BAUD verified\n"));
    QCOMPARE(apply.out.count(" same\n"), 30);

    const CtlRun after = runCtl(QStringList{QStringLiteral("diff"), QStringLiteral("-")} + toLink, read.out);
    QVERIFY2(after.exitCode == 0 && after.out.isEmpty(), qPrintable(explain(after)));
}

void TestQxctl::discoverFindsSimulator_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("json");
    QTest::newRow("search") << "" << QByteArray("REQUEST_DEVICE_DISCOVERY") << false;
    QTest::newRow("search 2, JSON") << "--search --json" << QByteArray("REQUEST_DEVICE_SEARCH") << true;
}

void TestQxctl::discoverFindsSimulator()
{
    QFETCH(QString, options);
    QFETCH(QByteArray, request);
    QFETCH(bool, json);
    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--udp 127.0.0.1:0 --module 12345678901 --module 22222222222")), true);
    // Any free local port: a running qxsetup may hold the discovery port.
    const CtlRun run = runCtl(sim.fill(args(QStringLiteral("discover --address 127.0.0.1 --port {UDP} "
                                                           "--local-port 0 --timeout 500 ") +
                                            options)));
    QVERIFY2(run.exitCode == 0, qPrintable(explain(run)));
    QVERIFY(sim.takeLog().contains("<- " + request + "\n"));
    for (const QByteArray &id : {QByteArray("12345678901"), QByteArray("22222222222")}) {
        const QByteArray line = "127.0.0.1:QX5120,ID=" + id + ",IP=127.0.0.1,MAC=";
        if (json) {
            const QJsonArray answers = QJsonDocument::fromJson(run.out).array();
            QCOMPARE(answers.size(), 2);
            QVERIFY(run.out.contains("\"answer\": \"QX5120,ID=" + id));
        } else {
            QVERIFY2(run.out.contains(line), run.out.constData());
        }
    }
    const CtlRun silent = runCtl(args(QStringLiteral("discover --address 127.0.0.1 --port %1 --local-port 0 "
                                                     "--timeout 200")
                                          .arg(closedLoopbackPort())));
    QVERIFY2(silent.exitCode == 1 && silent.out.isEmpty(), qPrintable(explain(silent)));
}

void TestQxctl::faultsEndClearly_data()
{
    QTest::addColumn<QString>("simulator");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const QByteArray none;
    const QStringList english;
    QTest::newRow("every query refused") << "--lan 127.0.0.1:0 --error"
                                         << "read --lan {LAN}" << none << english << 1 << none
                                         << QByteArray("\nPTHMAXCONN: not read: refused: ERROR\n");
    QTest::newRow("every query refused, Chinese")
        << "--lan 127.0.0.1:0 --error"
        << "read --lan {LAN}" << none << QStringList{QStringLiteral("LC_ALL=zh_CN.UTF-8")} << 1 << none
        << QStringLiteral("\nPTHMAXCONN: 未读出: 被拒绝：ERROR\n").toUtf8();
    QTest::newRow("every set refused")
        << "--lan 127.0.0.1:0 --error"
        << "apply - --lan {LAN}" << QByteArray("BAUD=9600\nDHCP=1\n") << english << 1
        << QByteArray("DHCP failed: refused: ERROR\nBAUD failed: refused: ERROR\n") << none;
    QTest::newRow("replies later than --timeout")
        << "--lan 127.0.0.1:0 --delay 1500"
        << "read --only BAUD,UART --timeout 100 --lan {LAN}" << none << english << 1 << none
        << QByteArray("BAUD: not read: no reply within 100 ms\nUART: not read: no reply within 100 ms\n");
    QTest::newRow("replies in pieces")
        << "--lan 127.0.0.1:0 --split 3 --piece-delay 30"
        << "read --only PTHPORT,APINF --lan {LAN}" << none << english << 0
        << QByteArray("APINF=\"QX5120_AP\",\"12345678\",6,1,4\nPTHPORT=8899\n") << none;
    QTest::newRow("relay module never answers")
        << "--relay 127.0.0.1:0"
        << "send --relay {RELAY} --target 99999999999 --timeout 200 AT+BAUD=?" << none << english << 1 << none
        << QByteArray("AT+BAUD=?: no reply within 200 ms\n");
    QTest::newRow("connection dropped mid-run")
        << "--lan 127.0.0.1:0 --drop-after 5"
        << "read --lan {LAN}" << none << english << 2 << none
        << QByteArray(" rows not reached\nqxctl: the connection to 127.0.0.1:");
    QTest::newRow("no such device") << "--lan 127.0.0.1:0"
                                    << "read --serial /nonexistent/ttyQX" << none << english << 2 << none
                                    << QByteArray("qxctl: no such serial device: /nonexistent/ttyQX\n");
    QTest::newRow("no such device, Chinese")
        << "--lan 127.0.0.1:0"
        << "read --serial /nonexistent/ttyQX" << none << QStringList{QStringLiteral("LC_ALL=zh_CN.UTF-8")}
        << 2 << none << QByteArray("qxctl: 没有这个串口设备：/nonexistent/ttyQX\n");
    QTest::newRow("refused port") << "--lan 127.0.0.1:0"
                                  << "read --lan 127.0.0.1:{CLOSED}" << none << english << 2 << none
                                  << QByteArray("qxctl: connection refused by 127.0.0.1:");
    QTest::newRow("no link")
        << "--lan 127.0.0.1:0"
        << "read" << none << english << 2 << none
        << QByteArray("qxctl: give a link: --serial, --lan or --relay (see qxctl read --help)\n");
    QTest::newRow("send to two links") << "--lan 127.0.0.1:0"
                                       << "send --lan {LAN} --serial /dev/null AT" << none << english << 2
                                       << none << QByteArray("give only one of --serial, --lan and --relay");
    QTest::newRow("relay without target") << "--relay 127.0.0.1:0"
                                          << "read --relay {RELAY}" << none << english << 2 << none
                                          << QByteArray("--relay needs --target ID[:ZONE]");
    QTest::newRow("unknown row in --only") << "--lan 127.0.0.1:0"
                                           << "read --only BAUD,NOPE --lan {LAN}" << none << english << 2
                                           << none << QByteArray("unknown parameter 'NOPE'");
    QTest::newRow("bad --timeout") << "--lan 127.0.0.1:0"
                                   << "send --timeout 0 --lan {LAN} AT" << none << english << 2 << none
                                   << QByteArray("bad --timeout '0'");
    QTest::newRow("unknown subcommand") << "--lan 127.0.0.1:0"
                                        << "write --lan {LAN}" << none << english << 2 << none
                                        << QByteArray("qxctl: unknown subcommand 'write'\n");
    QTest::newRow("provision without --watch") << "--lan 127.0.0.1:0"
                                               << "provision -" << none << english << 2 << none
                                               << QByteArray("give the devices to watch: --watch GLOB");
    QTest::newRow("provision, wildcard in the folder")
        << "--lan 127.0.0.1:0"
        << "provision - --watch /dev/*/tty" << none << english << 2 << none
        << QByteArray("bad --watch '/dev/*/tty': wildcards go in the last part of the path only");
}

void TestQxctl::faultsEndClearly()
{
    QFETCH(QString, simulator);
    QFETCH(QString, command);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    SimRun sim;
    START_SIM(sim, args(simulator));
    command.replace(QLatin1String("{CLOSED}"), QString::number(closedLoopbackPort()));

    const CtlRun run = runCtl(sim.fill(args(command)), input, environment, 20000);
    QVERIFY2(run.finished && run.exitCode == exitCode, qPrintable(explain(run)));
    QVERIFY2(run.out.contains(out) && run.err.contains(err), qPrintable(explain(run)));
    if (exitCode == 2)
        QVERIFY2(run.out.isEmpty(), qPrintable(explain(run)));
}

void TestQxctl::floodStaysBounded_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("err");
    // The flooded reply fails its row; the flood that goes on is dropped, so the next row hears nothing.
    const QString rows =
        QStringLiteral("^BAUD: not read: reply too long \\(over 64 KiB\\)\\n"
                       "UART: not read: (reply too long \\(over 64 KiB\\)|no reply within 1000 ms)\\n$");
    QTest::newRow("LAN") << "read --only BAUD,UART --timeout 1000 --lan 127.0.0.1:{FLOOD}" << rows;
    QTest::newRow("relay")
        << "read --only BAUD,UART --timeout 1000 --relay 127.0.0.1:{FLOOD} --target 12345678901" << rows;
    QTest::newRow("send") << "send --lan 127.0.0.1:{FLOOD} AT+BAUD=?"
                          << "^AT\\+BAUD=\\?: reply too long \\(over 64 KiB\\)\\n$";
}

void TestQxctl::floodStaysBounded()
{
    QFETCH(QString, command);
    QFETCH(QString, err);
    FloodPeer peer;
    QVERIFY(peer.port != 0);
    command.replace(QLatin1String("{FLOOD}"), QString::number(peer.port));

    // A sanitizer build keeps freed memory resident for a while (its quarantine): keep that small, so
    // that what stays resident is what qxctl holds.
    const QString asan = qEnvironmentVariable("ASAN_OPTIONS");
    const CtlRun run = runCtl(
        args(command), {},
        {QStringLiteral("ASAN_OPTIONS=") + asan + (asan.isEmpty() ? "" : ":") + "quarantine_size_mb=4"});
    QVERIFY2(run.finished && run.exitCode == 1, qPrintable(explain(run)));
    QVERIFY2(QRegularExpression(err).match(QString::fromUtf8(run.err)).hasMatch(), qPrintable(explain(run)));
    // Held bytes show as resident memory: qxctl stayed small while the flood poured in.
    QVERIFY2(run.peakRssKb > 0 && run.peakRssKb < 128 * 1024,
             qPrintable(QStringLiteral("qxctl held %1 MiB of a %2 MiB flood")
                            .arg(run.peakRssKb / 1024)
                            .arg(peer.sent >> 20)));
}

void TestQxctl::linkGoneMidRun_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("serial, read") << "read --serial {PTY}" << QByteArray("qxctl: the serial port /dev/");
    QTest::newRow("LAN, apply") << "apply - --all --lan {LAN}"
                                << QByteArray("qxctl: the connection to 127.0.0.1:");
}

void TestQxctl::linkGoneMidRun()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, err);
    SimRun source;
    START_SIM(source, args(QStringLiteral("--lan 127.0.0.1:0")));
    const QByteArray profile = runCtl(source.fill(args(QStringLiteral("read --lan {LAN}")))).out;

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("traffic.log"));
    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--pty --lan 127.0.0.1:0 --delay 40")), true, log);
    // The simulator dies once it has answered a few rows, while qxctl is half-way through them.
    std::thread killer([pid = sim.pid(), log] {
        QFile traffic(log);
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            if (traffic.open(QIODevice::ReadOnly) && traffic.readAll().count(" -> ") >= 3)
                break;
            traffic.close();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    });
    const CtlRun run = runCtl(sim.fill(args(command)), profile, {}, 30000);
    killer.join();
    QVERIFY2(run.finished && run.exitCode == 2, qPrintable(explain(run)));
    QVERIFY2(run.err.contains(err) && run.err.contains(" rows not reached\n"), qPrintable(explain(run)));
}

void TestQxctl::badProfileSendsNothing_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QByteArray>("err");
    const QByteArray longLine = "NAME=\"" + QByteArray(600 * 1024, 'a') + "\"\n";
    QByteArray tenThousand;
    for (int line = 0; line < 10000; ++line)
        tenThousand += "BAUD=115200\n";

    QTest::newRow("unknown name") << QByteArray("BAUD=115200\nSPEED=1\n")
                                  << QByteArray(": line 2: SPEED: unknown parameter\n");
    QTest::newRow("refused value") << QByteArray("# mine\nBAUD=115200\nDHCP=7\n") << QByteArray(": line 3: ");
    QTest::newRow("00 byte") << QByteArrayLiteral("BAUD=115200\nNAME=\"a\0b\"\n")
                             << QByteArray(": line 2: the line holds a 00 byte\n");
    QTest::newRow("not GBK")
        << QByteArray("STACONFIG=\"Caf\xC3\xA9 \xE7\xBD\x91\xE7\xBB\x9C\",\"p\xC3\xA4ssw\xC3\xB6rd\"\n")
        << QByteArray(": line 1, column 23: \"\xC3\xA4\" (U+00E4) cannot be sent: the module "
                      "takes GBK text\n");
    QTest::newRow("GBK text") << QByteArray("NAME=\"\xD6\xD0\xCE\xC4\"\n")
                              << QByteArray(": line 1: the line is not UTF-8 text\n");
    QTest::newRow("600 KiB line") << longLine << QByteArray(": line 1: the line is longer than 4096 bytes\n");
    QTest::newRow("10 000 lines") << tenThousand
                                  << QByteArray(": too many problems; the rest are not listed\n");
    QTest::newRow("over 1 MiB") << QByteArray(kMaxProfileBytes + 1, '#')
                                << QByteArray(": the file is larger than 1 MiB\n");
}

void TestQxctl::badProfileSendsNothing()
{
    QFETCH(QByteArray, profile);
    QFETCH(QByteArray, err);
    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--lan 127.0.0.1:0")), true);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("module.profile")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(profile) == profile.size());
    file.close();

    for (const QString &command : {QStringLiteral("apply"), QStringLiteral("diff")}) {
        const CtlRun fromFile =
            runCtl(sim.fill({command, file.fileName(), QStringLiteral("--lan"), QStringLiteral("{LAN}")}));
        QVERIFY2(fromFile.exitCode == 2 && fromFile.err.contains(file.fileName().toUtf8() + err),
                 qPrintable(explain(fromFile)));
        QVERIFY2(fromFile.err.endsWith(" has problems; nothing was sent\n"), qPrintable(explain(fromFile)));
        const CtlRun piped =
            runCtl(sim.fill({command, QStringLiteral("-"), QStringLiteral("--lan"), QStringLiteral("{LAN}")}),
                   profile);
        QVERIFY2(piped.exitCode == 2 && piped.err.contains("-" + err), qPrintable(explain(piped)));
    }
    QCOMPARE(sim.takeLog(), QByteArray());
}

void TestQxctl::deniedDeviceNamesTheCure()
{
    if (::geteuid() != 0)
        QSKIP("needs root, to run qxctl as a user the pseudo-terminal refuses");
    // nobody may not enter the build folder (a clone under /root): it runs a copy from a folder it can
    // reach, with the leak suppressions a sanitizer build reads.
    QTemporaryDir reachable;
    QVERIFY(reachable.isValid());
    QFile::setPermissions(reachable.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther);
    const QString qxctl = reachable.filePath(QStringLiteral("qxctl"));
    QVERIFY(QFile::copy(qEnvironmentVariable("QXCTL"), qxctl));
    QStringList environment;
    const QString suppressions = reachable.filePath(QStringLiteral("lsan.supp"));
    if (qEnvironmentVariableIsSet("LSAN_OPTIONS") &&
        QFile::copy(qEnvironmentVariable("QX_SOURCE_DIR") + QStringLiteral("/scripts/lsan.supp"),
                    suppressions))
        environment << QStringLiteral("LSAN_OPTIONS=print_suppressions=0:suppressions=") + suppressions;
    for (const QString &file : {qxctl, suppressions})
        QFile::setPermissions(file, QFile::permissions(file) | QFile::ReadOther | QFile::ExeOther);

    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--pty")));
    QFile::setPermissions(sim.ptyPath(), QFile::ReadOwner | QFile::WriteOwner);
    const CtlChild asNobody{qxctl, reachable.path(), [] {
                                // nobody, with no supplementary groups: the device's owner and group
                                // both refuse it
                                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 ||
                                    ::setuid(65534) != 0)
                                    ::_exit(99);
                            }};
    const CtlRun run = runCtl(sim.fill(args(QStringLiteral("read --serial {PTY}"))), QByteArray(),
                              environment, 10000, asNobody);
    QVERIFY2(run.exitCode == 2, qPrintable(explain(run)));
    QVERIFY2(run.err.startsWith("qxctl: permission denied on " + sim.ptyPath().toUtf8() +
                                ": add yourself to the group \""),
             qPrintable(explain(run)));
    QVERIFY2(run.err.contains("sudo usermod -aG "), qPrintable(explain(run)));
}

void TestQxctl::unsendableValueBecomesComment()
{
    // An access point without a name: the module holds it, but the set command would refuse it.
    PtyAnswerer module(QByteArray("\"\",\"12345678\",6,1,4\r\n"));
    if (module.path().isEmpty())
        QSKIP("no pseudo-terminal available");
    const CtlRun run = runCtl({QStringLiteral("read"), QStringLiteral("--only"), QStringLiteral("APINF"),
                               QStringLiteral("--serial"), module.path()});
    QVERIFY2(run.exitCode == 1, qPrintable(explain(run)));
    QVERIFY2(run.out.startsWith("# APINF: ") && run.out.count('\n') == 1, qPrintable(explain(run)));
    QVERIFY2(run.err.startsWith("APINF: not read: "), qPrintable(explain(run)));
    QCOMPARE(run.out.mid(9), run.err.mid(17));
}

void TestQxctl::progressOnlyOnTerminal()
{
    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--lan 127.0.0.1:0")));
    int master = -1;
    int terminal = -1;
    if (::openpty(&master, &terminal, nullptr, nullptr, nullptr) != 0)
        QSKIP("no pseudo-terminal available");
    const CtlRun run =
        runCtl(sim.fill(args(QStringLiteral("read --only BAUD,UART --lan {LAN}"))), QByteArray(), {}, 10000,
               {{}, {}, [terminal] { ::dup2(terminal, STDERR_FILENO); }});
    ::close(terminal);
    QByteArray shown;
    char buffer[4096];
    for (ssize_t got; (got = ::read(master, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, got);
    ::close(master);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("BAUD=115200\nUART=8,2,1\n"));
    // Each step rewrites the one line; the line is cleared before the program ends.
    QVERIFY2(shown.contains("\r\033[Kreading BAUD (1/2)\r\033[Kreading UART (2/2)"), shown.constData());
    QVERIFY2(shown.endsWith("\r\033[K"), shown.constData());
}

void TestQxctl::sendGoesOutAsTyped()
{
    SimRun sim;
    START_SIM(sim, args(QStringLiteral("--lan 127.0.0.1:0")));
    const CtlRun run = runCtl(sim.fill(args(QStringLiteral("send -v --lan {LAN} +++ AT+BAUD=?"))));
    QVERIFY2(run.exitCode == 0, qPrintable(explain(run)));
    QCOMPARE(run.out.count('\n'), 2);
    QVERIFY(run.out.endsWith("\n115200\n"));
    // Every byte on stderr: "+++" bare behind the LAN prefix, the query with its CR LF.
    QVERIFY2(run.err.contains("-> A8 81 01 2B 2B 2B" + QByteArray(31, ' ') + "...+++\n"),
             run.err.constData());
    QVERIFY2(run.err.contains("-> A8 81 01 41 54 2B 42 41 55 44 3D 3F 0D 0A       ...AT+BAUD=?..\n"
                              "<- 31 31 35 32 30 30 0D 0A"),
             run.err.constData());
}

void TestQxctl::helpForEverySubcommand_data()
{
    QTest::addColumn<QString>("subcommand");
    for (const char *name : {"read", "apply", "diff", "send", "discover", "provision"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestQxctl::helpForEverySubcommand()
{
    QFETCH(QString, subcommand);
    const CtlRun run = runCtl({subcommand, QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith("Usage: qxctl " + subcommand.toUtf8() + ' '), run.out.constData());
    QVERIFY(run.out.contains("--timeout <MS>"));
}

void TestQxctl::fleetWorksOnEveryModule()
{
    SimRun sims[5];
    QStringList links;
    for (int i = 0; i < 5; ++i) {
        START_SIM(sims[i], args(QStringLiteral("--lan 127.0.0.1:0 --module 1000000000%1").arg(i)), true);
        links << sims[i].fill({QStringLiteral("--lan"), QStringLiteral("{LAN}")});
    }
    // A sixth module refuses connections: the other five are still done.
    const QString refusing = QStringLiteral("127.0.0.1:%1").arg(closedLoopbackPort());
    const CtlRun apply = runCtl(
        QStringList{QStringLiteral("apply"), QStringLiteral("-"), QStringLiteral("--lan"), refusing} + links,
        "BAUD=9600\n");
    QVERIFY2(apply.finished && apply.exitCode == 2, qPrintable(explain(apply)));
    QCOMPARE(apply.out.count('\n'), 5);
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(apply.out.contains(links[2 * i + 1].toUtf8() + " BAUD verified\n"),
                 qPrintable(explain(apply)));
        QCOMPARE(setCommandsIn(sims[i].takeLog()), QStringList{QStringLiteral("AT+BAUD=9600")});
    }
    QVERIFY2(apply.err.startsWith(refusing.toUtf8() + ": connection refused by " + refusing.toUtf8()),
             qPrintable(explain(apply)));

    const CtlRun diff =
        runCtl(QStringList{QStringLiteral("diff"), QStringLiteral("-"), QStringLiteral("--json")} + links,
               "BAUD=9600\nDHCP=1\n");
    QVERIFY2(diff.exitCode == 1, qPrintable(explain(diff)));
    QStringList seen;
    for (const QByteArray &line : diff.out.trimmed().split('\n')) {
        const QJsonObject module = QJsonDocument::fromJson(line).object();
        seen << module.value(QStringLiteral("link")).toString();
        QCOMPARE(module.value(QStringLiteral("differences")).toObject(),
                 (QJsonObject{{QStringLiteral("DHCP"),
                               QJsonObject{{QStringLiteral("module"), QStringLiteral("0")},
                                           {QStringLiteral("profile"), QStringLiteral("1")}}}}));
    }
    seen.sort();
    QStringList named;
    for (int i = 1; i < links.size(); i += 2)
        named << links[i];
    named.sort();
    QCOMPARE(seen, named);

    QTemporaryDir dir;
    const CtlRun read = runCtl(QStringList{QStringLiteral("read"), QStringLiteral("--only"),
                                           QStringLiteral("BAUD"), QStringLiteral("--out"), dir.path()} +
                               links);
    QVERIFY2(read.exitCode == 0 && read.out.count('\n') == 5, qPrintable(explain(read)));
    for (int i = 0; i < 5; ++i) {
        QFile profile(dir.filePath(QStringLiteral("1000000000%1.profile").arg(i)));
        QVERIFY2(profile.open(QIODevice::ReadOnly), qPrintable(explain(read)));
        QCOMPARE(profile.readAll(), "DEVID=1000000000" + QByteArray::number(i) + "\nBAUD=9600\n");
    }
}

void TestQxctl::fleetWorksAtOnce_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("answered");
    QTest::newRow("all five at once") << "--timeout 10000" << 5;
    // Four at a time never hold all five commands at once: nobody answers.
    QTest::newRow("--jobs 4") << "--timeout 300 --jobs 4" << 0;
}

void TestQxctl::fleetWorksAtOnce()
{
    QFETCH(QString, options);
    QFETCH(int, answered);
    GatedModules modules(5);
    const CtlRun run = runCtl(args(QStringLiteral("read --only BAUD ") + options) + modules.links);
    QVERIFY2(run.exitCode == (answered == 5 ? 0 : 1), qPrintable(explain(run)));
    QCOMPARE(run.out.count(" BAUD=115200\n"), answered);
}

void TestQxctl::discoveredModulesAreWorkedOn()
{
    if (const QString missing = NamespacePair::missing(); !missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("Discovery on a network needs ") + missing +
                         QStringLiteral("; not run.")));
    NamespacePair namespaces;
    if (const QString error = namespaces.setUp(); !error.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No network namespaces here (") + error +
                         QStringLiteral("); not run.")));
    const QStringList inside = {QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec")};

    // A module on the far side of the veth pair, on the ports a module uses.
    SimRun module;
    module.setLauncher(inside + QStringList{namespaces.module()});
    START_SIM(module, args(QStringLiteral("--udp 0.0.0.0:6999 --lan %1:8888 --module 12345678901")
                               .arg(NamespacePair::kModuleAddress)));
    const CtlRun run =
        runCtl(inside.mid(1) + QStringList{namespaces.tool(), qEnvironmentVariable("QXCTL"),
                                           QStringLiteral("read"), QStringLiteral("--discovered"),
                                           QStringLiteral("--only"), QStringLiteral("BAUD")},
               {}, {}, 60000, {QStringLiteral("ip"), {}, {}});
    QVERIFY2(run.exitCode == 0, qPrintable(explain(run)));
    QCOMPARE(run.out, NamespacePair::kModuleAddress.toUtf8() + ":8888 BAUD=115200\n");
}

QTEST_GUILESS_MAIN(TestQxctl)
#include "test_qxctl.moc"
