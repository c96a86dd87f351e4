// The IO page: its eight pin rows, the IOCTR commands its buttons put on the wire, the refusals of
// incomplete choices and the status texts on every link in both languages.

#include "links/TcpConnection.h"
#include "support/Frames.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/IoPage.h"
#include "window/MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QString kSentinel = QStringLiteral("untouched");

QByteArray config(const Pty &pty, const char *language)
{
    return WorkDir::testConfig(pty.slavePath(), QByteArray("[Ver]\r\nCEO=") + language + "\r\n");
}

// Presses a row's button the way the user does; rows 5 to 8 have no visible button, so their
// handlers are called the way the button would call them.
void press(MainWindow &form, int row, const QString &op)
{
    const IoRowControls r = ioRow(form, row);
    QPushButton *button = op == QLatin1String("W") ? r.setButton : r.readButton;
    if (!button->isHidden()) {
        QTest::mouseClick(button, Qt::LeftButton);
        return;
    }
    if (op != QLatin1String("W"))
        ioRow(form, row).level->setCurrentIndex(-1);
    form.ioPage().sendIoCommand(row, op);
}

// A loopback peer for the LAN and Internet links, with the form's connection established to it.
struct LoopbackPeer {
    QTcpServer server;
    QTcpSocket *accepted = nullptr;
    QByteArray received;

    bool connect(MainWindow &form)
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            accepted = server.nextPendingConnection();
            QObject::connect(accepted, &QTcpSocket::readyRead, &server,
                             [this] { received += accepted->readAll(); });
        });
        form.tcpConnection()->open(QStringLiteral("127.0.0.1"), server.serverPort());
        return QTest::qWaitFor([&form] { return form.tcpConnection()->isConnected(); }, 5000);
    }
};
} // namespace

class IoControlTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hiddenRowsAndDefaults();
    void serialCommandBytes_data();
    void serialCommandBytes();
    void incompleteChoicesSendNothing_data();
    void incompleteChoicesSendNothing();
    void statusTextsOnEveryLink_data();
    void statusTextsOnEveryLink();
    void networkLinksWrapTheCommand_data();
    void networkLinksWrapTheCommand();
    void unknownLinkSendsNothing();
};

void IoControlTest::hiddenRowsAndDefaults()
{
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(config(pty, "EN"));
    auto form = makeMainWindow();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    for (int n = 1; n <= 8; ++n) {
        const IoRowControls row = ioRow(*form, n);
        // Rows 5 to 8 exist (remote answers fill them) but are never offered.
        for (QWidget *w : std::initializer_list<QWidget *>{row.label, row.pin, row.mode, row.pull, row.level,
                                                           row.setButton, row.readButton})
            QVERIFY2(w->isHidden() == (n >= 5), qPrintable(w->objectName()));
        // Defaults survive the switch of item texts: Output, pull-up, high.
        QCOMPARE(row.mode->currentIndex(), 1);
        QCOMPARE(row.pull->currentIndex(), 0);
        QCOMPARE(row.level->currentIndex(), 1);
    }
}

void IoControlTest::serialCommandBytes_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("pull");
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<int>("levelAfter");
    QTest::newRow("row 1 set, defaults")
        << 1 << "W" << 1 << 0 << 1 << QByteArray("AT+IOCTR=OUW11OUW11\r\n") << 1;
    QTest::newRow("row 2 set Input, 悬浮, 低电平")
        << 2 << "W" << 0 << 1 << 0 << QByteArray("AT+IOCTR=IFW20IFW20\r\n") << 0;
    QTest::newRow("row 3 read, defaults: level cleared")
        << 3 << "R" << 1 << 0 << 1 << QByteArray("AT+IOCTR=OUR3NOUR3N\r\n") << -1;
    QTest::newRow("row 4 read, pull unselected: F")
        << 4 << "R" << 1 << -1 << 1 << QByteArray("AT+IOCTR=OFR4NOFR4N\r\n") << -1;
    QTest::newRow("row 4 read, level already cleared")
        << 4 << "R" << 2 << 0 << -1 << QByteArray("AT+IOCTR=NUR4NNUR4N\r\n") << -1;
    QTest::newRow("row 5 set, hidden row")
        << 5 << "W" << 2 << 1 << 1 << QByteArray("AT+IOCTR=NFW51NFW51\r\n") << 1;
    QTest::newRow("row 8 read, hidden row")
        << 8 << "R" << 0 << 0 << 0 << QByteArray("AT+IOCTR=IUR8NIUR8N\r\n") << -1;
}

void IoControlTest::serialCommandBytes()
{
    QFETCH(int, row);
    QFETCH(QString, op);
    QFETCH(int, mode);
    QFETCH(int, pull);
    QFETCH(int, level);
    QFETCH(QByteArray, wire);
    QFETCH(int, levelAfter);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(config(pty, "EN"));
    auto form = makeMainWindow();
    const IoRowControls r = ioRow(*form, row);
    r.mode->setCurrentIndex(mode);
    r.pull->setCurrentIndex(pull);
    r.level->setCurrentIndex(level);
    form->session().cmdType = -1;
    form->session().lastIoOperation.clear();

    press(*form, row, op);
    QByteArray got = pty.read(int(wire.size()));
    got += sentBeforeSentinel(*form, pty);
    QCOMPARE(got, wire); // the command and nothing more
    QCOMPARE(form->session().cmdType, 12);
    QCOMPARE(form->session().lastIoOperation, op);
    QCOMPARE(r.level->currentIndex(), levelAfter);
    // The command's CR LF shows as one line break.
    QCOMPARE(form->console()->toPlainText(),
             "\nCOM Send:" + QString::fromLatin1(wire.chopped(2)) + QLatin1Char('\n'));
    QVERIFY(boxes.boxes.isEmpty());
}

void IoControlTest::incompleteChoicesSendNothing_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("warning");
    const QString en = QStringLiteral("Please chose options first!");
    const QString cn = QStringLiteral("你还没有选择相关的IO选项！");
    for (const auto &[language, text] : {std::pair{QByteArray("EN"), en}, std::pair{QByteArray("CN"), cn}}) {
        // A read with no answer leaves the level empty; a following set must not invent one.
        QTest::addRow("%s set after unanswered read", language.constData())
            << language << "read first" << 1 << "W" << text;
        QTest::addRow("%s set, level unselected", language.constData())
            << language << "no level" << 2 << "W" << text;
        QTest::addRow("%s set, pull unselected", language.constData())
            << language << "no pull" << 3 << "W" << text;
        // A remote answer with an unknown mode letter leaves the mode box empty: the body would lose
        // a character and shift every field after it.
        QTest::addRow("%s set, mode unselected", language.constData())
            << language << "no mode" << 4 << "W" << text;
        QTest::addRow("%s read, mode unselected", language.constData())
            << language << "no mode" << 1 << "R" << text;
        QTest::addRow("%s row 0", language.constData()) << language << "" << 0 << "W" << text;
        QTest::addRow("%s row 9", language.constData()) << language << "" << 9 << "R" << text;
    }
}

void IoControlTest::incompleteChoicesSendNothing()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, scenario);
    QFETCH(int, row);
    QFETCH(QString, op);
    QFETCH(QString, warning);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(config(pty, language.constData()));
    auto form = makeMainWindow();
    if (scenario == QLatin1String("read first")) {
        press(*form, row, QStringLiteral("R"));
        const QByteArray read = QByteArrayLiteral("AT+IOCTR=OUR1NOUR1N\r\n");
        QCOMPARE(pty.read(int(read.size())), read);
        form->console()->clearLog();
    } else if (scenario == QLatin1String("no level")) {
        ioRow(*form, row).level->setCurrentIndex(-1);
    } else if (scenario == QLatin1String("no pull")) {
        ioRow(*form, row).pull->setCurrentIndex(-1);
    } else if (scenario == QLatin1String("no mode")) {
        ioRow(*form, row).mode->setCurrentIndex(-1);
    }
    form->setStatusPanel(2, kSentinel);
    form->session().cmdType = -1;
    form->session().lastIoOperation.clear();

    if (row >= 1 && row <= 8)
        press(*form, row, op);
    else
        form->ioPage().sendIoCommand(row, op);
    QCOMPARE(boxes.texts(), QStringList{warning});
    QCOMPARE(boxes.boxes.first().kind, BoxKind::Warning);
    QCOMPARE(sentBeforeSentinel(*form, pty), QByteArray());
    QCOMPARE(form->console()->lineCount(), 0);
    QCOMPARE(form->statusPanel(2), kSentinel);
    // The press still decides how the next reply is read.
    QCOMPARE(form->session().cmdType, 12);
    QCOMPARE(form->session().lastIoOperation, op);
}

void IoControlTest::statusTextsOnEveryLink_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("setText");
    QTest::addColumn<QString>("readText");
    QTest::newRow("serial EN") << 0 << QByteArray("EN") << "Write IO1......"
                               << "Read IO3......";
    // The Chinese serial texts say "setting" for reads as well.
    QTest::newRow("serial CN") << 0 << QByteArray("CN") << "正在设置写IO1......"
                               << "正在设置读IO3......";
    QTest::newRow("LAN EN") << 1 << QByteArray("EN") << "Write IO1(LAN)......"
                            << "Read IO3(LAN)......";
    QTest::newRow("LAN CN") << 1 << QByteArray("CN") << "写IO1(LAN)......"
                            << "读IO3(LAN)......";
    QTest::newRow("WAN EN") << 2 << QByteArray("EN") << "Write IO1(WAN)......"
                            << "Read IO3(WAN)......";
    QTest::newRow("WAN CN") << 2 << QByteArray("CN") << "写IO1(WAN)......"
                            << "读IO3(WAN)......";
}

void IoControlTest::statusTextsOnEveryLink()
{
    QFETCH(int, link);
    QFETCH(QByteArray, language);
    QFETCH(QString, setText);
    QFETCH(QString, readText);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(config(pty, language.constData()));
    auto form = makeMainWindow();
    LoopbackPeer peer;
    if (link != 0)
        QVERIFY(peer.connect(*form));
    form->session().route.linkType = link;

    press(*form, 1, QStringLiteral("W"));
    QCOMPARE(form->statusPanel(2), setText);
    press(*form, 3, QStringLiteral("R"));
    QCOMPARE(form->statusPanel(2), readText);
    QCOMPARE(form->session().lastIoOperation, QStringLiteral("R"));
    QCOMPARE(form->session().cmdType, 12);
}

void IoControlTest::networkLinksWrapTheCommand_data()
{
    QTest::addColumn<int>("link");
    QTest::newRow("LAN") << 1;
    QTest::newRow("WAN") << 2;
}

void IoControlTest::networkLinksWrapTheCommand()
{
    QFETCH(int, link);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(config(pty, "EN"));
    auto form = makeMainWindow();
    LoopbackPeer peer;
    QVERIFY(peer.connect(*form));
    form->session().route.linkType = link;
    form->session().route.targetId = QStringLiteral("13800138000");
    form->session().route.targetZone = QStringLiteral("0571");
    form->session().route.targetZoneValid = true;
    form->session().route.localId = QStringLiteral("10000000001");

    press(*form, 1, QStringLiteral("W"));
    const QByteArray command("AT+IOCTR=OUW11OUW11\r\n");
    // LAN: the prefix straight before the text; Internet: a module frame for the target inside a
    // relay frame.
    const QByteArray expected =
        link == 1 ? QByteArray("\xA8\x81\x01", 3) + command
                  : Frames::relay10000000001To13800138000() + Frames::module13800138000Zone0571() + command;
    QTRY_COMPARE_WITH_TIMEOUT(peer.received, expected, 5000);
    QCOMPARE(sentBeforeSentinel(*form, pty), QByteArray()); // nothing went to the serial port
}

void IoControlTest::unknownLinkSendsNothing()
{
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(config(pty, "EN"));
    auto form = makeMainWindow();
    form->session().route.linkType = 7;
    form->setStatusPanel(2, kSentinel);
    press(*form, 1, QStringLiteral("W"));
    QCOMPARE(form->session().cmdType, 12);
    QCOMPARE(form->statusPanel(2), kSentinel);
    QCOMPARE(sentBeforeSentinel(*form, pty), QByteArray());
    QVERIFY(boxes.boxes.isEmpty());
}

QTEST_MAIN(IoControlTest)
#include "test_iocontrol.moc"
