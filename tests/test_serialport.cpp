#include "links/OpenAdvice.h"
#include "links/PComm.h"
#include "links/PortMap.h"
#include "shell/commfunction.h"
#include "support/DeniedAccess.h"
#include "support/Pty.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

// The serial layer against pseudo-terminals standing in for the module: exact bytes both ways,
// the library's result codes and messages, and a device that disappears while open.

namespace {

const QString kOpenFail = QStringLiteral("Open the COM port fail or the COM port be used or not exist!");
const QString kWriteNotOpen = QStringLiteral("The COM Port NOT opened!");
const QString kFormatNotOpen = QStringLiteral("The COM Port not be opened!");
const QString kCloseFail = QStringLiteral("Close the COM port Fail or The COM Port Not exist!");
const QString kParameters = QStringLiteral("The Parameters error!");

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
    void writeSendsOnlyBytesThatExist();
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
    void closedPortMessages();
    void outOfRangePortNumbers();
    void layerRejectsBadArguments();

    void vanishingDevice_data();
    void vanishingDevice();

    void formatReachesTheLine_data();
    void formatReachesTheLine();
    void evenOrOddAfterMarkOrSpace_data();
    void evenOrOddAfterMarkOrSpace();

private:
    SioPorts sio; // the window's port table
    TCommFun commFun{&sio};
    PortMap ports; // the window's map, as the serial dialog hands its paths on
};

void SerialPortTest::cleanup()
{
    for (int port = 1; port <= kComPortCount; ++port)
        sio_close(sio, port);
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
    const std::optional<SerialFormat> format = DecodeSerialFormat(baud, mode);
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

    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(sio_open(sio, 1, ports.devicePath(1)), SIO_OK);
    QCOMPARE(sio_ioctl(sio, 1, baud, mode), SIO_BADPARM);
    BoxRecorder boxes;
    commFun.ComSetFormat(1, baud, mode & 3, mode & 4, mode & ~7);
    QVERIFY(boxes.boxes.isEmpty()); // no message for a parameter error on a format change
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
    BoxRecorder boxes;
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    commFun.ComSetFormat(1, 16, 3, 0, 0);
    QVERIFY(commFun.ComWrite(1, bytes, int(bytes.size())));
    // No event loop runs here: the bytes must already be on their way.
    QCOMPARE(pty.read(int(bytes.size())), bytes);
    QCOMPARE(boxes.texts(), QStringList());
}

void SerialPortTest::writeSendsOnlyBytesThatExist()
{
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    BoxRecorder boxes;
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    QVERIFY(commFun.ComWrite(1, QByteArray("ABCDEF"), 3));
    QCOMPARE(pty.read(3), QByteArray("ABC"));
    // A count beyond the data must not send whatever lies behind it in memory.
    QVERIFY(commFun.ComWrite(1, QByteArray("GH"), 100));
    QCOMPARE(pty.read(100, 300), QByteArray("GH"));
    QVERIFY(commFun.ComWrite(1, QByteArray(), 0));

    QVERIFY(!commFun.ComWrite(1, QByteArray("X"), -1));
    QCOMPARE(boxes.texts(), QStringList{kParameters});
    QCOMPARE(boxes.boxes.first().kind, BoxKind::Error);
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
    BoxRecorder boxes;
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    commFun.ComSetFormat(1, 16, 3, 0, 0);
    QCOMPARE(commFun.ComRead(1), QByteArray()); // nothing sent yet
    QVERIFY(pty.write(bytes));
    QByteArray got;
    QTRY_VERIFY_WITH_TIMEOUT((got += commFun.ComRead(1)).size() >= bytes.size(), 5000);
    QCOMPARE(got, bytes);
    QCOMPARE(commFun.ComRead(1), QByteArray());
    QCOMPARE(boxes.texts(), QStringList());
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
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    const QByteArray bytes = pattern(size);
    QVERIFY(pty.write(bytes));
    QTRY_COMPARE_WITH_TIMEOUT(sio_iqueue(sio, 1), size, 5000);
    QCOMPARE(commFun.ComRead(1), bytes);
    QCOMPARE(sio_iqueue(sio, 1), 0);
}

void SerialPortTest::readSeesDataWithoutEventLoop()
{
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    const QByteArray bytes = pattern(2000);
    QVERIFY(pty.write(bytes));
    // Only the layer's own calls, no event processing between them.
    QByteArray got;
    const QDeadlineTimer deadline(10000);
    while (got.size() < bytes.size() && !deadline.hasExpired()) {
        got += commFun.ComRead(1);
        QThread::msleep(2);
    }
    QCOMPARE(got, bytes);
}

void SerialPortTest::reportedBytesGatherReplyInPieces()
{
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    // The real caller: it reads when the layer reports bytes, while the device sends in pieces.
    QByteArray got;
    QList<int> reports;
    QObject reader;
    sio_notify(sio, &reader, [&](int port) {
        reports.append(port);
        got += commFun.ComRead(port);
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
    QCOMPARE(sio_open(sio, 3, ports.devicePath(3)), SIO_OPENFAIL);
    BoxRecorder boxes;
    QVERIFY(!commFun.ComOpen(3, ports.devicePath(3)));
    QCOMPARE(boxes.texts(), QStringList{kOpenFail});
    QCOMPARE(boxes.boxes.first().kind, BoxKind::Warning);
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
        QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
        if (how == QLatin1String("same number"))
            second = 1;
    }

    BoxRecorder boxes;
    QVERIFY(!commFun.ComOpen(second, ports.devicePath(second)));
    QCOMPARE(boxes.texts(), QStringList{kOpenFail});

    if (first != 0) { // the port that was open still works
        QVERIFY(commFun.ComWrite(first, QByteArray("ping"), 4));
        QCOMPARE(pty.read(4), QByteArray("ping"));
    }
}

void SerialPortTest::refusedOpenTellsWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<bool>("english");
    QTest::newRow("missing device") << "missing" << int(OpenRefusal::NoDevice) << true;
    QTest::newRow("held by another program") << "held" << int(OpenRefusal::InUse) << true;
    QTest::newRow("not permitted, English") << "denied" << int(OpenRefusal::NotPermitted) << true;
    QTest::newRow("not permitted, Chinese") << "denied" << int(OpenRefusal::NotPermitted) << false;
}

// The library's code -5 covers a busy, a missing and a forbidden device alike; only the forbidden one
// has a cure the user can apply, and its advice names the group that owns the device.
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

    BoxRecorder boxes;
    // The advice reads the device as it is when the open fails, so it is asked for at that moment.
    std::unique_ptr<DeniedAccess> denied;
    if (how == QLatin1String("denied")) {
        denied = std::make_unique<DeniedAccess>(pty.devicePath());
        if (!denied->failure().isEmpty())
            QSKIP(qPrintable(QStringLiteral("cannot refuse a device to this process: ") + denied->failure()));
    }
    OpenFailure failure;
    QVERIFY(!commFun.ComOpen(3, ports.devicePath(3), &failure));
    const QString advice = OpenFailureAdvice(failure, english);
    const QString group = denied ? denied->group() : QString();
    denied.reset();

    QCOMPARE(boxes.texts(), QStringList{kOpenFail}); // the library's own text is unchanged
    QCOMPARE(int(failure.refusal), refusal);
    QCOMPARE(failure.device, path);
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
    boxes.clear();
    OpenFailure after{OpenRefusal::Other, path};
    QVERIFY(commFun.ComOpen(3, ports.devicePath(3), &after));
    QCOMPARE(int(after.refusal), int(OpenRefusal::None));
    QVERIFY(boxes.boxes.isEmpty());
}

void SerialPortTest::closedPortMessages()
{
    BoxRecorder boxes;
    QVERIFY(!commFun.ComWrite(4, QByteArray("x"), 1));
    QCOMPARE(boxes.texts(), QStringList{kWriteNotOpen});
    QCOMPARE(boxes.boxes.first().kind, BoxKind::Warning);

    boxes.clear();
    QVERIFY(!commFun.ComClose(4));
    QCOMPARE(boxes.texts(), QStringList{kCloseFail});

    boxes.clear();
    commFun.ComSetFormat(4, 12, 3, 0, 0);
    QCOMPARE(boxes.texts(), QStringList{kFormatNotOpen});

    boxes.clear();
    QCOMPARE(commFun.ComRead(4), QByteArray()); // a poll of a closed port is silent
    QVERIFY(sio_iqueue(sio, 4) <= 0);
    QCOMPARE(boxes.texts(), QStringList());

    // Closed after being open: the same answers.
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(4, pty.slavePath());
    QVERIFY(commFun.ComOpen(4, ports.devicePath(4)));
    QVERIFY(commFun.ComClose(4));
    QVERIFY(!commFun.ComWrite(4, QByteArray("x"), 1));
    QVERIFY(!commFun.ComClose(4));
    QCOMPARE(boxes.texts(), (QStringList{kWriteNotOpen, kCloseFail}));
    // ...and it can be opened again.
    boxes.clear();
    QVERIFY(commFun.ComOpen(4, ports.devicePath(4)));
    QCOMPARE(boxes.texts(), QStringList());
}

void SerialPortTest::outOfRangePortNumbers()
{
    BoxRecorder boxes;
    for (const int port : {0, 37, -1}) {
        boxes.clear();
        QVERIFY(!commFun.ComOpen(port, ports.devicePath(port)));
        QCOMPARE(boxes.texts(), QStringList{kOpenFail});
        QCOMPARE(commFun.ComRead(port), QByteArray());
        QCOMPARE(sio_write(sio, port, nullptr, 0), SIO_BADPORT);
        QCOMPARE(sio_close(sio, port), SIO_BADPORT);
    }
}

void SerialPortTest::layerRejectsBadArguments()
{
    Pty pty;
    QVERIFY(pty.isValid());
    ports.setDevicePath(1, pty.slavePath());
    QCOMPARE(sio_open(sio, 1, ports.devicePath(1)), SIO_OK);
    char buf[4] = {'a', 'b', 'c', 'd'};
    QCOMPARE(sio_write(sio, 1, nullptr, 4), SIO_BADPARM);
    QCOMPARE(sio_write(sio, 1, buf, -1), SIO_BADPARM);
    QCOMPARE(sio_read(sio, 1, nullptr, 4), SIO_BADPARM);
    QCOMPARE(sio_read(sio, 1, buf, -1), SIO_BADPARM);
    QCOMPARE(sio_read(sio, 1, buf, 0), 0);
    QCOMPARE(sio_write(sio, 1, buf, 0), 0);
    QCOMPARE(sio_ioctl(sio, 1, 12, 3), SIO_OK);
    QCOMPARE(sio_close(sio, 1), SIO_OK);
    QCOMPARE(sio_ioctl(sio, 1, 12, 3), SIO_BADPORT);
    QCOMPARE(sio_read(sio, 1, buf, 4), SIO_BADPORT);
    QCOMPARE(sio_close(sio, 1), SIO_BADPORT);
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
    BoxRecorder boxes;
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    commFun.ComSetFormat(1, 16, 3, 0, 0);
    QVERIFY(commFun.ComWrite(1, QByteArray("AT\r\n"), 4));
    QCOMPARE(pty.read(4), QByteArray("AT\r\n"));

    const int descriptors = openDescriptorCount();
    pty.closeMaster();
    if (eventLoop) // the port's notifier fires on the hung-up device: the layer closes the port itself
        QTRY_VERIFY_WITH_TIMEOUT(openDescriptorCount() < descriptors - 1, 5000); // more than the master

    QCOMPARE(commFun.ComRead(1), QByteArray());
    QVERIFY(sio_iqueue(sio, 1) < 0);
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(!commFun.ComWrite(1, QByteArray("AT\r\n"), 4));
    commFun.ComSetFormat(1, 16, 3, 0, 0);
    QCOMPARE(boxes.texts(), (QStringList{kWriteNotOpen, kFormatNotOpen}));

    // Closing the dead port succeeds once, so the dialog does not keep it marked open.
    boxes.clear();
    QVERIFY(commFun.ComClose(1));
    QVERIFY(!commFun.ComClose(1));
    QVERIFY(!commFun.ComOpen(1, ports.devicePath(1))); // the device is gone
    QCOMPARE(boxes.texts(), (QStringList{kCloseFail, kOpenFail}));
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
    BoxRecorder boxes;
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    commFun.ComSetFormat(1, 13, 3, stopBits == 4 ? 0 : 4, 0); // start from the other settings
    commFun.ComSetFormat(1, baud, 3, stopBits, 0);
    const termios line = pty.slaveSettings();
    QTEST(int(cfgetospeed(&line)), "speed");
    QTEST((line.c_cflag & CSTOPB) != 0, "twoStop");
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(boxes.texts(), QStringList());
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
    BoxRecorder boxes; // a pty cannot switch parity on, so some of these changes are reported
    QVERIFY(commFun.ComOpen(1, ports.devicePath(1)));
    commFun.ComSetFormat(1, 12, 3, 0, first);
    QVERIFY((pty.slaveSettings().c_cflag & CMSPAR) != 0); // mark/space is set on the line
    commFun.ComSetFormat(1, 12, 3, 0, second);
    const termios line = pty.slaveSettings();
    QCOMPARE((line.c_cflag & CMSPAR) != 0, stickParity);
    if (oddFlag >= 0)
        QCOMPARE((line.c_cflag & PARODD) != 0, oddFlag == 1);
}

QTEST_GUILESS_MAIN(SerialPortTest)
#include "test_serialport.moc"
