#include "links/ComPorts.h"
#include "links/OpenAdvice.h"
#include "links/PortMap.h"
#include "support/DeniedAccess.h"
#include "support/Pty.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

// The window's serial ports against pseudo-terminals standing in for the module: exact bytes both
// ways, why an open was refused, and a device that disappears while open.

namespace {

using Refusal = SerialLink::Refusal;
using Result = ComPorts::Result;

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

QByteArray everyByteValue()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    return bytes;
}

int openDescriptorCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

SerialSettings format(int baud, int mode)
{
    return DecodeSerialFormat(baud, mode).value_or(SerialSettings{});
}

} // namespace

class SerialPortTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void decodesFormat_data();
    void decodesFormat();
    void rejectsUnknownCodes_data();
    void rejectsUnknownCodes();

    void writesExactBytes_data();
    void writesExactBytes();
    void readsExactBytes_data();
    void readsExactBytes();
    void oneReadTakesEverythingWaiting_data();
    void oneReadTakesEverythingWaiting();
    void readSeesDataWithoutEventLoop();
    void reportedBytesGatherReplyInPieces();

    void missingDeviceFailsOpen();
    void busyPortFailsOpen_data();
    void busyPortFailsOpen();
    void refusedOpenTellsWhy_data();
    void refusedOpenTellsWhy();
    void closedPort();
    void outOfRangePortNumbers();

    void vanishingDevice_data();
    void vanishingDevice();

    void formatReachesTheLine_data();
    void formatReachesTheLine();
    void evenOrOddAfterMarkOrSpace_data();
    void evenOrOddAfterMarkOrSpace();

private:
    ComPorts com;  // the window's ports
    PortMap ports; // the window's map, as the serial dialog hands its paths on
};

void SerialPortTest::cleanup()
{
    for (int port = 1; port <= kComPortCount; ++port)
        com.close(port);
    ports.clear();
}

void SerialPortTest::decodesFormat_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint32>("rate");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("parity");
    QTest::newRow("8N2 = 7") << 12 << 7 << 9600 << int(QSerialPort::Data8) << int(QSerialPort::TwoStop)
                             << int(QSerialPort::NoParity);
    QTest::newRow("7E1 = 26") << 12 << 26 << 9600 << int(QSerialPort::Data7) << int(QSerialPort::OneStop)
                              << int(QSerialPort::EvenParity);
    QTest::newRow("8N1 = 3") << 16 << 3 << 115200 << int(QSerialPort::Data8) << int(QSerialPort::OneStop)
                             << int(QSerialPort::NoParity);
    QTest::newRow("5 bits odd") << 5 << 0x08 << 300 << int(QSerialPort::Data5) << int(QSerialPort::OneStop)
                                << int(QSerialPort::OddParity);
    QTest::newRow("6 bits mark 2 stop") << 6 << (1 | 4 | 0x28) << 600 << int(QSerialPort::Data6)
                                        << int(QSerialPort::TwoStop) << int(QSerialPort::MarkParity);
    QTest::newRow("8 bits space") << 7 << (3 | 0x38) << 1200 << int(QSerialPort::Data8)
                                  << int(QSerialPort::OneStop) << int(QSerialPort::SpaceParity);
    QTest::newRow("2400") << 9 << 3 << 2400 << int(QSerialPort::Data8) << int(QSerialPort::OneStop)
                          << int(QSerialPort::NoParity);
    QTest::newRow("4800") << 10 << 3 << 4800 << int(QSerialPort::Data8) << int(QSerialPort::OneStop)
                          << int(QSerialPort::NoParity);
    QTest::newRow("19200") << 13 << 3 << 19200 << int(QSerialPort::Data8) << int(QSerialPort::OneStop)
                           << int(QSerialPort::NoParity);
    QTest::newRow("38400") << 14 << 3 << 38400 << int(QSerialPort::Data8) << int(QSerialPort::OneStop)
                           << int(QSerialPort::NoParity);
    QTest::newRow("57600") << 15 << 3 << 57600 << int(QSerialPort::Data8) << int(QSerialPort::OneStop)
                           << int(QSerialPort::NoParity);
}

void SerialPortTest::decodesFormat()
{
    QFETCH(int, baud);
    QFETCH(int, mode);
    const std::optional<SerialSettings> format = DecodeSerialFormat(baud, mode);
    QVERIFY(format.has_value());
    QTEST(format->baudRate, "rate");
    QTEST(int(format->dataBits), "dataBits");
    QTEST(int(format->stopBits), "stopBits");
    QTEST(int(format->parity), "parity");
}

void SerialPortTest::rejectsUnknownCodes_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("mode");
    QTest::newRow("baud code 8 (not offered)") << 8 << 3;
    QTest::newRow("baud code 11 (not offered)") << 11 << 3;
    QTest::newRow("baud code 0") << 0 << 3;
    QTest::newRow("baud code 17") << 17 << 3;
    QTest::newRow("baud rate given as a rate") << 9600 << 3;
    QTest::newRow("parity bits 0x10") << 12 << (3 | 0x10);
    QTest::newRow("parity bits 0x20") << 12 << (3 | 0x20);
    QTest::newRow("parity bits 0x30") << 12 << (3 | 0x30);
    QTest::newRow("unknown bit 0x40") << 12 << (3 | 0x40);
    QTest::newRow("negative mode") << 12 << -1;
}

void SerialPortTest::rejectsUnknownCodes()
{
    QFETCH(int, baud);
    QFETCH(int, mode);
    QVERIFY(!DecodeSerialFormat(baud, mode).has_value());
}

void SerialPortTest::writesExactBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("command") << QByteArray("AT+WIFIMODE=?\r\n");
    QTest::newRow("00 bytes") << QByteArray("\0\0\0", 3);
    QTest::newRow("frame with 00 inside") << QByteArray("\xA8\x81\x00\x0B\x00\xFF", 6);
    QTest::newRow("every byte value") << everyByteValue();
    QTest::newRow("more than the driver buffer") << pattern(5000);
}

void SerialPortTest::writesExactBytes()
{
    QFETCH(QByteArray, bytes);
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    QCOMPARE(com.configure(1, format(16, 3)), Result::Ok);
    QCOMPARE(com.write(1, bytes), Result::Ok);
    // No event loop runs here: the bytes must already be on their way.
    QCOMPARE(pty.read(int(bytes.size())), bytes);
}

void SerialPortTest::readsExactBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("reply") << QByteArray("2\r\n");
    QTest::newRow("00 bytes only") << QByteArray("\0\0", 2);
    QTest::newRow("module frame with 00") << QByteArray("\xA8\x81\x00\x01\x00\xFF", 6);
    QTest::newRow("every byte value") << everyByteValue();
}

void SerialPortTest::readsExactBytes()
{
    QFETCH(QByteArray, bytes);
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    QCOMPARE(com.configure(1, format(16, 3)), Result::Ok);
    QCOMPARE(com.takeWaiting(1), QByteArray()); // nothing sent yet
    QVERIFY(pty.write(bytes));
    QByteArray got;
    QTRY_VERIFY_WITH_TIMEOUT((got += com.takeWaiting(1)).size() >= bytes.size(), 5000);
    QCOMPARE(got, bytes);
    QCOMPARE(com.takeWaiting(1), QByteArray());
}

void SerialPortTest::oneReadTakesEverythingWaiting_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("1025, the old buffer") << 1025;
    QTest::newRow("1026, one more") << 1026;
    QTest::newRow("3000") << 3000;
}

void SerialPortTest::oneReadTakesEverythingWaiting()
{
    QFETCH(int, size);
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    const QByteArray bytes = pattern(size);
    QVERIFY(pty.write(bytes));
    // Waited for without an event loop, which would move the bytes into the port's own buffer.
    const QDeadlineTimer deadline(5000);
    while (pty.pendingForProgram() < size && !deadline.hasExpired())
        QThread::msleep(2);
    QCOMPARE(pty.pendingForProgram(), size);
    QCOMPARE(com.takeWaiting(1), bytes);
    QCOMPARE(pty.pendingForProgram(), 0);
}

void SerialPortTest::readSeesDataWithoutEventLoop()
{
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    const QByteArray bytes = pattern(2000);
    QVERIFY(pty.write(bytes));
    // Only the port's own calls, no event processing between them.
    QByteArray got;
    const QDeadlineTimer deadline(10000);
    while (got.size() < bytes.size() && !deadline.hasExpired()) {
        got += com.takeWaiting(1);
        QThread::msleep(2);
    }
    QCOMPARE(got, bytes);
}

void SerialPortTest::reportedBytesGatherReplyInPieces()
{
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    // The real caller: it reads when the port reports bytes, while the device sends in pieces.
    QByteArray got;
    QList<int> reports;
    QObject reader;
    connect(&com, &ComPorts::bytesWaiting, &reader, [&](int port) {
        reports.append(port);
        got += com.takeWaiting(port);
    });
    const QByteArray first("+ok=\0", 5), second("\xA8\x81\x00", 3), third(pattern(1500));
    QVERIFY(pty.write(first));
    QTRY_COMPARE_WITH_TIMEOUT(got, first, 5000);
    QVERIFY(pty.write(second));
    QVERIFY(pty.write(third));
    QTRY_COMPARE_WITH_TIMEOUT(got.size(), first.size() + second.size() + third.size(), 5000);
    QCOMPARE(got, first + second + third);
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.count(1), reports.size());
}

void SerialPortTest::missingDeviceFailsOpen()
{
    ports.setDevicePath(3, QStringLiteral("/nonexistent/qx-serial-test"));
    QCOMPARE(com.open(3, ports.devicePath(3)), Refusal::NoDevice);
    QVERIFY(!com.isOpen(3));
    QCOMPARE(com.close(3), Result::NotOpen);
}

void SerialPortTest::busyPortFailsOpen_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("same number twice") << QStringLiteral("same number");
    QTest::newRow("same device, another number") << QStringLiteral("another number");
    QTest::newRow("symlink, another number") << QStringLiteral("symlink");
    QTest::newRow("held by another program") << QStringLiteral("other holder");
}

void SerialPortTest::busyPortFailsOpen()
{
    QFETCH(QString, how);
    Pty pty;
    QVERIFY(pty.isValid());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyQX"));
    QVERIFY(QFile::link(pty.slavePath(), link));
    ports.setDevicePath(1, pty.slavePath());
    ports.setDevicePath(2, how == QLatin1String("symlink") ? link : pty.slavePath());

    QSerialPort otherProgram;
    int first = 1, second = 2;
    if (how == QLatin1String("other holder")) {
        otherProgram.setPortName(pty.slavePath());
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));
        first = 0; // nothing of ours is open
    } else {
        QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
        if (how == QLatin1String("same number"))
            second = 1;
    }

    QCOMPARE(com.open(second, ports.devicePath(second)), Refusal::InUse);

    if (first != 0) { // the port that was open still works
        QCOMPARE(com.write(first, QByteArray("ping")), Result::Ok);
        QCOMPARE(pty.read(4), QByteArray("ping"));
    }
}

void SerialPortTest::refusedOpenTellsWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<bool>("english");
    QTest::newRow("missing device") << "missing" << int(Refusal::NoDevice) << true;
    QTest::newRow("held by another program") << "held" << int(Refusal::InUse) << true;
    QTest::newRow("not permitted, English") << "denied" << int(Refusal::NotPermitted) << true;
    QTest::newRow("not permitted, Chinese") << "denied" << int(Refusal::NotPermitted) << false;
}

// A busy, a missing and a forbidden device all fail to open; only the forbidden one has a cure the
// user can apply, and its advice names the group that owns the device.
void SerialPortTest::refusedOpenTellsWhy()
{
    QFETCH(QString, how);
    QFETCH(int, refusal);
    QFETCH(bool, english);
    Pty pty;
    QVERIFY(pty.isValid());
    const QString path =
        how == QLatin1String("missing") ? QStringLiteral("/nonexistent/qx-serial-test") : pty.slavePath();
    ports.setDevicePath(3, path);
    QSerialPort otherProgram;
    if (how == QLatin1String("held")) {
        otherProgram.setPortName(pty.slavePath());
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    }

    // The advice reads the device as it is when the open fails, so it is asked for at that moment.
    std::unique_ptr<DeniedAccess> denied;
    if (how == QLatin1String("denied")) {
        denied = std::make_unique<DeniedAccess>(pty.devicePath());
        if (!denied->failure().isEmpty())
            QSKIP(qPrintable(QStringLiteral("cannot refuse a device to this process: ") + denied->failure()));
    }
    const Refusal why = com.open(3, ports.devicePath(3));
    const QString advice = OpenFailureAdvice(why, path, english);
    const QString group = denied ? denied->group() : QString();
    denied.reset();

    QCOMPARE(int(why), refusal);
    if (how != QLatin1String("denied")) {
        QCOMPARE(advice, QString());
        return;
    }
    const QString command = QStringLiteral("sudo usermod -aG ") + group + QStringLiteral(" $USER");
    QCOMPARE(advice, english
                         ? QStringLiteral("This user may not open ") + path +
                               QStringLiteral(". Add the user to the group \"") + group +
                               QStringLiteral("\" that owns it (") + command +
                               QStringLiteral("), then log out and log in again.")
                         : QStringLiteral("当前用户无权打开") + path +
                               QStringLiteral("。请把用户加入拥有该设备的组“") + group +
                               QStringLiteral("”（") + command + QStringLiteral("），然后注销并重新登录。"));

    // Once the device is allowed again, the same number opens: nothing of the refusal lingers.
    QCOMPARE(com.open(3, ports.devicePath(3)), Refusal::None);
}

void SerialPortTest::closedPort()
{
    QCOMPARE(com.write(4, QByteArray("x")), Result::NotOpen);
    QCOMPARE(com.close(4), Result::NotOpen);
    QCOMPARE(com.configure(4, format(12, 3)), Result::NotOpen);
    QCOMPARE(com.takeWaiting(4), QByteArray()); // a poll of a closed port is silent

    // Closed after being open: the same answers.
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(4, pty.slavePath());
    QCOMPARE(com.open(4, ports.devicePath(4)), Refusal::None);
    QCOMPARE(com.close(4), Result::Ok);
    QCOMPARE(com.write(4, QByteArray("x")), Result::NotOpen);
    QCOMPARE(com.close(4), Result::NotOpen);
    // ...and it can be opened again.
    QCOMPARE(com.open(4, ports.devicePath(4)), Refusal::None);
    QCOMPARE(com.write(4, QByteArray("y")), Result::Ok);
    QCOMPARE(pty.read(1), QByteArray("y"));
}

void SerialPortTest::outOfRangePortNumbers()
{
    Pty pty;
    QVERIFY(pty.isValid());
    for (const int port : {0, 37, -1}) {
        QCOMPARE(com.open(port, pty.slavePath()), Refusal::NoDevice);
        QCOMPARE(com.takeWaiting(port), QByteArray());
        QCOMPARE(com.write(port, QByteArray("x")), Result::NotOpen);
        QCOMPARE(com.close(port), Result::NotOpen);
    }
}

void SerialPortTest::vanishingDevice_data()
{
    QTest::addColumn<bool>("eventLoop");
    QTest::newRow("noticed by the next call") << false;
    QTest::newRow("noticed under the event loop") << true;
}

void SerialPortTest::vanishingDevice()
{
    QFETCH(bool, eventLoop);
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    QCOMPARE(com.configure(1, format(16, 3)), Result::Ok);
    QCOMPARE(com.write(1, QByteArray("AT\r\n")), Result::Ok);
    QCOMPARE(pty.read(4), QByteArray("AT\r\n"));

    const int descriptors = openDescriptorCount();
    pty.closeMaster();
    if (eventLoop) // the port's notifier fires on the hung-up device: the port closes itself
        QTRY_VERIFY_WITH_TIMEOUT(openDescriptorCount() < descriptors - 1, 5000); // more than the master

    QCOMPARE(com.takeWaiting(1), QByteArray());
    QVERIFY(!com.isOpen(1));
    QCOMPARE(com.write(1, QByteArray("AT\r\n")), Result::NotOpen);
    QCOMPARE(com.configure(1, format(16, 3)), Result::NotOpen);

    // Closing the dead port succeeds once, so the dialog does not keep it marked open.
    QCOMPARE(com.close(1), Result::Ok);
    QCOMPARE(com.close(1), Result::NotOpen);
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::NoDevice); // the device is gone
}

void SerialPortTest::formatReachesTheLine_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("twoStop");
    QTest::newRow("9600 8N2") << 12 << 4 << int(B9600) << true;
    QTest::newRow("115200 8N1") << 16 << 0 << int(B115200) << false;
    QTest::newRow("300 8N1") << 5 << 0 << int(B300) << false;
    QTest::newRow("57600 8N2") << 15 << 4 << int(B57600) << true;
}

void SerialPortTest::formatReachesTheLine()
{
    // A pseudo-terminal keeps rate and stop bits (it forces 8 bits and drops the parity enable).
    QFETCH(int, baud);
    QFETCH(int, stopBits);
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    QCOMPARE(com.configure(1, format(13, 3 | (stopBits == 4 ? 0 : 4))), Result::Ok); // start elsewhere
    QCOMPARE(com.configure(1, format(baud, 3 | stopBits)), Result::Ok);
    const termios line = pty.slaveSettings();
    QTEST(int(cfgetospeed(&line)), "speed");
    QTEST((line.c_cflag & CSTOPB) != 0, "twoStop");
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
}

void SerialPortTest::evenOrOddAfterMarkOrSpace_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("stickParity");
    QTest::addColumn<int>("oddFlag"); // -1: not checked
    QTest::newRow("mark then even") << 0x28 << 0x18 << false << 0;
    QTest::newRow("mark then odd") << 0x28 << 0x08 << false << 1;
    QTest::newRow("space then odd") << 0x38 << 0x08 << false << 1;
    QTest::newRow("space then even") << 0x38 << 0x18 << false << 0;
    QTest::newRow("mark then none") << 0x28 << 0x00 << false << -1;
    QTest::newRow("mark stays mark") << 0x28 << 0x28 << true << 1;
}

void SerialPortTest::evenOrOddAfterMarkOrSpace()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, stickParity);
    QFETCH(int, oddFlag);
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    // A pty cannot switch parity on, so some of these changes are reported as failed.
    QCOMPARE(com.open(1, ports.devicePath(1)), Refusal::None);
    com.configure(1, format(12, 3 | first));
    QVERIFY((pty.slaveSettings().c_cflag & CMSPAR) != 0); // mark/space is set on the line
    com.configure(1, format(12, 3 | second));
    const termios line = pty.slaveSettings();
    QCOMPARE((line.c_cflag & CMSPAR) != 0, stickParity);
    if (oddFlag >= 0)
        QCOMPARE((line.c_cflag & PARODD) != 0, oddFlag == 1);
}

QTEST_GUILESS_MAIN(SerialPortTest)
#include "test_serialport.moc"
