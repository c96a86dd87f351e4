// What a command and raw data look like on the wire of each network link, read back by a loopback
// peer. The frames themselves are tested on the core.

#include "protocol/FrameCodec.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "window/CommandDispatch.h"
#include "window/MainWindow.h"

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
    void commandOnTheWire_data();
    void commandOnTheWire();
    void rawDataOnTheInternetLink();
};

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
    QTest::mouseClick(control<QPushButton>(*form, button), Qt::LeftButton);
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
    form->dispatch().sendData(data);
    const QByteArray wire =
        QByteArray("\xA8\x83") + zeros(11) + bytes("\x00\x00\x00\x01", 4) + zeros(11) + "\x4C" + data;
    QTRY_COMPARE_WITH_TIMEOUT(peer.received().toHex(' '), wire.toHex(' '), kWait);
}

QTEST_MAIN(FrameCodecTest)
#include "test_framecodec.moc"
