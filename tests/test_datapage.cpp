// The data send page: the bytes the data box puts on each link (serial on a pseudo-terminal, LAN
// and Internet on a loopback TCP server reached through the link group), text and hex input, the
// status texts, the two clear buttons and the page's start state.

#include "links/TcpConnection.h"
#include "links/UdpEndpoint.h"
#include "support/Frames.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>
#include <algorithm>

namespace {
// Types like a user: Return for a line break, Chinese through a key event carrying the text.
void typeInto(QWidget *edit, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            QTest::keyClick(edit, Qt::Key_Return);
        else if (c == QLatin1Char('\t'))
            QTest::keyClick(edit, Qt::Key_Tab);
        else if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A radio button takes clicks on its indicator and caption only, not on the rest of its cell.
void clickRadio(QRadioButton *radio)
{
    QStyleOptionButton option;
    option.initFrom(radio);
    const QRect indicator = radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio);
    QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

void replaceText(QLineEdit *field, const QString &text)
{
    QTest::keyClick(field, Qt::Key_End);
    for (qsizetype i = field->text().size(); i > 0; --i)
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Sends the data box as it stands, then a one-byte marker: whatever arrives before the marker is
// exactly what the first send put on the wire.
void sendThenMarker(MainWindow &form)
{
    QTest::mouseClick(control<QPushButton>(form, "dataSendButton"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(form, "dataClearButton"), Qt::LeftButton);
    clickRadio(control<QRadioButton>(form, "asciiRadio"));
    typeInto(control<QPlainTextEdit>(form, "dataEdit"), QStringLiteral("#"));
    QTest::mouseClick(control<QPushButton>(form, "dataSendButton"), Qt::LeftButton);
}

bool loggedTcpSend(const MainWindow &form)
{
    const QStringList lines = form.console()->lines();
    return std::any_of(lines.cbegin(), lines.cend(),
                       [](const QString &line) { return line.startsWith(QLatin1String("TCP Send:")); });
}

QByteArray configFor(const QString &com1, const QString &language)
{
    return WorkDir::testConfig(com1, "[Ver]\r\nCEO=" + language.toLatin1() + "\r\n");
}
} // namespace

class DataPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startState();
    void serialSendsTheDataBox_data();
    void serialSendsTheDataBox();
    void hexWithStrayCharacterSendsNothing_data();
    void hexWithStrayCharacterSendsNothing();
    void serialStatusAndEmptyBox_data();
    void serialStatusAndEmptyBox();
    void otherLinkTypeSendsNothing();
    void lanSendsRawData_data();
    void lanSendsRawData();
    void internetSendsRelayFrame_data();
    void internetSendsRelayFrame();
    void clearButtonsEmptyOnlyTheirBox();

private:
    // Connects through the link group to a loopback server, as the user does. Empty when connected,
    // otherwise the step that failed.
    QString connectByLinkGroup(MainWindow &form, bool lan, QTcpServer &server, QTcpSocket **peer);
};

void DataPageTest::startState()
{
    // Text is the choice at start; the data box scrolls vertically; every control is on the page.
    BoxRecorder boxes;
    WorkDir dir(configFor(QStringLiteral("/nonexistent/tty"), QStringLiteral("EN")));
    auto form = makeMainWindow();
    QVERIFY(control<QRadioButton>(*form, "asciiRadio")->isChecked());
    QVERIFY(!control<QRadioButton>(*form, "hexRadio")->isChecked());
    QCOMPARE(control<QPlainTextEdit>(*form, "dataEdit")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QWidget *page = control<QWidget>(*form, "dataPage");
    for (const char *name : {"asciiRadio", "hexRadio", "dataEdit", "dataSendButton", "dataClearButton",
                             "searchButton", "search2Button", "searchResultEdit", "searchClearButton"})
        QVERIFY2(page->isAncestorOf(control<QWidget>(*form, QLatin1String(name))), name);
}

void DataPageTest::serialSendsTheDataBox_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("text, lines joined by CR LF") << false << "AT\nX" << QByteArray("AT\r\nX");
    QTest::newRow("text, trailing line break kept") << false << "AT\n" << QByteArray("AT\r\n");
    QTest::newRow("text, empty line") << false << "A\n\nB" << QByteArray("A\r\n\r\nB");
    QTest::newRow("text, Chinese as GBK") << false << "中文" << QByteArray("\xd6\xd0\xce\xc4");
    QTest::newRow("hex with blanks") << true << "41 42 43" << QByteArray("ABC");
    QTest::newRow("hex lower case") << true << "a8 81 01" << QByteArray("\xa8\x81\x01");
    QTest::newRow("hex zero bytes kept") << true << "00 41 00" << QByteArray("\0A\0", 3);
    // Blanks go first, then pairs; a lone last digit is a byte of its own.
    QTest::newRow("hex odd digits between blanks") << true << "1 2 3" << QByteArray("\x12\x03");
    QTest::newRow("hex odd digit count") << true << "ABC" << QByteArray("\xab\x0c");
    QTest::newRow("hex lone last digit after a blank") << true << "41 4" << QByteArray("\x41\x04");
    // Line breaks and tabs separate like blanks: no 00 for the break, no pair shifted across it.
    QTest::newRow("hex line break between bytes") << true << "41 42\n43" << QByteArray("ABC");
    QTest::newRow("hex line break inside a pair") << true << "414\n243" << QByteArray("ABC");
    QTest::newRow("hex trailing line break") << true << "41\n" << QByteArray("A");
    QTest::newRow("hex blank lines") << true << "41\n\n\n42" << QByteArray("AB");
    QTest::newRow("hex tab") << true << "41\t42" << QByteArray("AB");
    QTest::newRow("hex full-width blank") << true << "41\u300042" << QByteArray("AB");
    QTest::newRow("hex line break before a lone digit") << true << "41\n4" << QByteArray("\x41\x04");
}

void DataPageTest::serialSendsTheDataBox()
{
    QFETCH(bool, hex);
    QFETCH(QString, typed);
    QFETCH(QByteArray, wire);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), QStringLiteral("EN")));
    auto form = makeMainWindow();
    form->show();
    if (hex)
        clickRadio(control<QRadioButton>(*form, "hexRadio"));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), typed);

    sendThenMarker(*form);

    QCOMPARE(pty.read(int(wire.size()) + 1), wire + '#');
    QVERIFY(form->console()->lines().contains(QStringLiteral("COM Send:#")));
    QVERIFY(boxes.boxes.isEmpty());
}

void DataPageTest::hexWithStrayCharacterSendsNothing_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning");
    const auto english = [](const char *stray, const char *code) {
        return QStringLiteral(
                   "The HEX data holds \"%1\" (%2), which is not a hex digit! Use only 0-9, A-F and "
                   "blanks. Nothing was sent.")
            .arg(QString::fromUtf8(stray), QLatin1String(code));
    };
    QTest::newRow("letter beyond F") << "EN"
                                     << "G1" << english("G", "U+0047");
    QTest::newRow("comma between bytes") << "EN"
                                         << "41,42" << english(",", "U+002C");
    QTest::newRow("0x prefix on a later line") << "EN"
                                               << "41\n0x42" << english("x", "U+0078");
    QTest::newRow("full-width digit") << "EN"
                                      << "41 \uff14\uff12" << english("４", "U+FF14");
    QTest::newRow("Chinese, language CN")
        << "CN"
        << "41 中"
        << QStringLiteral("HEX数据中的“中”(U+4E2D)不是十六进制数字！只能使用0-9、A-F和空格。数据没有发送。");
    QTest::newRow("other language is English") << "cn"
                                               << "4g" << english("g", "U+0067");
}

// Hex text with a character that is neither a digit nor a separator is not guessed at: nothing goes
// out, the box names the character, and the next clean send goes out alone.
void DataPageTest::hexWithStrayCharacterSendsNothing()
{
    QFETCH(QString, language);
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), language));
    auto form = makeMainWindow();
    form->show();
    clickRadio(control<QRadioButton>(*form, "hexRadio"));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), typed);
    form->setStatusPanel(2, QStringLiteral("before"));

    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);

    QCOMPARE(boxes.texts(), QStringList{warning});
    QCOMPARE(boxes.boxes.first().kind, BoxKind::Warning);
    QCOMPARE(form->statusPanel(2), QStringLiteral("before"));
    QCOMPARE(form->console()->lineCount(), 0);
    QCOMPARE(control<QPlainTextEdit>(*form, "dataEdit")->toPlainText(), typed); // left for the user to mend
    boxes.clear();
    QTest::mouseClick(control<QPushButton>(*form, "dataClearButton"), Qt::LeftButton);
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("23"));
    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);
    QCOMPARE(pty.read(2, 500), QByteArray("#"));
    QVERIFY(boxes.boxes.isEmpty());
}

void DataPageTest::serialStatusAndEmptyBox_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("status");
    QTest::newRow("EN") << "EN"
                        << "Sending data......";
    QTest::newRow("CN") << "CN"
                        << "正在发送数据......";
    QTest::newRow("other language") << "cn"
                                    << "Sending data......";
}

void DataPageTest::serialStatusAndEmptyBox()
{
    QFETCH(QString, language);
    QFETCH(QString, status);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), language));
    auto form = makeMainWindow();

    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);

    QCOMPARE(form->statusPanel(2), status);
    // An empty box writes nothing; the serial layer still logs the (empty) send.
    QCOMPARE(form->console()->lines(), QStringList({QString(), QStringLiteral("COM Send:")}));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("#"));
    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);
    QCOMPARE(pty.read(1), QByteArray("#"));
    QVERIFY(boxes.boxes.isEmpty());
}

void DataPageTest::otherLinkTypeSendsNothing()
{
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), QStringLiteral("EN")));
    auto form = makeMainWindow();
    form->setStatusPanel(2, QStringLiteral("before"));
    form->session().route.linkType = 7;
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("X"));

    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);

    QCOMPARE(form->statusPanel(2), QStringLiteral("before"));
    QCOMPARE(form->console()->lineCount(), 0);
    form->session().route.linkType = 0;
    QTest::mouseClick(control<QPushButton>(*form, "dataClearButton"), Qt::LeftButton);
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("#"));
    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);
    QCOMPARE(pty.read(1), QByteArray("#"));
}

QString DataPageTest::connectByLinkGroup(MainWindow &form, bool lan, QTcpServer &server, QTcpSocket **peer)
{
    QRadioButton *radio =
        lan ? control<QRadioButton>(form, "lanLinkRadio") : control<QRadioButton>(form, "wanLinkRadio");
    QLineEdit *ip = lan ? control<QLineEdit>(form, "lanIpEdit") : control<QLineEdit>(form, "wanIpEdit");
    QLineEdit *port = lan ? control<QLineEdit>(form, "lanPortEdit") : control<QLineEdit>(form, "wanPortEdit");
    QPushButton *connectButton =
        lan ? control<QPushButton>(form, "lanConnectButton") : control<QPushButton>(form, "wanConnectButton");
    clickRadio(radio);
    if (form.session().route.linkType != (lan ? 1 : 2) || !ip->isEnabled())
        return QStringLiteral("the radio button did not select its link and enable its row");
    replaceText(ip, QStringLiteral("127.0.0.1"));
    replaceText(port, QString::number(server.serverPort()));
    QTest::mouseClick(connectButton, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 10000))
        return QStringLiteral("the connect button did not reach the loopback server");
    *peer = server.nextPendingConnection();
    if (!QTest::qWaitFor([&] { return form.tcpConnection()->state() == QAbstractSocket::ConnectedState; },
                         10000))
        return QStringLiteral("the TCP link did not report its connection");
    return QString();
}

void DataPageTest::lanSendsRawData_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QString>("status");
    // Raw data: no A8 81 01 in front, unlike commands on this link.
    QTest::newRow("EN text") << "EN" << false << "AT\n" << QByteArray("AT\r\n") << "Sending data(LAN)......";
    QTest::newRow("CN hex") << "CN" << true << "A8 81 01 00" << QByteArray("\xa8\x81\x01\x00", 4)
                            << "正在通过局域网设置发送数据......";
    QTest::newRow("EN empty") << "EN" << false << "" << QByteArray() << "Sending data(LAN)......";
}

void DataPageTest::lanSendsRawData()
{
    QFETCH(QString, language);
    QFETCH(bool, hex);
    QFETCH(QString, typed);
    QFETCH(QByteArray, wire);
    QFETCH(QString, status);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QHostAddress::LocalHost), 0));
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), language));
    auto form = makeMainWindow();
    form->show();
    QTcpSocket *peer = nullptr;
    const QString missing = connectByLinkGroup(*form, true, server, &peer);
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    if (hex)
        clickRadio(control<QRadioButton>(*form, "hexRadio"));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), typed);

    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);
    QVERIFY2(loggedTcpSend(*form), "the send left no \"TCP Send:\" line in the console");
    QCOMPARE(form->statusPanel(2), status);
    QTest::mouseClick(control<QPushButton>(*form, "dataClearButton"), Qt::LeftButton);
    clickRadio(control<QRadioButton>(*form, "asciiRadio"));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("#"));
    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);

    QByteArray got;
    QTRY_VERIFY_WITH_TIMEOUT((got += peer->readAll()).size() >= wire.size() + 1, 10000);
    QCOMPARE(got, wire + '#');
    QVERIFY(boxes.boxes.isEmpty());
}

void DataPageTest::internetSendsRelayFrame_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("status");
    QTest::newRow("EN ABC") << "EN"
                            << "ABC" << QByteArray("ABC") << "Sending data(WAN)......";
    QTest::newRow("CN line break") << "CN"
                                   << "AT\n"
                                   << QByteArray("AT\r\n") << "正在通过互联网设置发送数据......";
    QTest::newRow("EN empty") << "EN"
                              << "" << QByteArray() << "Sending data(WAN)......";
}

void DataPageTest::internetSendsRelayFrame()
{
    QFETCH(QString, language);
    QFETCH(QString, typed);
    QFETCH(QByteArray, payload);
    QFETCH(QString, status);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QHostAddress::LocalHost), 0));
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), language));
    auto form = makeMainWindow();
    form->show();
    QTcpSocket *peer = nullptr;
    const QString missing = connectByLinkGroup(*form, false, server, &peer);
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), typed);

    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);
    QVERIFY2(loggedTcpSend(*form), "the send left no \"TCP Send:\" line in the console");
    QCOMPARE(form->statusPanel(2), status);
    QTest::mouseClick(control<QPushButton>(*form, "dataClearButton"), Qt::LeftButton);
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("#"));
    QTest::mouseClick(control<QPushButton>(*form, "dataSendButton"), Qt::LeftButton);

    // The relay frame's header with the default IDs and the data itself: no module frame.
    QByteArray got;
    const QByteArray expected = Frames::relayDefaultIds() + payload + Frames::relayDefaultIds() + '#';
    QTRY_VERIFY_WITH_TIMEOUT((got += peer->readAll()).size() >= expected.size(), 10000);
    QCOMPARE(got, expected);
    QVERIFY(boxes.boxes.isEmpty());
}

void DataPageTest::clearButtonsEmptyOnlyTheirBox()
{
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(configFor(pty.slavePath(), QStringLiteral("EN")));
    auto form = makeMainWindow();
    // An answer is listed without a search made: the endpoint binds by itself once the loop runs.
    QUdpSocket *endpoint = nullptr;
    QTRY_VERIFY((endpoint = form->findChild<QUdpSocket *>(QStringLiteral("udpSocket"))) != nullptr &&
                endpoint->state() == QAbstractSocket::BoundState);
    QUdpSocket module;
    QVERIFY(module.bind(QHostAddress(QHostAddress::LocalHost), 0));
    module.writeDatagram("QX5120", QHostAddress(QHostAddress::LocalHost), endpoint->localPort());
    QTRY_COMPARE(control<QPlainTextEdit>(*form, "searchResultEdit")->toPlainText(),
                 QStringLiteral("127.0.0.1:QX5120"));
    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("AT\nX"));

    QTest::mouseClick(control<QPushButton>(*form, "dataClearButton"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>(*form, "dataEdit")->toPlainText(), QString());
    QCOMPARE(control<QPlainTextEdit>(*form, "searchResultEdit")->toPlainText(),
             QStringLiteral("127.0.0.1:QX5120"));

    typeInto(control<QPlainTextEdit>(*form, "dataEdit"), QStringLiteral("AT"));
    QTest::mouseClick(control<QPushButton>(*form, "searchClearButton"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>(*form, "searchResultEdit")->toPlainText(), QString());
    QCOMPARE(control<QPlainTextEdit>(*form, "dataEdit")->toPlainText(), QStringLiteral("AT"));
    // Clearing sends nothing and logs nothing.
    QCOMPARE(form->console()->lineCount(), 0);
}

QTEST_MAIN(DataPageTest)
#include "test_datapage.moc"
