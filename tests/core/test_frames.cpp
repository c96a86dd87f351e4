// The binary wrappings of the network links, byte for byte: the LAN prefix, the module frame and the
// relay frame with their checksums.

#include "protocol/FrameCodec.h"

#include <QtTest>

namespace {
QByteArray zeros(int n)
{
    return QByteArray(n, '0');
}

QByteArray bytes(const char *data, int size)
{
    return QByteArray(data, size);
}
} // namespace

class FramesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lanPrefix();
    void moduleFrame_data();
    void moduleFrame();
    void relayFrame_data();
    void relayFrame();
    void checksumCoversTheHeaderOnly();
};

void FramesTest::lanPrefix()
{
    QCOMPARE(LanCommandPrefix(), QByteArray("\xA8\x81\x01"));
}

void FramesTest::moduleFrame_data()
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
    // IDs are not checked here; text goes out as GBK.
    QTest::newRow("Chinese ID from the settings")
        << "中"
        << "0000" << true << QByteArray("x")
        << QByteArray("\xA8\x81\xD6\xD0") + zeros(4) + "\x08\x01\x98" + "x";
}

void FramesTest::moduleFrame()
{
    QFETCH(QString, id);
    QFETCH(QString, zone);
    QFETCH(bool, zoneValid);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    QCOMPARE(BuildModuleFrame(id, zone, zoneValid, payload).toHex(' '), frame.toHex(' '));
}

void FramesTest::relayFrame_data()
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

void FramesTest::relayFrame()
{
    QFETCH(QString, localId);
    QFETCH(QString, targetId);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    QCOMPARE(BuildRelayFrame(localId, targetId, payload).toHex(' '), frame.toHex(' '));
}

void FramesTest::checksumCoversTheHeaderOnly()
{
    const QByteArray a =
        BuildModuleFrame(QStringLiteral("12345678901"), QStringLiteral("0001"), true, "AT\r\n");
    const QByteArray b =
        BuildModuleFrame(QStringLiteral("12345678901"), QStringLiteral("0001"), true, "AT+RESTORE\r\n");
    QCOMPARE(a.left(20), b.left(20));
    const QString id = QStringLiteral("00000000000");
    QCOMPARE(BuildRelayFrame(id, id, a).left(29), BuildRelayFrame(id, id, b).left(29));
    QCOMPARE(FrameChecksum(QByteArray()), QByteArray(1, '\0'));
    QCOMPARE(FrameChecksum(QByteArray("\xFF\xFF\x02")), QByteArray(1, '\0')); // the sum wraps at 256
}

QTEST_GUILESS_MAIN(FramesTest)
#include "test_frames.moc"
