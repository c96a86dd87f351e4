// Black-box checks of the module simulator: it is started as a process and spoken to over raw loopback
// sockets and a pty, with frames built here, so a fault shared with the tool's own codec cannot hide.

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QMap>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 5000;
const QByteArray kLanPrefix = QByteArray::fromHex("A88101");
const QByteArray kModule1 = "12345678901";
const QByteArray kZone1 = "0001";
const QByteArray kModule2 = "22222222222";
const QByteArray kZone2 = "0002";
const QByteArray kLocalId = "00000000000";

char byteSum(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (const char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<char>(sum % 256);
}

QByteArray moduleFrame(const QByteArray &target, const QByteArray &zone, const QByteArray &command,
                       bool zoneValid = true)
{
    const QByteArray header =
        QByteArray::fromHex("A881") + target + zone + '\x08' + (zoneValid ? '\x01' : '\x00');
    return header + byteSum(header) + command;
}

QByteArray relayFrame(const QByteArray &target, const QByteArray &payload)
{
    const QByteArray header =
        QByteArray::fromHex("A883") + kLocalId + QByteArray::fromHex("00000001") + target;
    return header + byteSum(header) + payload;
}

QByteArray relayCommand(const QByteArray &command, const QByteArray &target = kModule1,
                        const QByteArray &zone = kZone1)
{
    return relayFrame(target, moduleFrame(target, zone, command + "\r\n"));
}

// A running qxsim and the listener lines it printed.
class Simulator {
public:
    ~Simulator() { stop(); }

    bool start(const QStringList &arguments)
    {
        const QString program = qEnvironmentVariable("QXSIM");
        m_process.start(program, arguments);
        if (!m_process.waitForStarted(kWaitMs))
            return false;
        QDeadlineTimer deadline(kWaitMs);
        while (!m_output.contains("READY\n") && !deadline.hasExpired()) {
            if (!m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                break;
            m_output += m_process.readAllStandardOutput();
        }
        for (const QByteArray &line : m_output.split('\n')) {
            const int space = line.indexOf(' ');
            if (space > 0)
                m_listeners.insert(QString::fromLatin1(line.left(space)),
                                   QString::fromLatin1(line.mid(space + 1)));
        }
        return m_output.contains("READY\n");
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(kWaitMs))
            m_process.kill();
        m_process.waitForFinished(kWaitMs);
    }

    QString listener(const QString &kind) const { return m_listeners.value(kind); }
    quint16 port(const QString &kind) const
    {
        return static_cast<quint16>(listener(kind).section(QLatin1Char(':'), -1).toUInt());
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QByteArray m_output;
    QMap<QString, QString> m_listeners;
};

bool connectTo(QTcpSocket &socket, quint16 port)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(kWaitMs);
}

// Reads until `count` bytes have arrived (or the generous deadline passes) and returns what came.
QByteArray readBytes(QTcpSocket &socket, qsizetype count)
{
    QByteArray bytes;
    QDeadlineTimer deadline(kWaitMs);
    while (bytes.size() < count && !deadline.hasExpired()) {
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        bytes += socket.read(count - bytes.size());
    }
    return bytes;
}

// Reads one answer line (up to and including CR LF).
QByteArray readLine(QTcpSocket &socket)
{
    QByteArray bytes;
    QDeadlineTimer deadline(kWaitMs);
    while (!bytes.endsWith("\r\n") && !deadline.hasExpired()) {
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        bytes += socket.read(1);
    }
    return bytes;
}

QByteArray lanAsk(QTcpSocket &socket, const QByteArray &command)
{
    socket.write(kLanPrefix + command + "\r\n");
    return readLine(socket);
}

QByteArray readPty(int fd, qsizetype count)
{
    QByteArray bytes;
    QDeadlineTimer deadline(kWaitMs);
    while (bytes.size() < count && !deadline.hasExpired()) {
        char chunk[256];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0)
            bytes.append(chunk, static_cast<qsizetype>(got));
        else
            QTest::qWait(5);
    }
    return bytes;
}

} // namespace

class TestQxsim : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void lanQuery_data();
    void lanQuery();
    void lanSet_data();
    void lanSet();
    void lanTornAndBatchedInput();
    void lanTransparentData();

    void relayTextAnswers();
    void relayReplyFrames_data();
    void relayReplyFrames();
    void relayIgnoresFaultyFrames_data();
    void relayIgnoresFaultyFrames();
    void relayTornAndBatchedFrames();
    void relayTransparentData();

    void ptyCommandsAndLink();
    void udpDiscovery();

    void faultGarbageInPieces();
    void faultErrorEverywhere();
    void faultDropAfter();
    void commandLineErrors();

private:
    Simulator m_sim; // LAN, relay with two modules, UDP
    QTcpSocket m_lan;
};

void TestQxsim::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("QXSIM") || !QFileInfo(qEnvironmentVariable("QXSIM")).isExecutable())
        QFAIL("qxsim is not built (QXSIM does not name an executable)");
    QVERIFY(
        m_sim.start({QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--relay"),
                     QStringLiteral("127.0.0.1:0"), QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0"),
                     QStringLiteral("--module"), QString::fromLatin1(kModule1 + ':' + kZone1),
                     QStringLiteral("--module"), QString::fromLatin1(kModule2 + ':' + kZone2)}));
    QVERIFY(m_sim.listener(QStringLiteral("LAN")).startsWith(QLatin1String("127.0.0.1:")));
    QVERIFY(m_sim.port(QStringLiteral("LAN")) != 0);
    QVERIFY(connectTo(m_lan, m_sim.port(QStringLiteral("LAN"))));
}

void TestQxsim::cleanupTestCase()
{
    m_lan.abort();
    m_sim.stop();
}

void TestQxsim::lanQuery_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("work mode") << QByteArray("AT+WIFIMODE=?") << QByteArray("2\r\n");
    QTest::newRow("serial format") << QByteArray("AT+UART=?") << QByteArray("8,2,1\r\n");
    QTest::newRow("AP info") << QByteArray("AT+APINF=?")
                             << QByteArray("\"QX5120_AP\",\"12345678\",6,1,4\r\n");
    QTest::newRow("AP address") << QByteArray("AT+APIP=?")
                                << QByteArray("\"192.168.4.1\",\"255.255.255.0\",\"192.168.4.1\"\r\n");
    QTest::newRow("device ID") << QByteArray("AT+DEVID=?") << kModule1 + "\r\n";
    QTest::newRow("zone") << QByteArray("AT+ZONE=?") << kZone1 + "\r\n";
    QTest::newRow("baud") << QByteArray("AT+BAUD=?") << QByteArray("115200\r\n");
    QTest::newRow("local port") << QByteArray("AT+PTHPORT=?") << QByteArray("8899\r\n");
    QTest::newRow("url, lower-case name")
        << QByteArray("AT+httpserver=?") << QByteArray("http://www.example.com/qx5120\r\n");
    QTest::newRow("names are case-sensitive") << QByteArray("AT+HTTPSERVER=?") << QByteArray("ERROR\r\n");
    QTest::newRow("unknown name") << QByteArray("AT+NOSUCH=?") << QByteArray("ERROR\r\n");
    QTest::newRow("read without equals") << QByteArray("AT+WIFIMODE?") << QByteArray("ERROR\r\n");
    QTest::newRow("bare AT") << QByteArray("AT") << QByteArray("OK\r\n");
    QTest::newRow("data mode") << QByteArray("AT+++") << QByteArray("OK\r\n");
    QTest::newRow("wifi state") << QByteArray("AT+WIFISTATE") << QByteArray("GOT_IP\r\n");
    QTest::newRow("server link") << QByteArray("AT+CLIENTLINK") << QByteArray("connected\r\n");
    QTest::newRow("station IP") << QByteArray("AT+CURRENTSTAIP") << QByteArray("\"192.168.1.100\"\r\n");
    QTest::newRow("version") << QByteArray("AT+QXVERSION") << QByteArray("QX5120 V1.3.7\r\n");
    QTest::newRow("IO read, level sixth") << QByteArray("AT+IOCTR=OUR1NOUR1N") << QByteArray("IO16:1\r\n");
    QTest::newRow("IO copies differ") << QByteArray("AT+IOCTR=OUR1NOUR2N") << QByteArray("ERROR\r\n");
}

void TestQxsim::lanQuery()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QCOMPARE(lanAsk(m_lan, command), answer);
}

void TestQxsim::lanSet_data()
{
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<QByteArray>("ack");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("answer");

    const QByteArray ok = "OK";
    const QByteArray error = "ERROR";
    QTest::newRow("work mode") << QByteArray("WIFIMODE=3") << ok << QByteArray("WIFIMODE") << QByteArray("3");
    QTest::newRow("quotes dropped") << QByteArray("NAME=\"Lab1\"") << ok << QByteArray("NAME")
                                    << QByteArray("Lab1");
    QTest::newRow("server IP bare") << QByteArray("REMOTEIP=\"10.1.2.3\"") << ok << QByteArray("REMOTEIP")
                                    << QByteArray("10.1.2.3");
    QTest::newRow("MAC quoted in answer") << QByteArray("STAMAC=\"5C:CF:7F:AA:BB:CC\"") << ok
                                          << QByteArray("STAMAC") << QByteArray("\"5c:cf:7f:aa:bb:cc\"");
    QTest::newRow("AP block") << QByteArray("APINF=\"Lab,AP\",\"secret99\",11,2,4") << ok
                              << QByteArray("APINF") << QByteArray("\"Lab,AP\",\"secret99\",11,2,4");
    QTest::newRow("serial format") << QByteArray("UART=7,0,3") << ok << QByteArray("UART")
                                   << QByteArray("7,0,3");
    QTest::newRow("leading zeros") << QByteArray("HEARTBEATT=0060") << ok << QByteArray("HEARTBEATT")
                                   << QByteArray("60");
    QTest::newRow("device ID") << QByteArray("DEVID=00000000042") << ok << QByteArray("DEVID")
                               << QByteArray("00000000042");

    QTest::newRow("ID of 10 digits") << QByteArray("DEVID=1234567890") << error << QByteArray("DEVID")
                                     << kModule1;
    QTest::newRow("zone with a letter") << QByteArray("ZONE=12a4") << error << QByteArray("ZONE") << kZone1;
    QTest::newRow("mode not a number")
        << QByteArray("WIFIMODE=x") << error << QByteArray("WIFIMODE") << QByteArray("2");
    QTest::newRow("mode out of range")
        << QByteArray("WIFIMODE=4") << error << QByteArray("WIFIMODE") << QByteArray("2");
    QTest::newRow("empty value") << QByteArray("DHCP=") << error << QByteArray("DHCP") << QByteArray("0");
    QTest::newRow("baud not offered")
        << QByteArray("BAUD=12345") << error << QByteArray("BAUD") << QByteArray("115200");
    QTest::newRow("port too big") << QByteArray("REMOTEPORT=99999") << error << QByteArray("REMOTEPORT")
                                  << QByteArray("9500");
    QTest::newRow("AP channel empty")
        << QByteArray("APINF=\"a\",\"12345678\",,1,4") << error << QByteArray("APINF")
        << QByteArray("\"QX5120_AP\",\"12345678\",6,1,4");
    QTest::newRow("WPA password short")
        << QByteArray("APINF=\"a\",\"123\",6,1,4") << error << QByteArray("APINF")
        << QByteArray("\"QX5120_AP\",\"12345678\",6,1,4");
    QTest::newRow("address field missing")
        << QByteArray("STATIONIP=\"10.0.0.2\",\"255.0.0.0\"") << error << QByteArray("STATIONIP")
        << QByteArray("\"192.168.1.100\",\"255.255.255.0\",\"192.168.1.1\"");
}

void TestQxsim::lanSet()
{
    QFETCH(QByteArray, set);
    QFETCH(QByteArray, ack);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, answer);

    QCOMPARE(lanAsk(m_lan, "AT+RESTORE"), QByteArray("OK\r\n"));
    QCOMPARE(lanAsk(m_lan, "AT+" + set), ack + "\r\n");
    QCOMPARE(lanAsk(m_lan, "AT+" + query + "=?"), answer + "\r\n");
}

void TestQxsim::lanTornAndBatchedInput()
{
    QTcpSocket socket;
    QVERIFY(connectTo(socket, m_sim.port(QStringLiteral("LAN"))));

    // Two commands in one segment: two answers, in order.
    socket.write(kLanPrefix + "AT\r\n" + kLanPrefix + "AT+WIFIMODE=?\r\n");
    QCOMPARE(readBytes(socket, 7), QByteArray("OK\r\n2\r\n"));

    // A command torn inside its prefix and inside its text.
    socket.write(kLanPrefix.left(1));
    socket.waitForBytesWritten(kWaitMs);
    QTest::qWait(10);
    socket.write(kLanPrefix.mid(1) + "AT+ZO");
    socket.waitForBytesWritten(kWaitMs);
    QTest::qWait(10);
    socket.write("NE=?\r\n");
    QCOMPARE(readLine(socket), kZone1 + "\r\n");

    // "+++" carries no line end: it counts once the line is quiet.
    socket.write(kLanPrefix + "+++");
    QCOMPARE(readLine(socket), QByteArray("AT MODE\r\n"));
}

void TestQxsim::lanTransparentData()
{
    QTcpSocket socket;
    QVERIFY(connectTo(socket, m_sim.port(QStringLiteral("LAN"))));

    const QByteArray data = QByteArray("AT+WIFIMODE=?\r\n\0\xff\x01 raw", 21);
    socket.write(data);
    QCOMPARE(readBytes(socket, data.size()), data);

    // Data and a command in one segment: echo first, then the answer.
    socket.write("xyz" + kLanPrefix + "AT\r\n");
    QCOMPARE(readBytes(socket, 7), QByteArray("xyzOK\r\n"));
}

void TestQxsim::relayTextAnswers()
{
    QTcpSocket relay;
    QVERIFY(connectTo(relay, m_sim.port(QStringLiteral("RELAY"))));

    relay.write(relayCommand("AT+DEVID=?", kModule2, kZone2));
    QCOMPARE(readLine(relay), kModule2 + "\r\n");
    relay.write(relayCommand("AT+WIFIMODE=1", kModule2, kZone2));
    QCOMPARE(readLine(relay), QByteArray("OK\r\n"));
    relay.write(relayCommand("AT+WIFIMODE=?", kModule2, kZone2));
    QCOMPARE(readLine(relay), QByteArray("1\r\n"));
    // The other module kept its own value.
    relay.write(relayCommand("AT+WIFIMODE=?"));
    QCOMPARE(readLine(relay), QByteArray("2\r\n"));
    relay.write(relayCommand("AT+WIFIMODE=2", kModule2, kZone2));
    QCOMPARE(readLine(relay), QByteArray("OK\r\n"));
}

void TestQxsim::relayReplyFrames_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("function"); // 0: plain text expected
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("work mode") << QByteArray("AT+WIFIMODE=?") << 9 << QByteArray("1=2;");
    QTest::newRow("serial format, stop bits as item")
        << QByteArray("AT+UART=?") << 9 << QByteArray("18=8;19=1;");
    QTest::newRow("AP info") << QByteArray("AT+APINF=?") << 9 << QByteArray("4=QX5120_AP;5=12345678;9=6;");
    QTest::newRow("station address") << QByteArray("AT+STATIONIP=?") << 9
                                     << QByteArray("25=192.168.1.100;26=255.255.255.0;27=192.168.1.1;");
    QTest::newRow("device ID") << QByteArray("AT+DEVID=?") << 9 << QByteArray("20=") + kModule1 + ';';
    QTest::newRow("no key: text") << QByteArray("AT+NAME=?") << 0 << QByteArray("admin\r\n");
    QTest::newRow("IO read") << QByteArray("AT+IOCTR=OUR1NOUR1N") << 5 << QByteArray("OUB11OUB11");
    QTest::newRow("IO write") << QByteArray("AT+IOCTR=IFW20IFW20") << 5 << QByteArray("IFB20IFB20");
    QTest::newRow("set: text") << QByteArray("AT+DHCP=0") << 0 << QByteArray("OK\r\n");
    QTest::newRow("refused: text") << QByteArray("AT+DHCP=9") << 0 << QByteArray("ERROR\r\n");
}

void TestQxsim::relayReplyFrames()
{
    QFETCH(QByteArray, command);
    QFETCH(int, function);
    QFETCH(QByteArray, payload);

    Simulator sim;
    QVERIFY(sim.start(
        {QStringLiteral("--relay"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--reply-frames")}));
    QTcpSocket relay;
    QVERIFY(connectTo(relay, sim.port(QStringLiteral("RELAY"))));
    relay.write(relayCommand(command));

    if (function == 0) {
        QCOMPARE(readBytes(relay, payload.size()), payload);
        return;
    }
    const QByteArray frame = readBytes(relay, 20 + payload.size());
    QCOMPARE(frame.left(2), QByteArray::fromHex("A881"));
    QCOMPARE(frame.mid(2, 11), kModule1);
    QCOMPARE(frame.mid(13, 4), kZone1);
    QCOMPARE(int(frame.at(17)), function);
    QCOMPARE(frame.at(19), byteSum(frame.left(19)));
    QCOMPARE(frame.mid(20), payload);
}

void TestQxsim::relayIgnoresFaultyFrames_data()
{
    QTest::addColumn<QByteArray>("faulty");
    QTest::addColumn<bool>("counted"); // reported as a bad frame on stderr

    QByteArray badRelaySum = relayCommand("AT+DEVID=?");
    badRelaySum[28] = static_cast<char>(badRelaySum.at(28) + 1);
    QByteArray badModuleSum = relayCommand("AT+DEVID=?");
    badModuleSum[29 + 19] = static_cast<char>(badModuleSum.at(29 + 19) ^ 0x40);

    QTest::newRow("relay checksum") << badRelaySum << true;
    QTest::newRow("module checksum") << badModuleSum << true;
    QTest::newRow("junk before a header") << QByteArray("\x01\x02junk", 6) << true;
    QTest::newRow("unknown module") << relayCommand("AT+DEVID=?", "99999999999", kZone1) << false;
    QTest::newRow("zone mismatch") << relayCommand("AT+DEVID=?", kModule1, "0009") << false;
}

void TestQxsim::relayIgnoresFaultyFrames()
{
    QFETCH(QByteArray, faulty);
    QFETCH(bool, counted);

    Simulator sim;
    QVERIFY(sim.start({QStringLiteral("--relay"), QStringLiteral("127.0.0.1:0")}));
    QTcpSocket relay;
    QVERIFY(connectTo(relay, sim.port(QStringLiteral("RELAY"))));

    // The faulty frame gets no answer: the first answer to arrive is the good frame's.
    relay.write(faulty);
    relay.write(relayCommand("AT+ZONE=?"));
    QCOMPARE(readLine(relay), kZone1 + "\r\n");
    QCOMPARE(relay.bytesAvailable(), 0);
    sim.stop();
    QCOMPARE(sim.process().readAllStandardError().contains("ignored bad frame"), counted);
}

void TestQxsim::relayTornAndBatchedFrames()
{
    QTcpSocket relay;
    QVERIFY(connectTo(relay, m_sim.port(QStringLiteral("RELAY"))));

    const QByteArray frame = relayCommand("AT+ZONE=?", kModule2, kZone2);
    relay.write(frame.left(10));
    relay.waitForBytesWritten(kWaitMs);
    QTest::qWait(10);
    relay.write(frame.mid(10, 25));
    relay.waitForBytesWritten(kWaitMs);
    QTest::qWait(10);
    relay.write(frame.mid(35));
    QCOMPARE(readLine(relay), kZone2 + "\r\n");

    // A zone-valid flag of 00 means the zone is not checked.
    relay.write(relayCommand("AT+ZONE=?") +
                relayFrame(kModule2, moduleFrame(kModule2, "9999", "AT+DEVID=?\r\n", false)));
    QCOMPARE(readBytes(relay, 19), kZone1 + "\r\n" + kModule2 + "\r\n");
}

void TestQxsim::relayTransparentData()
{
    QTcpSocket relay;
    QVERIFY(connectTo(relay, m_sim.port(QStringLiteral("RELAY"))));
    const QByteArray data("\0\xff data through the module", 26);
    relay.write(relayFrame(kModule2, data));
    QCOMPARE(readBytes(relay, data.size()), data);
}

void TestQxsim::ptyCommandsAndLink()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("ttyQX"));
    Simulator sim;
    QVERIFY(sim.start({QStringLiteral("--pty"), link}));
    QVERIFY(sim.listener(QStringLiteral("PTY")).startsWith(QLatin1String("/dev/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.listener(QStringLiteral("PTY")));

    const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY2(fd >= 0, strerror(errno));
    termios raw{};
    QCOMPARE(::tcgetattr(fd, &raw), 0);
    ::cfmakeraw(&raw);
    QCOMPARE(::tcsetattr(fd, TCSANOW, &raw), 0);

    const auto send = [fd](const QByteArray &bytes) {
        return ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    };
    QVERIFY(send("+++"));
    QCOMPARE(readPty(fd, 9), QByteArray("AT MODE\r\n"));
    QVERIFY(send("AT\r\n"));
    QCOMPARE(readPty(fd, 4), QByteArray("OK\r\n"));
    QVERIFY(send("AT+IOCTR=OUW40OUW40\r\nAT+IOCTR=OUR4NOUR4N\r\n"));
    QCOMPARE(readPty(fd, 12), QByteArray("OK\r\nIO13:0\r\n"));
    QVERIFY(send("+++AT+WIFIMODE=?\r\n"));
    QCOMPARE(readPty(fd, 12), QByteArray("AT MODE\r\n2\r\n"));
    QVERIFY(send("hello\r\n"));
    QCOMPARE(readPty(fd, 7), QByteArray("hello\r\n"));
    ::close(fd);

    sim.stop();
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestQxsim::udpDiscovery()
{
    QUdpSocket udp;
    QVERIFY(udp.bind(QHostAddress::LocalHost, 0));
    const quint16 port = m_sim.port(QStringLiteral("UDP"));
    QVERIFY(port != 0);

    for (const QByteArray &request :
         {QByteArray("REQUEST_DEVICE_DISCOVERY"), QByteArray("REQUEST_DEVICE_SEARCH")}) {
        QVERIFY(udp.writeDatagram(request, QHostAddress::LocalHost, port) == request.size());
        QByteArrayList replies;
        QDeadlineTimer deadline(kWaitMs);
        while (replies.size() < 2 && !deadline.hasExpired()) {
            if (!udp.hasPendingDatagrams() &&
                !udp.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                break;
            while (udp.hasPendingDatagrams())
                replies.append(udp.receiveDatagram().data());
        }
        QCOMPARE(replies.size(), 2); // one per simulated module
        QVERIFY(replies.at(0).startsWith("QX5120,ID=" + kModule1 + ",IP=127.0.0.1,MAC="));
        QVERIFY(replies.at(1).startsWith("QX5120,ID=" + kModule2 + ",IP=127.0.0.1,MAC="));
    }
}

void TestQxsim::faultGarbageInPieces()
{
    Simulator sim;
    QVERIFY(sim.start({QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--garbage"),
                       QStringLiteral("--split"), QStringLiteral("3"), QStringLiteral("--piece-delay"),
                       QStringLiteral("20")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port(QStringLiteral("LAN"))));
    socket.write(kLanPrefix + "AT+WIFIMODE=?\r\n");
    const QByteArray answer = readLine(socket);
    QVERIFY(answer.endsWith("2\r\n"));
    QVERIFY(answer.contains('\0'));
    QVERIFY(answer.contains('\xff'));
}

void TestQxsim::faultErrorEverywhere()
{
    Simulator sim;
    QVERIFY(sim.start({QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--error"),
                       QStringLiteral("--delay"), QStringLiteral("30")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port(QStringLiteral("LAN"))));
    socket.write(kLanPrefix + "AT+WIFIMODE=?\r\n" + kLanPrefix + "AT+DHCP=1\r\n" + kLanPrefix + "AT\r\n");
    QCOMPARE(readBytes(socket, 18), QByteArray("ERROR\r\nERROR\r\nOK\r\n"));
}

void TestQxsim::faultDropAfter()
{
    Simulator sim;
    QVERIFY(sim.start({QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--drop-after"),
                       QStringLiteral("2")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port(QStringLiteral("LAN"))));
    socket.write(kLanPrefix + "AT\r\n" + kLanPrefix + "AT\r\n" + kLanPrefix + "AT\r\n");
    QCOMPARE(readBytes(socket, 12), QByteArray("OK\r\nOK\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, kWaitMs);
}

void TestQxsim::commandLineErrors()
{
    QProcess help;
    help.start(qEnvironmentVariable("QXSIM"), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(kWaitMs));
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().contains("--reply-frames"));

    for (const QStringList &arguments :
         {QStringList{}, QStringList{QStringLiteral("--lan"), QStringLiteral("nohost:1")},
          QStringList{QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--module"),
                      QStringLiteral("123")}}) {
        QProcess bad;
        bad.start(qEnvironmentVariable("QXSIM"), arguments);
        QVERIFY(bad.waitForFinished(kWaitMs));
        QCOMPARE(bad.exitCode(), 2);
        QVERIFY(!bad.readAllStandardOutput().contains("READY"));
    }
}

QTEST_GUILESS_MAIN(TestQxsim)
#include "test_qxsim.moc"
