// Fault drills: the whole window against devices and peers that misbehave, on pseudo-terminals, the
// module simulator and loopback only. Each drill states what the user must see and what must not be
// lost. How long the event loop stalls under such load is measured in bench/ (links_bench), not here.
// Faults that other suites already drill are listed in docs/reliability.md.

#include "links/ReplyGatherer.h"
#include "links/TcpConnection.h"
#include "protocol/IniProfile.h"
#include "support/ImmutableFile.h"
#include "support/Pty.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"
#include "window/CommandDispatch.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kWait = 10000;
// Longest the event loop may stand still before a drill calls it a hang.
constexpr auto kModuleId = "12345678901";

const QString kOpenFail = QStringLiteral("Open the COM port fail or the COM port be used or not exist!");
const QString kWriteNotOpen = QStringLiteral("The COM Port NOT opened!");

// The two boxes of a saved serial port that cannot be opened at start-up: the layer's, then the dialog's.
QStringList openFailBoxes(bool english, int com = 1)
{
    return {kOpenFail,
            (english ? QStringLiteral("Open COM%1 Fail！") : QStringLiteral("打开COM%1失败！")).arg(com)};
}

QString received(const MainWindow &form, const QString &prefix)
{
    QString all;
    for (const QString &line : form.console()->lines()) {
        if (line.startsWith(prefix))
            all += line.mid(prefix.size());
    }
    return all;
}

// The bytes of every TCP receive, from the HEX line that follows each receive line.
QByteArray receivedBytes(const MainWindow &form)
{
    QByteArray hex;
    bool inReceive = false;
    for (const QString &line : form.console()->lines()) {
        if (line.startsWith(QLatin1String("TCP Receive:"))) {
            inReceive = true;
        } else if (inReceive && line.startsWith(QLatin1String("HEX:"))) {
            hex += line.mid(4).toLatin1();
            inReceive = false;
        } else if (line.startsWith(QLatin1String("TCP Send:"))) {
            inReceive = false;
        }
    }
    return QByteArray::fromHex(hex);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A loopback listener that never accepts and never reads, with a tiny receive buffer: the connection
// is made by the kernel, then the peer's buffers fill and stay full, like a module that hangs.
class DeafListener {
public:
    DeafListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int small = 4096;
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr *>(&address), length) == 0 && ::listen(fd_, 4) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~DeafListener()
    {
        if (peer_ >= 0)
            ::close(peer_);
        ::close(fd_);
    }
    DeafListener(const DeafListener &) = delete;
    DeafListener &operator=(const DeafListener &) = delete;
    quint16 port() const { return port_; }
    // The module wakes up: takes the connection and reads whatever is waiting now.
    QByteArray readSome()
    {
        if (peer_ < 0)
            peer_ = ::accept(fd_, nullptr, nullptr);
        char buffer[65536];
        const ssize_t n = ::recv(peer_, buffer, sizeof buffer, MSG_DONTWAIT);
        return n > 0 ? QByteArray(buffer, n) : QByteArray();
    }

private:
    int fd_ = -1;
    int peer_ = -1;
    quint16 port_ = 0;
};
} // namespace

class DrillsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void serialDeviceVanishesMidReply();
    void serialPortBusyAtStartUp();
    void serialFloodLosesNothing();
    void tcpPeerThatNeverReads();
    void relayTornFramesAndGarbage();
    void configFileFaults_data();
    void configFileFaults();
};

// The module is unplugged while it answers. Expected: what arrived before is delivered as one reply
// (nothing lost), no box while the device is gone, no timer left running, and the next command
// reports the closed port.
void DrillsTest::serialDeviceVanishesMidReply()
{
    Pty pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=EN\r\n"));
    auto form = makeMainWindow();
    QVERIFY(form->portDialog()->portOpen(1));

    form->session().cmdType = 98; // version query: the field takes the reply as received
    const QByteArray firstHalf = "QX5120 V2.";
    QVERIFY(pty.write(firstHalf));
    QTRY_COMPARE_WITH_TIMEOUT(form->serialGatherer()->pending(), firstHalf, kWait);
    pty.closeMaster();

    QTRY_COMPARE_WITH_TIMEOUT(form->lineEdit(Field::Version)->text(), QString::fromLatin1(firstHalf), kWait);
    QCOMPARE(received(*form, QStringLiteral("COM Receive:")), QString::fromLatin1(firstHalf));
    QCOMPARE(form->statusPanel(2), QStringLiteral("Operate complete!"));
    QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.texts().join(QLatin1Char('|'))));
    QVERIFY(!form->serialGatherer()->quietTimer()->isActive());

    QTest::mouseClick(control<QPushButton>(*form, "atButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{kWriteNotOpen});
    QVERIFY(!form->console()->lines().join(QLatin1Char('|')).contains(QLatin1String("COM Send:")));
}

// Another program holds the saved port. Expected: start-up shows the open-failure box once, the port
// stays closed, and the other program keeps receiving the device's bytes (the tool steals none).
void DrillsTest::serialPortBusyAtStartUp()
{
    Pty pty;
    QVERIFY(pty.isValid());
    QSerialPort otherProgram;
    otherProgram.setPortName(pty.slavePath());
    QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=EN\r\n"));
    auto form = makeMainWindow();

    QCOMPARE(boxes.texts(), openFailBoxes(true));
    QCOMPARE(form->statusPanel(1), QStringLiteral("Open COM1 Fail！"));
    QVERIFY(!form->portDialog()->portOpen(1));
    QVERIFY(pty.write("+ok\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(otherProgram.bytesAvailable(), qint64(5), kWait);
    QCOMPARE(otherProgram.readAll(), QByteArray("+ok\r\n"));
    QTest::qWait(300); // two quiet times: a reply the tool had taken would be delivered by now
    QVERIFY(received(*form, QStringLiteral("COM Receive:")).isEmpty());
    QCOMPARE(boxes.boxes.size(), 2);
}

// A device that streams without a pause. Expected: every byte reaches the parser, in order, however the
// quiet-time rule cuts the stream into replies, and the window keeps reacting.
void DrillsTest::serialFloodLosesNothing()
{
    Pty pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=EN\r\n"));
    auto form = makeMainWindow();
    QVERIFY(form->portDialog()->portOpen(1));
    form->session().cmdType = 1; // "AT": no reply handling of its own, the flood only passes through

    // 512 KiB of printable bytes without line breaks, so each reply is one console line of its bytes.
    QByteArray flood;
    for (int i = 0; flood.size() < 512 * 1024; ++i)
        flood += QByteArray::number(i) + ' ';
    flood.truncate(512 * 1024);
    qsizetype sent = 0;
    while (sent < flood.size()) {
        if (pty.pendingForProgram() < 16384) {
            const QByteArray piece = flood.mid(sent, 4096);
            QVERIFY(pty.write(piece));
            sent += piece.size();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QTRY_COMPARE_WITH_TIMEOUT(received(*form, QStringLiteral("COM Receive:")).size(), flood.size(), 30000);
    QCOMPARE(received(*form, QStringLiteral("COM Receive:")), QString::fromLatin1(flood));
    QVERIFY(boxes.boxes.isEmpty());
}

// A module that accepts the connection and then never reads (hung, or its buffers full). Expected: every
// send returns at once and is logged, no box, no error text, the connection stays up, and once the
// module reads again it gets every byte in order.
void DrillsTest::tcpPeerThatNeverReads()
{
    DeafListener module;
    QVERIFY(module.port() != 0);
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                    "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=1\r\nTCPPort=" +
                                        QByteArray::number(module.port()) + "\r\n"));
    auto form = makeMainWindow();
    boxes.clear(); // the saved serial port does not exist
    QTRY_COMPARE_WITH_TIMEOUT(form->tcpConnection()->state(), QAbstractSocket::ConnectedState, kWait);
    // Small kernel buffers on our side too, so that the data backs up into the tool within a mebibyte.
    auto *socket = form->tcpConnection()->findChild<QAbstractSocket *>(QStringLiteral("tcpSocket"));
    QVERIFY(socket);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);

    QByteArray expected;
    for (int i = 0; i < 32; ++i) {
        const QByteArray data = QByteArray(32 * 1024, char('a' + i % 26)) + "\r\n";
        form->dispatch().sendTcp(data);
        expected += data;
        QCoreApplication::processEvents();
    }
    QCOMPARE(form->console()->lines().filter(QStringLiteral("TCP Send:")).size(), 32);
    QVERIFY(form->statusPanel(2) != QStringLiteral("Send Error(TCP)!"));
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::ConnectedState);
    QVERIFY(socket->bytesToWrite() > 0); // the module really stopped reading
    QVERIFY(boxes.boxes.isEmpty());

    QByteArray got;
    QTRY_VERIFY_WITH_TIMEOUT((got += module.readSome()).size() >= expected.size(), 30000);
    QCOMPARE(got, expected);
}

// The relay passes on module reply frames torn into pieces, or with junk in front. Received data has no
// framing, so a torn frame reaches the parser as pieces that are no frame. Expected: no crash, no box,
// the IO row left as it was, every byte shown in the console; and a whole frame still decodes.
void DrillsTest::relayTornFramesAndGarbage()
{
    const QByteArray garbage = QByteArray::fromHex("00FF7E00FE"); // what the simulator puts in front
    QByteArray whole;
    for (const QStringList &faults : {QStringList{},
                                      QStringList{QStringLiteral("--split"), QStringLiteral("3"),
                                                  QStringLiteral("--piece-delay"), QStringLiteral("400")},
                                      QStringList{QStringLiteral("--garbage")}}) {
        const QString name = faults.isEmpty() ? QStringLiteral("whole") : faults.first();
        SimProcess sim;
        QString why;
        if (!sim.start(QStringList{QStringLiteral("--relay"), QStringLiteral("127.0.0.1:0"),
                                   QStringLiteral("--module"),
                                   QLatin1String(kModuleId) + QStringLiteral(":0000"),
                                   QStringLiteral("--reply-frames")} +
                           faults,
                       &why))
            QFAIL(qPrintable(why));
        BoxRecorder boxes;
        WorkDir dir(WorkDir::testConfig(
            QStringLiteral("/nonexistent/tty"),
            "[Ver]\r\nCEO=EN\r\n[Program]\r\nShowHEX=1\r\n[Network]\r\nCOMType=2\r\n"
            "TargetGPRSID=" +
                QByteArray(kModuleId) +
                "\r\nTargetZone=0000\r\nTCPPort2=" + QByteArray::number(sim.relayPort()) + "\r\n"));
        auto form = makeMainWindow();
        boxes.clear();
        QTRY_COMPARE_WITH_TIMEOUT(form->tcpConnection()->state(), QAbstractSocket::ConnectedState, kWait);

        const IoRowControls io = ioRow(*form, 3);
        io.mode->setCurrentIndex(2);
        io.pull->setCurrentIndex(0);
        form->console()->clearLog();
        QTest::mouseClick(io.readButton, Qt::LeftButton);
        const QString done =
            QStringLiteral("Remoete read WIFI module:%1 IO successfully!").arg(QLatin1String(kModuleId));
        if (name == QLatin1String("whole")) {
            QTRY_VERIFY_WITH_TIMEOUT(form->console()->lines().contains(done), kWait);
            QVERIFY(io.level->currentIndex() >= 0);
            whole = receivedBytes(*form);
            QVERIFY(whole.startsWith("\xA8\x81"));
        } else {
            // The pieces, or the junk and the frame, all reach the console: nothing the relay sent is lost.
            const QByteArray expected = name == QLatin1String("--garbage") ? garbage + whole : whole;
            QTRY_COMPARE_WITH_TIMEOUT(receivedBytes(*form), expected, kWait);
            if (name == QLatin1String("--split"))
                QVERIFY(form->console()->lines().filter(QStringLiteral("TCP Receive:")).size() > 1);
            // Each piece reaches the parser once the quiet time has passed after it: pieces further apart
            // than that are separate replies (the delay leaves a loaded machine a wide margin).
            QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel(2), QStringLiteral("Operate complete!"), kWait);
            QVERIFY(!form->console()->lines().contains(done));
            QCOMPARE(io.mode->currentIndex(), 2);
            QCOMPARE(io.pull->currentIndex(), 0);
            QCOMPARE(io.level->currentIndex(), -1); // emptied by the read, not filled by the pieces
        }
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.texts().join(QLatin1Char('|'))));
        QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::ConnectedState);
    }
}

void DrillsTest::configFileFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("com");      // the COM port start-up uses
    QTest::addColumn<bool>("english"); // the language start-up chose
    QTest::newRow("read-only (immutable)") << QStringLiteral("immutable") << 4 << true;
    QTest::newRow("binary") << QStringLiteral("binary") << 1 << false;
    // Not read at all: every default, Chinese included, although the file says EN.
    QTest::newRow("very large") << QStringLiteral("large") << 1 << false;
}

// Config.ini that cannot be written, that is binary junk, or that is too large to read. Expected:
// start-up on the saved or default settings without a box about the file; on closing, a file that
// cannot be written shows "Unable to write to <path>" once and stays as it was; junk is kept byte for
// byte around the saved keys.
void DrillsTest::configFileFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, com);
    QFETCH(bool, english);
    BoxRecorder boxes;
    WorkDir dir;
    const QString path = dir.configPath();
    QByteArray original;
    if (fault == QLatin1String("immutable")) {
        original =
            WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=EN\r\n[info]\r\nCOM=4\r\n");
    } else if (fault == QLatin1String("binary")) {
        for (int i = 0; i < 8192; ++i)
            original += char((i * 7919 + i / 13) & 0xff);
    } else {
        original = WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=EN\r\n");
        original += QByteArray(IniProfile::kMaxFileSize, ';');
    }
    QVERIFY(writeFile(path, original));
    std::unique_ptr<ImmutableFile> immutable;
    if (fault == QLatin1String("immutable")) {
        immutable = std::make_unique<ImmutableFile>(path);
        if (!immutable->isSet())
            QSKIP(qPrintable(ImmutableFile::unavailableReason()));
    }

    auto form = makeMainWindow();
    // The only boxes at start-up are the serial port's: the saved or default COM1 does not exist here.
    QCOMPARE(boxes.texts(), openFailBoxes(english, com));
    QCOMPARE(form->portDialog()->comPort(), com);
    QCOMPARE(form->chinese(), !english);
    boxes.clear();
    form->show();
    QVERIFY(form->close());

    const QByteArray after = readFile(path);
    if (fault == QLatin1String("binary")) {
        QVERIFY(boxes.boxes.isEmpty());
        // Every byte of the old file is still there, in order, around the keys the save added.
        qsizetype at = 0;
        for (const char c : original) {
            at = after.indexOf(c, at);
            QVERIFY(at >= 0);
            ++at;
        }
        IniProfile saved;
        QVERIFY(saved.load(path));
        QCOMPARE(saved.readInteger(QStringLiteral("info"), QStringLiteral("BaudRate"), -1), 9);
    } else {
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Unable to write to ") + path});
        QCOMPARE(after.size(), original.size());
        QVERIFY(after == original);
    }
}

QTEST_MAIN(DrillsTest)
#include "test_drills.moc"
