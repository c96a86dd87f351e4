// The UDP endpoint: what sendUdp puts on the wire and in the console, how received datagrams are
// listed, the retry when the discovery port is taken, and the two search buttons. Loopback only; the
// real broadcast runs between two network namespaces this test creates (as root), with the tool's
// side and the answering module as helper modes of this same executable.

#include "links/UdpEndpoint.h"
#include "support/NamespacePair.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/DiscoverySearch.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUdpSocket>
#include <QtTest>
#include <cstdio>
#include <unistd.h>

namespace {
constexpr auto kResponderMode = "--netns-responder";
constexpr auto kSearcherMode = "--netns-searcher";
const QString kModuleAddress = NamespacePair::kModuleAddress;
const QString kToolAddress = NamespacePair::kToolAddress;

QByteArray moduleAnswer(const QByteArray &request)
{
    return "QX5120 " + request + "\r\nready";
}

// The console's logical lines (it stores long lines as several display rows).
QString consoleText(const MainWindow &form)
{
    return form.console()->lines().join(QLatin1Char('\n'));
}

void printLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Stands in for modules on the far side of the veth pair: answers every request on the discovery
// port to its sender and reports what it got.
int runResponder(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QUdpSocket socket;
    if (!socket.bind(QHostAddress(QHostAddress::AnyIPv4), 6999)) {
        printLine("BINDFAIL " + socket.errorString().toUtf8());
        return 2;
    }
    QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [&socket] {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram d = socket.receiveDatagram();
            printLine("GOT " + d.senderAddress().toString().toLatin1() + ' ' +
                      QByteArray::number(d.senderPort()) + ' ' +
                      d.destinationAddress().toString().toLatin1() + ' ' + d.data().toBase64());
            socket.writeDatagram(moduleAnswer(d.data()), d.senderAddress(), quint16(d.senderPort()));
        }
    });
    printLine("READY");
    return app.exec();
}

// True only inside the named namespace: the searcher broadcasts for real and must never do so
// from the machine's own network.
bool insideNamespace(const char *name)
{
    QProcess identify;
    identify.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("identify"),
                                          QString::number(QCoreApplication::applicationPid())});
    return identify.waitForFinished(30000) && identify.exitCode() == 0 &&
           identify.readAllStandardOutput().trimmed() == QByteArray(name);
}

// The tool as the user runs it, with its default endpoint and discovery target, inside the
// namespace: search, search 2, search again, then report the result box, the console and any boxes.
int runSearcher(int argc, char **argv, const char *namespaceName, int expectedLines = 6)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!insideNamespace(namespaceName)) {
        printLine("NOT INSIDE " + QByteArray(namespaceName));
        return 3;
    }
    Pty pty;
    BoxRecorder boxes;
    // Only here, inside the test's own namespace, do the search buttons broadcast.
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Discovery]\r\nAddress=255.255.255.255\r\n"));
    const auto window = makeMainWindow(6998);
    MainWindow &form = *window;
    form.settings().showHex = true;
    QTest::mouseClick(control<QPushButton>(form, "searchButton"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(form, "search2Button"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(form, "searchButton"), Qt::LeftButton);
    (void)QTest::qWaitFor(
        [&form, expectedLines] {
            return control<QPlainTextEdit>(form, "searchResultEdit")->document()->blockCount() >=
                   expectedLines;
        },
        20000);
    printLine("BOUND " + QByteArray::number(form.udpEndpoint()->localPort()));
    printLine("RESULT " +
              control<QPlainTextEdit>(form, "searchResultEdit")->toPlainText().toUtf8().toBase64());
    printLine("CONSOLE " + consoleText(form).toUtf8().toBase64());
    printLine("BOXES " + boxes.texts().join(QLatin1Char('\n')).toUtf8().toBase64());
    return 0;
}

QString fieldOf(const QByteArray &output, const QByteArray &key)
{
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith(key + ' '))
            return QString::fromUtf8(QByteArray::fromBase64(line.mid(key.size() + 1)));
    }
    return QStringLiteral("<missing>");
}

} // namespace

class UdpLinkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void sendUdpSendsOneDatagramAndLogsIt_data();
    void sendUdpSendsOneDatagramAndLogsIt();
    void nothingSentWithoutDataOrHost_data();
    void nothingSentWithoutDataOrHost();
    void unusableDestinationIsReported_data();
    void unusableDestinationIsReported();
    void receivedDatagramIsOneResultLine_data();
    void receivedDatagramIsOneResultLine();
    void resultsKeepArrivalOrderUntilCleared();
    void takenPortIsReportedOnEachSendUntilFree();
    void searchButtonsSendTheirRequest_data();
    void searchButtonsSendTheirRequest();
    void searchBroadcastsInsideNamespaces();
    void searchFindsTheSimulatedModuleInsideNamespaces();

private:
    std::unique_ptr<Pty> pty_; // COM1, so that start-up opens its port without a box
    std::unique_ptr<BoxRecorder> boxes_;
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> form_;
    quint16 toolPort_ = 0;
    void makeWindow(int udpLocalPort = 0); // 0: a free port, so that parallel suites never fight
};

void UdpLinkTest::cleanup()
{
    form_.reset();
    dir_.reset();
    boxes_.reset();
    pty_.reset();
}

void UdpLinkTest::makeWindow(int udpLocalPort)
{
    boxes_ = std::make_unique<BoxRecorder>();
    pty_ = std::make_unique<Pty>();
    dir_ = std::make_unique<WorkDir>(WorkDir::testConfig(pty_->slavePath()));
    form_ = makeMainWindow(udpLocalPort);
    toolPort_ = form_->udpEndpoint()->localPort();
}

void UdpLinkTest::sendUdpSendsOneDatagramAndLogsIt_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("showHex");
    QTest::addColumn<QString>("console");
    QTest::newRow("text") << QByteArray("REQUEST_DEVICE_SEARCH") << false
                          << "\nUDP Send:REQUEST_DEVICE_SEARCH";
    QTest::newRow("text, hex on") << QByteArray("REQUEST_DEVICE_SEARCH") << true
                                  << "\nUDP Send:REQUEST_DEVICE_SEARCH\n"
                                     "HEX:52 45 51 55 45 53 54 5F 44 45 56 49 43 45 5F 53 45 41 52 43 48 ";
    QTest::newRow("zero byte inside") << QByteArray("A\0B", 3) << true << "\nUDP Send:A␀B\nHEX:41 00 42 ";
    QTest::newRow("line break") << QByteArray("AT\r\n+OK") << false << "\nUDP Send:AT\n+OK";
    QTest::newRow("8192 bytes") << QByteArray(8192, 'x') << false
                                << QStringLiteral("\nUDP Send:") + QString(8192, QLatin1Char('x'));
}

void UdpLinkTest::sendUdpSendsOneDatagramAndLogsIt()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, showHex);
    QFETCH(QString, console);
    QUdpSocket listener;
    QVERIFY(listener.bind(QHostAddress(QHostAddress::LocalHost), 0));
    makeWindow();
    form_->settings().showHex = showHex;

    form_->discovery().send(data, QStringLiteral("127.0.0.1"), listener.localPort());

    QTRY_VERIFY(listener.hasPendingDatagrams());
    const QNetworkDatagram got = listener.receiveDatagram();
    QCOMPARE(got.data(), data);
    QCOMPARE(got.senderPort(), int(toolPort_)); // replies find their way back to the endpoint
    QCOMPARE(consoleText(*form_), console);
    QVERIFY(boxes_->boxes.isEmpty());
}

void UdpLinkTest::nothingSentWithoutDataOrHost_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("host");
    QTest::newRow("empty data") << QByteArray() << "127.0.0.1";
    QTest::newRow("empty host") << QByteArray("REQUEST_DEVICE_DISCOVERY") << QString();
}

void UdpLinkTest::nothingSentWithoutDataOrHost()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, host);
    QUdpSocket listener;
    QVERIFY(listener.bind(QHostAddress(QHostAddress::LocalHost), 0));
    makeWindow();

    form_->discovery().send(data, host, listener.localPort());
    QCOMPARE(form_->console()->lineCount(), 0);
    // Loopback keeps order: if the first call had sent anything, it would arrive before this.
    form_->discovery().send("next", QStringLiteral("127.0.0.1"), listener.localPort());

    QTRY_VERIFY(listener.hasPendingDatagrams());
    QCOMPARE(listener.receiveDatagram().data(), QByteArray("next"));
    QCOMPARE(consoleText(*form_), QStringLiteral("\nUDP Send:next"));
    QVERIFY(boxes_->boxes.isEmpty());
}

void UdpLinkTest::unusableDestinationIsReported_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("box");
    // The endpoint is IPv4; a port outside 16 bits must not wrap round to another port.
    QTest::newRow("IPv6 address") << "::1" << 6999 << QStringLiteral("不是IPv4地址：::1");
    QTest::newRow("port 0") << "127.0.0.1" << 0 << QStringLiteral("无效的UDP端口：0");
    QTest::newRow("port 65536") << "127.0.0.1" << 65536 << QStringLiteral("无效的UDP端口：65536");
    QTest::newRow("negative port") << "127.0.0.1" << -1 << QStringLiteral("无效的UDP端口：-1");
}

void UdpLinkTest::unusableDestinationIsReported()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, box);
    makeWindow();

    form_->discovery().send("REQUEST_DEVICE_DISCOVERY", host, port);

    QCOMPARE(boxes_->boxes.size(), 1);
    QCOMPARE(boxes_->boxes.first().kind, BoxKind::Error);
    QCOMPARE(boxes_->boxes.first().text, box);
    QCOMPARE(form_->console()->lineCount(), 0);
}

void UdpLinkTest::receivedDatagramIsOneResultLine_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QString>("shown");
    QTest::newRow("text") << QByteArray("QX5120 ready") << "QX5120 ready";
    QTest::newRow("line breaks stay line breaks") << QByteArray("A\r\nB\nC\rD") << "A\nB\nC\nD";
    QTest::newRow("zero and control bytes visible") << QByteArray("\0\x01Z\x7f", 4) << "␀␁Z␡";
    QTest::newRow("GBK text") << QByteArray("\xd6\xd0\xce\xc4") << "中文";
    QTest::newRow("empty datagram") << QByteArray() << QString();
    // Longer than the 2001 bytes a fixed copy buffer would keep: shown whole.
    for (const int size : {2001, 2002, 8192}) {
        QByteArray bytes(size, 'a');
        bytes[size - 1] = 'Z';
        QTest::addRow("%d bytes", size) << bytes << QString::fromLatin1(bytes);
    }
    QTest::newRow("8192 zero bytes") << QByteArray(8192, '\0') << QString(8192, QChar(0x2400));
}

void UdpLinkTest::receivedDatagramIsOneResultLine()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QString, shown);
    makeWindow();
    form_->setStatusPanel(2, QStringLiteral("before"));
    QUdpSocket module;
    QVERIFY(module.bind(QHostAddress(QHostAddress::LocalHost), 0));

    QCOMPARE(module.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), toolPort_),
             qint64(datagram.size()));

    QTRY_VERIFY(!control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText().isEmpty());
    QCOMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(),
             QStringLiteral("127.0.0.1:") + shown);
    // Discovery answers are not replies to commands: no console line, no parser, on the serial link too.
    QCOMPARE(form_->session().route.linkType, 0);
    QCOMPARE(form_->console()->lineCount(), 0);
    QCOMPARE(form_->statusPanel(2), QStringLiteral("before"));
    QVERIFY(boxes_->boxes.isEmpty());
}

void UdpLinkTest::resultsKeepArrivalOrderUntilCleared()
{
    makeWindow();
    QUdpSocket module;
    QVERIFY(module.bind(QHostAddress(QHostAddress::LocalHost), 0));
    for (const char *answer : {"one", "two", "one"})
        module.writeDatagram(answer, QHostAddress(QHostAddress::LocalHost), toolPort_);

    QTRY_COMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(),
                 QStringLiteral("127.0.0.1:one\n127.0.0.1:two\n127.0.0.1:one"));
    QTest::mouseClick(control<QPushButton>(*form_, "searchClearButton"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(), QString());
    module.writeDatagram("three", QHostAddress(QHostAddress::LocalHost), toolPort_);
    QTRY_COMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(),
                 QStringLiteral("127.0.0.1:three"));
}

void UdpLinkTest::takenPortIsReportedOnEachSendUntilFree()
{
    auto blocker = std::make_unique<QUdpSocket>();
    // The other program shares its port: only a bind that refuses to share notices it.
    QVERIFY(blocker->bind(QHostAddress(QHostAddress::AnyIPv4), 0,
                          QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
    const quint16 taken = blocker->localPort();
    QUdpSocket listener;
    QVERIFY(listener.bind(QHostAddress(QHostAddress::LocalHost), 0));

    makeWindow(taken);
    // Start-up goes on without a word.
    QVERIFY(boxes_->boxes.isEmpty());
    QCOMPARE(form_->statusPanel(0), kMakerNameChinese);
    QVERIFY(!form_->udpEndpoint()->isBound());

    form_->discovery().send("first", QStringLiteral("127.0.0.1"), listener.localPort());
    form_->discovery().setTarget({QStringLiteral("127.0.0.1"), int(listener.localPort())});
    QTest::mouseClick(control<QPushButton>(*form_, "searchButton"), Qt::LeftButton);
    QCOMPARE(boxes_->boxes.size(), 2);
    for (const BoxRequest &box : std::as_const(boxes_->boxes)) {
        QCOMPARE(box.kind, BoxKind::Error);
        QVERIFY2(box.text.contains(QLatin1String("in use")), qPrintable(box.text));
    }
    QCOMPARE(form_->console()->lineCount(), 0);

    blocker.reset();
    form_->discovery().send("second", QStringLiteral("127.0.0.1"), listener.localPort());

    QCOMPARE(boxes_->boxes.size(), 2);
    QTRY_VERIFY(listener.hasPendingDatagrams());
    const QNetworkDatagram got = listener.receiveDatagram();
    QCOMPARE(got.data(), QByteArray("second")); // nothing of the failed attempts went out
    QCOMPARE(got.senderPort(), int(taken));
    QCOMPARE(consoleText(*form_), QStringLiteral("\nUDP Send:second"));
    // Bound now, it also receives.
    listener.writeDatagram("answer", QHostAddress(QHostAddress::LocalHost), taken);
    QTRY_COMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(),
                 QStringLiteral("127.0.0.1:answer"));
}

void UdpLinkTest::searchButtonsSendTheirRequest_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("link");
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("搜索, serial link") << "searchButton" << 0 << QByteArray("REQUEST_DEVICE_DISCOVERY");
    QTest::newRow("搜索2, LAN link") << "search2Button" << 1 << QByteArray("REQUEST_DEVICE_SEARCH");
    QTest::newRow("搜索, other link") << "searchButton" << 7 << QByteArray("REQUEST_DEVICE_DISCOVERY");
}

void UdpLinkTest::searchButtonsSendTheirRequest()
{
    QFETCH(QString, button);
    QFETCH(int, link);
    QFETCH(QByteArray, request);
    QUdpSocket module;
    QVERIFY(module.bind(QHostAddress(QHostAddress::LocalHost), 0));
    makeWindow();
    QCOMPARE(form_->discovery().target().host,
             QStringLiteral("127.0.0.1")); // [Discovery] Address of the test config
    QCOMPARE(form_->discovery().target().port, 6999);
    form_->discovery().setTarget({QStringLiteral("127.0.0.1"), int(module.localPort())});
    form_->session().route.linkType = link;
    // An earlier answer stays: a search clears nothing.
    module.writeDatagram("earlier", QHostAddress(QHostAddress::LocalHost), toolPort_);
    QTRY_COMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(),
                 QStringLiteral("127.0.0.1:earlier"));
    form_->setStatusPanel(2, QStringLiteral("before"));

    QTest::mouseClick(control<QPushButton>(*form_, button), Qt::LeftButton);

    QTRY_VERIFY(module.hasPendingDatagrams());
    const QNetworkDatagram got = module.receiveDatagram();
    QCOMPARE(got.data(), request); // no line end, no terminator
    QCOMPARE(got.senderPort(), int(toolPort_));
    QCOMPARE(consoleText(*form_), QStringLiteral("\nUDP Send:") + QString::fromLatin1(request));
    QCOMPARE(form_->statusPanel(2), QStringLiteral("before"));
    module.writeDatagram("QX5120", got.senderAddress(), quint16(got.senderPort()));
    QTRY_COMPARE(control<QPlainTextEdit>(*form_, "searchResultEdit")->toPlainText(),
                 QStringLiteral("127.0.0.1:earlier\n127.0.0.1:QX5120"));
    QVERIFY(boxes_->boxes.isEmpty());
}

void UdpLinkTest::searchBroadcastsInsideNamespaces()
{
    if (::geteuid() != 0)
        QSKIP("The broadcast test needs root to create network namespaces; not run.");
    if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        QSKIP("The broadcast test needs the ip tool (iproute2); not run.");
    NamespacePair namespaces;
    if (const QString error = namespaces.setUp(); !error.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No network namespaces here (") + error +
                         QStringLiteral("); not run.")));

    const QString self = QCoreApplication::applicationFilePath();
    QProcess responder;
    responder.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"),
                                           namespaces.module(), self, QLatin1String(kResponderMode)});
    QByteArray heard;
    QTRY_VERIFY_WITH_TIMEOUT((heard += responder.readAllStandardOutput()).contains("READY\n") ||
                                 responder.state() == QProcess::NotRunning,
                             30000);
    QVERIFY2(heard.contains("READY\n"), heard.constData());

    QProcess searcher;
    searcher.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), namespaces.tool(),
                                          self, QLatin1String(kSearcherMode), namespaces.tool()});
    QVERIFY(searcher.waitForFinished(60000));
    const QByteArray report = searcher.readAllStandardOutput();
    QVERIFY2(searcher.exitCode() == 0, (report + searcher.readAllStandardError()).constData());
    QTRY_VERIFY_WITH_TIMEOUT((heard += responder.readAllStandardOutput()).count("GOT ") >= 3, 10000);

    // The module side saw three broadcasts from the discovery port, in the order pressed.
    const QByteArray from = kToolAddress.toLatin1() + " 6998 255.255.255.255 ";
    const QByteArray expectedHeard = "READY\nGOT " + from +
                                     QByteArray("REQUEST_DEVICE_DISCOVERY").toBase64() + "\nGOT " + from +
                                     QByteArray("REQUEST_DEVICE_SEARCH").toBase64() + "\nGOT " + from +
                                     QByteArray("REQUEST_DEVICE_DISCOVERY").toBase64() + "\n";
    QCOMPARE(heard, expectedHeard);

    QVERIFY2(report.contains("BOUND 6998\n"), report.constData());
    const QString answer = kModuleAddress + QStringLiteral(":QX5120 REQUEST_DEVICE_");
    QCOMPARE(fieldOf(report, "RESULT"), answer + QStringLiteral("DISCOVERY\nready\n") + answer +
                                            QStringLiteral("SEARCH\nready\n") + answer +
                                            QStringLiteral("DISCOVERY\nready"));
    const QString discovery =
        QStringLiteral("\nUDP Send:REQUEST_DEVICE_DISCOVERY\n"
                       "HEX:52 45 51 55 45 53 54 5F 44 45 56 49 43 45 5F 44 49 53 43 4F 56 "
                       "45 52 59 ");
    const QString search =
        QStringLiteral("\nUDP Send:REQUEST_DEVICE_SEARCH\n"
                       "HEX:52 45 51 55 45 53 54 5F 44 45 56 49 43 45 5F 53 45 41 52 43 48 ");
    QCOMPARE(fieldOf(report, "CONSOLE"),
             discovery + QLatin1Char('\n') + search + QLatin1Char('\n') + discovery);
    QCOMPARE(fieldOf(report, "BOXES"), QString());
    responder.kill();
    responder.waitForFinished();
}

void UdpLinkTest::searchFindsTheSimulatedModuleInsideNamespaces()
{
    const QString sim = qEnvironmentVariable("QXSIM");
    if (sim.isEmpty() || !QFile::exists(sim))
        QFAIL("qxsim is not built (QXSIM does not name an executable)");
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        QSKIP(
            "Discovery of the simulated module needs root and the ip tool for network namespaces; not run.");
    NamespacePair namespaces;
    if (const QString error = namespaces.setUp(); !error.isEmpty())
        QSKIP(qPrintable(QStringLiteral("No network namespaces here (") + error +
                         QStringLiteral("); not run.")));

    // The simulated module answers discovery on the far side of the veth pair.
    QProcess module;
    module.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), namespaces.module(),
                                        sim, QStringLiteral("--udp"), QStringLiteral("0.0.0.0:6999"),
                                        QStringLiteral("--module"), QStringLiteral("12345678901:0000")});
    QByteArray heard;
    QTRY_VERIFY_WITH_TIMEOUT((heard += module.readAllStandardOutput()).contains("READY\n") ||
                                 module.state() == QProcess::NotRunning,
                             30000);
    QVERIFY2(heard.contains("READY\n"), (heard + module.readAllStandardError()).constData());

    QProcess searcher;
    searcher.start(QStringLiteral("ip"),
                   {QStringLiteral("netns"), QStringLiteral("exec"), namespaces.tool(),
                    QCoreApplication::applicationFilePath(), QLatin1String(kSearcherMode), namespaces.tool(),
                    QStringLiteral("3")});
    QVERIFY(searcher.waitForFinished(60000));
    const QByteArray report = searcher.readAllStandardOutput();
    QVERIFY2(searcher.exitCode() == 0, (report + searcher.readAllStandardError()).constData());
    const QStringList results = fieldOf(report, "RESULT").split(QLatin1Char('\n'));
    QCOMPARE(results.size(), 3); // one answer per request, both request texts
    for (const QString &line : results)
        QVERIFY2(line.startsWith(kModuleAddress + QStringLiteral(":QX5120,ID=12345678901")),
                 qPrintable(line));
    module.terminate();
    module.waitForFinished();
}

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], kResponderMode) == 0)
        return runResponder(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kSearcherMode) == 0)
        return runSearcher(argc, argv, argv[2]);
    if (argc == 4 && qstrcmp(argv[1], kSearcherMode) == 0)
        return runSearcher(argc, argv, argv[2], atoi(argv[3]));
    QApplication app(argc, argv);
    UdpLinkTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_udplink.moc"
