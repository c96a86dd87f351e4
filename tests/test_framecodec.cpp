// The binary wrappings of the network links, byte for byte: the module frame, the relay frame, and
// what a command looks like on the wire of each link, read back by a loopback peer.

#include "protocol/FrameCodec.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

#include <QPushButton>
#include <QTcpSocket>
#include <QtTest>

namespace {
constexpr int kWait = 10000;

QByteArray zeros(int n)
{
    return QByteArray(n, '0');
}

QByteArray bytes(const char *data, int size)
{
    return QByteArray(data, size);
}
} // namespace

class FrameCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ResetSharedState(); }
    void lanPrefix();
    void moduleFrame_data();
    void moduleFrame();
    void relayFrame_data();
    void relayFrame();
    void checksumCoversTheHeaderOnly();
    void commandOnTheWire_data();
    void commandOnTheWire();
    void rawDataOnTheInternetLink();
};

void FrameCodecTest::lanPrefix()
{
    QCOMPARE(LanCommandPrefix(), QByteArray("\xA8\x81\x01"));
}

void FrameCodecTest::moduleFrame_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("zoneValid");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("defaults, zone valid") << "00000000000"
                                          << "0000" << true << QByteArray("AT\r\n")
                                          << QByteArray("\xA8\x81") + zeros(15) + "\x08\x01\x02" + "AT\r\n";
    QTest::newRow("defaults, zone off")
        << "00000000000"
        << "0000" << false << QByteArray("AT\r\n")
        << QByteArray("\xA8\x81") + zeros(15) + bytes("\x08\x00\x01", 3) + "AT\r\n";
    QTest::newRow("empty payload: 20 bytes")
        << "00000000000"
        << "0000" << true << QByteArray() << QByteArray("\xA8\x81") + zeros(15) + "\x08\x01\x02";
    QTest::newRow("other ID and zone")
        << "12345678901"
        << "0001" << true << QByteArray("AT+WIFIMODE=?\r\n")
        << QByteArray("\xA8\x81") + "12345678901" + "0001" + "\x08\x01\x31" + "AT+WIFIMODE=?\r\n";
    QTest::newRow("00 bytes in the payload")
        << "00000000000"
        << "0000" << true << bytes("\x00\x01\x00", 3)
        << QByteArray("\xA8\x81") + zeros(15) + "\x08\x01\x02" + bytes("\x00\x01\x00", 3);
    // Only the options dialog keeps IDs to 11 digits; text from Config.ini goes out as GBK, unchecked.
    QTest::newRow("Chinese ID from the settings")
        << "中"
        << "0000" << true << QByteArray("x")
        << QByteArray("\xA8\x81\xD6\xD0") + zeros(4) + "\x08\x01\x98" + "x";
}

void FrameCodecTest::moduleFrame()
{
    QFETCH(QString, id);
    QFETCH(QString, zone);
    QFETCH(bool, zoneValid);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    QCOMPARE(BuildModuleFrame(id, zone, zoneValid, payload).toHex(' '), frame.toHex(' '));
}

void FrameCodecTest::relayFrame_data()
{
    QTest::addColumn<QString>("localId");
    QTest::addColumn<QString>("targetId");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");
    const QByteArray command = bytes("\x00\x00\x00\x01", 4);
    QTest::newRow("defaults") << "00000000000"
                              << "00000000000" << QByteArray("data")
                              << QByteArray("\xA8\x83") + zeros(11) + command + zeros(11) + "\x4C" + "data";
    QTest::newRow("empty payload: 29 bytes")
        << "00000000000"
        << "00000000000" << QByteArray() << QByteArray("\xA8\x83") + zeros(11) + command + zeros(11) + "\x4C";
    QTest::newRow("other IDs") << "11111111111"
                               << "12345678901" << bytes("\x00", 1)
                               << QByteArray("\xA8\x83") + "11111111111" + command + "12345678901" + "\x85" +
                                      bytes("\x00", 1);
}

void FrameCodecTest::relayFrame()
{
    QFETCH(QString, localId);
    QFETCH(QString, targetId);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    LocalID = localId;
    TargetID = targetId;
    QCOMPARE(BuildRelayFrame(payload).toHex(' '), frame.toHex(' '));
}

void FrameCodecTest::checksumCoversTheHeaderOnly()
{
    const QByteArray a =
        BuildModuleFrame(QStringLiteral("12345678901"), QStringLiteral("0001"), true, "AT\r\n");
    const QByteArray b =
        BuildModuleFrame(QStringLiteral("12345678901"), QStringLiteral("0001"), true, "AT+RESTORE\r\n");
    QCOMPARE(a.left(20), b.left(20));
    QCOMPARE(BuildRelayFrame(a).left(29), BuildRelayFrame(b).left(29));
    QCOMPARE(FrameChecksum(QByteArray()), QByteArray(1, '\0'));
    QCOMPARE(FrameChecksum(QByteArray("\xFF\xFF\x02")), QByteArray(1, '\0')); // the sum wraps at 256
}

void FrameCodecTest::commandOnTheWire_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("wire");
    const QByteArray relayHeader =
        QByteArray("\xA8\x83") + zeros(11) + bytes("\x00\x00\x00\x01", 4) + zeros(11) + "\x4C";
    QTest::newRow("LAN, AT") << QByteArray("COMType=1") << "atButton"
                             << QByteArray("\xA8\x81\x01"
                                           "AT\r\n");
    QTest::newRow("LAN, +++ without CR LF")
        << QByteArray("COMType=1") << "enterSettingButton" << QByteArray("\xA8\x81\x01+++");
    // A command on the Internet link is a whole module frame inside a relay frame: two checksums.
    QTest::newRow("Internet, zone valid") << QByteArray("COMType=2") << "atButton"
                                          << relayHeader + "\xA8\x81" + zeros(15) + "\x08\x01\x02" + "AT\r\n";
    QTest::newRow("Internet, zone off")
        << QByteArray("COMType=2\r\nTargetZonValid=0") << "enterDataButton"
        << relayHeader + "\xA8\x81" + zeros(15) + bytes("\x08\x00\x01", 3) + "AT+++\r\n";
    QTest::newRow("Internet, saved IDs")
        << QByteArray(
               "COMType=2\r\nTargetGPRSID=12345678901\r\nTargetZone=0001\r\n[Local]\r\nLocalID=11111111111")
        << "atButton"
        << QByteArray("\xA8\x83") + "11111111111" + bytes("\x00\x00\x00\x01", 4) + "12345678901" + "\x85" +
               "\xA8\x81" + "12345678901" + "0001" + "\x08\x01\x31" + "AT\r\n";
}

void FrameCodecTest::commandOnTheWire()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, button);
    QFETCH(QByteArray, wire);
    LoopbackServer peer;
    BoxRecorder boxes;
    const QByteArray port = QByteArray::number(peer.port());
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Network]\r\nTCPPort=" + port +
                                                                            "\r\nTCPPort2=" + port + "\r\n" +
                                                                            settings + "\r\n"));
    auto form = makeMainWindow();
    QTRY_VERIFY_WITH_TIMEOUT(peer.peerConnected(), kWait);
    QTest::mouseClick(form->findChild<QPushButton *>(button), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(peer.received().size(), wire.size(), kWait);
    QCOMPARE(peer.received().toHex(' '), wire.toHex(' '));
    QVERIFY(boxes.boxes.isEmpty());
}

// Data of the data send page travels in a relay frame with no module frame inside.
void FrameCodecTest::rawDataOnTheInternetLink()
{
    LoopbackServer peer;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                    "[Network]\r\nCOMType=2\r\nTCPPort2=" + QByteArray::number(peer.port()) +
                                        "\r\n"));
    auto form = makeMainWindow();
    QTRY_VERIFY_WITH_TIMEOUT(peer.peerConnected(), kWait);
    const QByteArray data = bytes("AT\x00\xA8\x81", 5);
    form->SendData(data);
    const QByteArray wire =
        QByteArray("\xA8\x83") + zeros(11) + bytes("\x00\x00\x00\x01", 4) + zeros(11) + "\x4C" + data;
    QTRY_COMPARE_WITH_TIMEOUT(peer.received().toHex(' '), wire.toHex(' '), kWait);
}

QTEST_MAIN(FrameCodecTest)
#include "test_framecodec.moc"
