// The one TCP connection against loopback peers: the texts of its four events in both languages,
// sending with and without an established connection, the receive road into the reply parser and
// the console, and peers that misbehave.

#include "links/TcpConnection.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "window/CommandDispatch.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <numeric>

namespace {
constexpr int kWait = 10000; // generous: only an upper bound for QTRY_*

// Clicks on the indicator: the button's middle can lie beyond its caption, where a click misses.
void clickRadio(QRadioButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

// A window whose saved link is the LAN row pointing at the given port, in the given language.
struct Rig {
    explicit Rig(quint16 port, const QByteArray &language = "EN", const QByteArray &extra = QByteArray())
        : dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                  "[Ver]\r\nCEO=" + language + "\r\n[Network]\r\nCOMType=1\r\nTCPPort=" +
                                      QByteArray::number(port) + "\r\n" + extra)),
          form(makeMainWindow())
    {
    }
    TcpConnection *socket() const { return form->tcpConnection(); }
    bool established() const { return socket()->state() == QAbstractSocket::ConnectedState; }
    QStringList lines() const { return form->console()->lines(); }

    BoxRecorder boxes;
    WorkDir dir;
    std::unique_ptr<MainWindow> form;
};

QString peerText(quint16 port)
{
    return QStringLiteral("127.0.0.1:") + QString::number(port);
}

QString sendError(bool chinese)
{
    return chinese ? QStringLiteral("向Wifi模块用TCP协议发送数据时出现错误！")
                   : QStringLiteral("Send Error(TCP)!");
}
} // namespace

class TcpLinkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eventTexts_data();
    void eventTexts();
    void sendLogsWhatLeft_data();
    void sendLogsWhatLeft();
    void sendReconnectsAfterPeerClosed();
    void sendWithoutConnectionReportsError_data();
    void sendWithoutConnectionReportsError();
    void failedSendStaysInView_data();
    void failedSendStaysInView();
    void reconnectGoesOnAfterTheWait();
    void unansweredConnectGivesUp();
    void unresolvableNameReportsError();
    void chunksReachTheParser();
    void consoleClearedOnlyAboveHundredLines_data();
    void consoleClearedOnlyAboveHundredLines();
    void unconvertibleReplyIsSwallowed();
    void moduleFrameInTwoSegmentsFillsEveryField();
    void hostilePeer_data();
    void hostilePeer();
};

void TcpLinkTest::eventTexts_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("connected");
    QTest::addColumn<QString>("disconnected");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("received");
    QTest::newRow("EN") << QByteArray("EN") << ":TCP Connected Successfully!"
                        << ":TCP Connected disconnect!"
                        << ":TCP Connected error!"
                        << "Recieved data from network(TCP)!";
    QTest::newRow("CN") << QByteArray("CN") << ":TCP连接成功！"
                        << ":TCP连接失败！"
                        << ":TCP连接出错！"
                        << "收到来自网络(TCP)的数据！";
    // Only "CN" picks Chinese.
    QTest::newRow("cn") << QByteArray("cn") << ":TCP Connected Successfully!"
                        << ":TCP Connected disconnect!"
                        << ":TCP Connected error!"
                        << "Recieved data from network(TCP)!";
}

void TcpLinkTest::eventTexts()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, connected);
    QFETCH(QString, disconnected);
    QFETCH(QString, error);
    QFETCH(QString, received);

    LoopbackServer server;
    Rig rig(server.port(), language);
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(rig.form->statusPanel(1), peerText(server.port()) + connected, kWait);

    // A reply that does not convert stops the parser before its own status text, so the read
    // message stays in view.
    rig.form->session().cmdType = 118;
    server.peer()->write("x\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(rig.lines().contains(QStringLiteral("TCP Receive:x")), kWait);
    QCOMPARE(rig.form->statusPanel(2), received);

    // The peer ending the connection: the panel ends on the disconnect text with the peer still named.
    server.closePeer();
    QTRY_COMPARE_WITH_TIMEOUT(rig.form->statusPanel(1), peerText(server.port()) + disconnected, kWait);

    // A refused connection has no peer: empty address and port 0.
    control<QLineEdit>(*rig.form, "lanPortEdit")->setText(QString::number(closedLoopbackPort()));
    QTest::mouseClick(control<QPushButton>(*rig.form, "lanConnectButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(rig.form->statusPanel(1), QStringLiteral(":0") + error, kWait);
    QVERIFY(rig.boxes.boxes.isEmpty());
}

void TcpLinkTest::sendLogsWhatLeft_data()
{
    QTest::addColumn<bool>("showHex");
    QTest::newRow("text only") << false;
    QTest::newRow("with HEX") << true;
}

void TcpLinkTest::sendLogsWhatLeft()
{
    QFETCH(bool, showHex);
    LoopbackServer server;
    Rig rig(server.port(), "EN", showHex ? "[Program]\r\nShowHEX=1\r\n" : "");
    QTRY_VERIFY_WITH_TIMEOUT(rig.established(), kWait);
    rig.form->console()->clearLog();

    // 00 bytes inside the data must neither end the send nor the log line.
    const QByteArray data("A\x00"
                          "B\xA8\x81\r\n",
                          7);
    rig.form->dispatch().sendTcp(data);
    QTRY_COMPARE_WITH_TIMEOUT(server.received(), data, kWait);
    // An empty line, then the data line: 00 as the control picture ␀, A8 81 as its GBK character, and
    // the CR LF a line break.
    QStringList expected{QString(), QStringLiteral("TCP Send:A\u2400B\u2589"), QString()};
    if (showHex)
        expected << QStringLiteral("HEX:41 00 42 A8 81 0D 0A ");
    QCOMPARE(rig.lines(), expected);
    QCOMPARE(rig.form->statusPanel(2), QString());

    // Sends never trim the console, however long it is.
    for (int i = 0; i < 150; ++i)
        rig.form->console()->addLine(QStringLiteral("line"));
    const int before = rig.form->console()->lineCount();
    rig.form->dispatch().sendTcp("x");
    QCOMPARE(rig.form->console()->lineCount(), before + (showHex ? 3 : 2));
}

void TcpLinkTest::sendReconnectsAfterPeerClosed()
{
    LoopbackServer server;
    Rig rig(server.port());
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    server.closePeer();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.established(), kWait);

    rig.form->console()->clearLog();
    rig.form->dispatch().sendTcp("AT\r\n");
    // The send waited for the new connection, so it went out on it and was logged.
    QCOMPARE(rig.lines().value(1), QStringLiteral("TCP Send:AT"));
    QVERIFY(rig.established());
    QCOMPARE(rig.form->statusPanel(1),
             peerText(server.port()) + QStringLiteral(":TCP Connected Successfully!"));
    QTRY_COMPARE_WITH_TIMEOUT(server.connectionCount(), 2, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(server.received(), QByteArray("AT\r\n"), kWait);
    QCOMPARE(rig.form->statusPanel(2), QString());
}

void TcpLinkTest::sendWithoutConnectionReportsError_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QByteArray>("language");
    QTest::newRow("refused EN") << "refused" << QByteArray("EN");
    QTest::newRow("refused CN") << "refused" << QByteArray("CN");
    QTest::newRow("no answer EN") << "silent" << QByteArray("EN");
    QTest::newRow("no answer CN") << "silent" << QByteArray("CN");
    QTest::newRow("never connected") << "none" << QByteArray("EN");
}

// When the reconnection has not succeeded by the end of its wait nothing was sent: the send error
// is shown, and no "TCP Send:" line pretends otherwise.
void TcpLinkTest::sendWithoutConnectionReportsError()
{
    QFETCH(QString, peer);
    QFETCH(QByteArray, language);
    const bool chinese = language == "CN";
    SilentListener silent;
    if (peer == QLatin1String("silent") && !silent.isValid())
        QSKIP("could not fill the listen queue of a loopback port");

    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=" + language + "\r\n"));
    auto form = makeMainWindow();
    boxes.clear(); // the saved serial port does not exist
    if (peer != QLatin1String("none")) {
        clickRadio(control<QRadioButton>(*form, "lanLinkRadio"));
        control<QLineEdit>(*form, "lanPortEdit")
            ->setText(
                QString::number(peer == QLatin1String("silent") ? silent.port() : closedLoopbackPort()));
        QTest::mouseClick(control<QPushButton>(*form, "lanConnectButton"), Qt::LeftButton);
    }
    form->console()->clearLog();
    if (form->session().route.linkType == 1)
        QTest::mouseClick(control<QPushButton>(*form, "atButton"),
                          Qt::LeftButton); // the LAN dispatch goes through sendTcp
    form->dispatch().sendTcp("AT\r\n");

    QVERIFY(form->tcpConnection()->state() != QAbstractSocket::ConnectedState);
    const QStringList lines = form->console()->lines();
    QVERIFY2(!lines.join(QLatin1Char('|')).contains(QLatin1String("TCP Send:")), qPrintable(lines.join('|')));
    QCOMPARE(form->statusPanel(2), sendError(chinese));
    QVERIFY(boxes.boxes.isEmpty());
}

void TcpLinkTest::failedSendStaysInView_data()
{
    QTest::addColumn<int>("link"); // 1 LAN, 2 Internet
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("status"); // the third panel after the press
    const struct {
        const char *button;
        const char *lan;
        const char *wan;
    } presses[] = {
        {"workModeReadButton", "Reading work mode(LAN)......", "Reading work mode(WAN)......"},
        {"ioRead1Button", "Read IO1(LAN)......", "Read IO1(WAN)......"},
        {"dataSendButton", "Sending data(LAN)......", "Sending data(WAN)......"},
    };
    for (const auto &press : presses) {
        for (const int link : {1, 2}) {
            const QString where =
                QLatin1String(link == 1 ? "LAN " : "Internet ") + QLatin1String(press.button);
            QTest::addRow("%s refused", qPrintable(where))
                << link << QByteArray("EN") << press.button << true << sendError(false);
            QTest::addRow("%s refused CN", qPrintable(where))
                << link << QByteArray("CN") << press.button << true << sendError(true);
            // The same press reaching a peer announces itself as usual.
            QTest::addRow("%s accepted", qPrintable(where))
                << link << QByteArray("EN") << press.button << false
                << QString::fromLatin1(link == 1 ? press.lan : press.wan);
        }
    }
}

// A press whose bytes never left: the send error stays in the status bar, where the press would
// otherwise write its progress text over it, and the console shows no "TCP Send:" line.
void TcpLinkTest::failedSendStaysInView()
{
    QFETCH(int, link);
    QFETCH(QByteArray, language);
    QFETCH(QString, button);
    QFETCH(bool, refused);
    QFETCH(QString, status);
    LoopbackServer server;
    const QByteArray port = QByteArray::number(refused ? closedLoopbackPort() : server.port());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                    "[Ver]\r\nCEO=" + language +
                                        "\r\n[Network]\r\nCOMType=" + QByteArray::number(link) + "\r\n" +
                                        (link == 1 ? "TCPPort=" : "TCPPort2=") + port + "\r\n"));
    auto form = makeMainWindow();
    QCOMPARE(form->session().route.linkType, link);
    if (refused)
        QTRY_VERIFY_WITH_TIMEOUT(form->statusPanel(1).endsWith(language == "CN"
                                                                   ? QStringLiteral(":TCP连接出错！")
                                                                   : QStringLiteral(":TCP Connected error!")),
                                 kWait);
    else
        QTRY_VERIFY_WITH_TIMEOUT(form->tcpConnection()->state() == QAbstractSocket::ConnectedState, kWait);
    QTest::keyClicks(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("AB"));
    form->console()->clearLog();
    auto *pressed = control<QPushButton>(*form, button);
    QVERIFY(pressed);

    QTest::mouseClick(pressed, Qt::LeftButton);

    QCOMPARE(form->statusPanel(2), status);
    const QString console = form->console()->lines().join(QLatin1Char('|'));
    QCOMPARE(console.contains(QLatin1String("TCP Send:")), !refused);
    if (!refused)
        QTRY_VERIFY_WITH_TIMEOUT(!server.received().isEmpty(), kWait);
    QVERIFY(boxes.boxes.isEmpty());
}

// A peer slower than the send's wait: that send fails, but the attempt goes on and its connect
// message tells the user to send again.
void TcpLinkTest::reconnectGoesOnAfterTheWait()
{
    SilentListener slow;
    if (!slow.isValid())
        QSKIP("could not fill the listen queue of a loopback port");
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(
        QStringLiteral("/nonexistent/tty"),
        "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=1\r\nTCPPort=" + QByteArray::number(slow.port()) + "\r\n"));
    auto form = makeMainWindow();
    form->setStatusPanel(1, QString());
    form->console()->clearLog();
    form->dispatch().sendTcp("AT\r\n");
    QCOMPARE(form->statusPanel(2), sendError(false));
    QVERIFY(form->console()->lines().isEmpty());
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::ConnectingState);

    slow.openUp();
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel(1),
                              peerText(slow.port()) + QStringLiteral(":TCP Connected Successfully!"), kWait);
    form->dispatch().sendTcp("AT\r\n");
    QCOMPARE(form->console()->lines().value(1), QStringLiteral("TCP Send:AT"));
    QVERIFY(boxes.boxes.isEmpty());
}

void TcpLinkTest::unansweredConnectGivesUp()
{
    SilentListener silent;
    if (!silent.isValid())
        QSKIP("could not fill the listen queue of a loopback port");
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                    "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=1\r\nTCPPort=" +
                                        QByteArray::number(silent.port()) + "\r\n"));
    auto form = makeMainWindow();
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::ConnectingState);
    form->setStatusPanel(1, QString());
    // Left alone the attempt would go on for minutes; it ends with the error text instead.
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel(1), QStringLiteral(":0:TCP Connected error!"), 20000);
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(boxes.boxes.isEmpty());
}

void TcpLinkTest::unresolvableNameReportsError()
{
    // Names under .invalid are answered without asking a resolver, so nothing leaves the machine.
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(
        QStringLiteral("/nonexistent/tty"),
        "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=2\r\nServerIP2=nonexistent.invalid\r\nTCPPort2=8888\r\n"));
    auto form = makeMainWindow();
    QCOMPARE(form->settings().serverIp2, QStringLiteral("nonexistent.invalid"));
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel(1), QStringLiteral(":0:TCP Connected error!"), kWait);
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);

    form->console()->clearLog();
    form->dispatch().sendTcp("AT\r\n");
    QCOMPARE(form->statusPanel(2), sendError(false));
    QVERIFY(form->console()->lines().isEmpty());
    QVERIFY(boxes.boxes.isEmpty());
}

void TcpLinkTest::chunksReachTheParser()
{
    LoopbackServer server;
    Rig rig(server.port());
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    QComboBox *workMode = rig.form->comboBox(Field::WorkMode);
    QVERIFY(workMode);
    workMode->setCurrentIndex(-1);
    rig.form->console()->clearLog();

    // The work-mode read of the LAN row: type code 118, the answer "2" selects the second item.
    rig.form->session().cmdType = 118;
    server.peer()->write("2\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(workMode->currentText(), QStringLiteral("AP"), kWait);
    QCOMPARE(rig.lines().value(0), QStringLiteral("TCP Receive:2"));
    QCOMPARE(rig.form->statusPanel(2), QStringLiteral("Operate complete!"));
}

void TcpLinkTest::consoleClearedOnlyAboveHundredLines_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("100") << 100 << false;
    QTest::newRow("101") << 101 << true;
    QTest::newRow("500") << 500 << true;
}

void TcpLinkTest::consoleClearedOnlyAboveHundredLines()
{
    QFETCH(int, lines);
    QFETCH(bool, cleared);
    LoopbackServer server;
    Rig rig(server.port());
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    ConsoleLog *console = rig.form->console();
    console->clearLog();
    for (int i = 0; i < lines; ++i)
        console->addLine(QStringLiteral("old %1").arg(i));
    QCOMPARE(console->lineCount(), lines);

    rig.form->session().cmdType = -1; // no reading pending: the parser adds nothing of its own
    server.peer()->write("x");
    QTRY_VERIFY_WITH_TIMEOUT(console->lines().contains(QStringLiteral("TCP Receive:x")), kWait);
    QCOMPARE(console->lines().first(), cleared ? QStringLiteral("TCP Receive:x") : QStringLiteral("old 0"));
}

void TcpLinkTest::unconvertibleReplyIsSwallowed()
{
    LoopbackServer server;
    Rig rig(server.port());
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    QComboBox *workMode = rig.form->comboBox(Field::WorkMode);
    QVERIFY(workMode);
    rig.form->console()->clearLog();
    rig.form->setStatusPanel(2, QString());

    rig.form->session().cmdType = 118;
    server.peer()->write("two\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(rig.lines().contains(QStringLiteral("TCP Receive:two")), kWait);
    // Handling stopped at the conversion: no box, no "Operate complete!", the connection stays.
    QCOMPARE(rig.form->statusPanel(2), QStringLiteral("Recieved data from network(TCP)!"));
    QVERIFY(rig.boxes.boxes.isEmpty());
    QVERIFY(rig.established());

    server.peer()->write("1\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(workMode->currentText(), QStringLiteral("Station"), kWait);
}

// TCP keeps no message boundaries: a relay may pass a module reply frame on in two segments, and the
// parser must get it whole.
void TcpLinkTest::moduleFrameInTwoSegmentsFillsEveryField()
{
    LoopbackServer relay;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                    "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=2\r\nTCPPort2=" +
                                        QByteArray::number(relay.port()) + "\r\n"));
    auto form = makeMainWindow();
    QTRY_VERIFY_WITH_TIMEOUT(relay.peerConnected(), kWait);
    form->console()->clearLog();
    form->session().cmdType = -1; // no reading pending: only the frame fills fields

    QByteArray frame = QByteArray("\xA8\x81", 2) + "13900000001" + "0000" + '\x09' + '\0';
    frame += std::accumulate(frame.cbegin(), frame.cend(), char(0)); // header checksum
    frame += "1=3;20=13900000001;21=0571;23=120;24=2;15=8899;\r\n";
    const QByteArray first = frame.left(40);
    relay.peer()->write(first);
    // The first segment was read on its own before the second is sent.
    // On show as the console renders it: A8 81 is the GBK character U+2589, 09 and 00 control pictures.
    QTRY_VERIFY_WITH_TIMEOUT(
        form->console()
                    ->lines()
                    .filter(QStringLiteral("TCP Receive:\u2589139000000010000"
                                           "\u2409\u2400"))
                    .size() == 1 &&
            form->console()->lines().last().endsWith(QStringLiteral("1=3;20=13900000001;2")),
        kWait);
    relay.peer()->write(frame.mid(first.size()));

    QTRY_VERIFY_WITH_TIMEOUT(form->console()->lines().contains(QStringLiteral(
                                 "Remoete Set WIFI module:13900000001 Parameters successfully!")),
                             kWait);
    const QList<std::pair<const char *, QString>> shown = {
        {"workModeBox", "AP+Station"}, {"deviceIdEdit", "13900000001"}, {"zoneEdit", "0571"},
        {"heartbeatEdit", "120"},      {"dhcpBox", "AP Enable"},        {"serverPortEdit", "8899"}};
    for (const auto &[name, text] : shown) {
        QWidget *field = control<QWidget>(*form, QLatin1String(name));
        QVERIFY2(field, name);
        const auto *box = qobject_cast<const QComboBox *>(field);
        QCOMPARE(box ? box->currentText() : qobject_cast<const QLineEdit *>(field)->text(), text);
    }
    QCOMPARE(form->console()->lines().count(
                 QStringLiteral("Remoete Set WIFI module:13900000001 Parameters successfully!")),
             1);
    QVERIFY(boxes.boxes.isEmpty());
}

void TcpLinkTest::hostilePeer_data()
{
    QTest::addColumn<QString>("behaviour");
    QTest::newRow("closes at once") << "close";
    QTest::newRow("resets") << "reset";
    QTest::newRow("floods") << "flood";
    QTest::newRow("binary garbage") << "garbage";
}

// Whatever the peer does, the window keeps running its event loop and the next send reconnects.
void TcpLinkTest::hostilePeer()
{
    QFETCH(QString, behaviour);
    LoopbackServer server;
    Rig rig(server.port(), "EN", "[Program]\r\nShowHEX=1\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    rig.form->session().cmdType =
        118; // the parser converts numbers for this code: the garbage must not upset it

    const QString disconnected = peerText(server.port()) + QStringLiteral(":TCP Connected disconnect!");
    if (behaviour == QLatin1String("close")) {
        server.closePeer();
        QTRY_COMPARE_WITH_TIMEOUT(rig.form->statusPanel(1), disconnected, kWait);
    } else if (behaviour == QLatin1String("reset")) {
        server.resetPeer();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.established(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(rig.form->statusPanel(1), disconnected, kWait);
    } else if (behaviour == QLatin1String("flood")) {
        // 8 MiB of lines and NULs, as fast as the socket takes them.
        QByteArray block;
        for (int i = 0; i < 4096; ++i)
            block += QByteArray("1234567890abcdef\r\n\x00\xA8\x81", 21);
        qint64 total = 0;
        for (int i = 0; i < 100; ++i)
            total += server.peer()->write(block);
        QVERIFY(total > 8'000'000);
        // The flood is over once its last line is on show; the log was cleared along the way instead of
        // growing without end.
        server.peer()->write("end of flood");
        QTRY_VERIFY_WITH_TIMEOUT(rig.lines().join(QLatin1Char('\n')).contains(QLatin1String("end of flood")),
                                 60000);
        QVERIFY(rig.form->console()->lineCount() < 40000);
    } else {
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage += char(i * 7 % 256);
        server.peer()->write(garbage);
        QTRY_VERIFY_WITH_TIMEOUT(
            rig.lines().join(QLatin1Char('\n')).contains(QLatin1String("HEX:00 07 0E 15 ")), kWait);
        QVERIFY(rig.established());
    }

    // Still responsive: a timer fires, the buttons work, and a send gets through on a new or old connection.
    bool fired = false;
    QTimer::singleShot(0, rig.form.get(), [&fired] { fired = true; });
    QTRY_VERIFY_WITH_TIMEOUT(fired, kWait);
    server.clearReceived();
    QTest::mouseClick(control<QPushButton>(*rig.form, "atButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(server.received(),
                              QByteArray("\xA8\x81\x01"
                                         "AT\r\n"),
                              kWait);
    QCOMPARE(rig.form->statusPanel(2), QStringLiteral("Setting AT test(LAN)......"));
    QVERIFY(rig.boxes.boxes.isEmpty());
}

QTEST_MAIN(TcpLinkTest)
#include "test_tcplink.moc"
