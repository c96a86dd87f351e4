// The main window's start-up, its mode buttons on a real (pseudo-terminal) serial port, the console
// lines, the status texts in both languages and the names screen readers hear.

#include "links/TcpConnection.h"
#include "support/LoopbackServer.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/CommandDispatch.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTcpSocket>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleFollowsBrandAndLanguage_data();
    void titleFollowsBrandAndLanguage();
    void savedSerialPortIsOpenOnceTheWindowIsUp();
    void modeButtonsWriteExactBytes_data();
    void modeButtonsWriteExactBytes();
    void hexLoggingAddsHexLine();
    void statusTextsOnEveryLinkAndLanguage_data();
    void statusTextsOnEveryLinkAndLanguage();
    void writeWithoutOpenPortLogsNothing();
    void zeroBytesReachTheWireWhole();
    void layoutAndNames();
    void statusPanelsReadTheirText_data();
    void statusPanelsReadTheirText();
    void pagesShowTheirWholeWidth_data();
    void pagesShowTheirWholeWidth();
    void executableRunsUntilClosed();
};

void MainWindowTest::titleFollowsBrandAndLanguage_data()
{
    QTest::addColumn<QByteArray>("ver");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<bool>("aboutVisible");
    QTest::newRow("9999 EN") << QByteArray("[Ver]\r\nCEO=EN\r\nOri=9999\r\n")
                             << "QX5120 WiFi Module Setting Software V2.14" << kMakerNameEnglish << true;
    QTest::newRow("9999 CN") << QByteArray("[Ver]\r\nCEO=CN\r\nOri=9999\r\n")
                             << "QX5120 WiFi模块配置软件 V2.14" << kMakerNameChinese << true;
    QTest::newRow("1 EN") << QByteArray("[Ver]\r\nCEO=EN\r\nOri=1\r\n[info]\r\nCO=Acme\r\n")
                          << "WiFi Module Setting Software V2.14"
                          << "Acme" << false;
    QTest::newRow("1 CN") << QByteArray("[Ver]\r\nCEO=CN\r\nOri=1\r\n") << "WiFi模块配置软件 V2.14"
                          << kMakerNameChinese << false;
    // The title tests for "EN", messages for "CN": any other value gives a Chinese title.
    QTest::newRow("1 xx") << QByteArray("[Ver]\r\nCEO=xx\r\n") << "WiFi模块配置软件 V2.14"
                          << kMakerNameChinese << false;
}

void MainWindowTest::titleFollowsBrandAndLanguage()
{
    QFETCH(QByteArray, ver);
    QFETCH(QString, title);
    QFETCH(QString, maker);
    QFETCH(bool, aboutVisible);
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), ver));
    auto form = makeMainWindow();
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->statusPanel(0), maker);
    QCOMPARE(control<QAction>(*form, "aboutAction")->isVisible(), aboutVisible);
    // Boxes carry the product's title, without the version: the serial library's boxes of the failed
    // open at start-up (they have no parent window) as well as the window's own.
    control<QAction>(*form, "aboutAction")->trigger();
    QVERIFY(boxes.boxes.size() >= 3);
    for (const BoxRequest &box : std::as_const(boxes.boxes))
        QCOMPARE(box.title, title.chopped(QStringLiteral(" V2.14").size()));
}

void MainWindowTest::savedSerialPortIsOpenOnceTheWindowIsUp()
{
    Pty pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(
        QStringLiteral("/nonexistent/tty"),
        "[info]\r\nCOM=3\r\nBaudRate=9\r\n[Ports]\r\nCOM3=" + pty.slavePath().toUtf8() + "\r\n"));
    // As at a real start: the window shows, then its event loop opens the port.
    auto form = std::make_unique<MainWindow>(
        nullptr, WindowStart{QString(), 0, QStringLiteral("/nonexistent/qxtest-ttyS%1")});
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->statusPanel(1), QStringLiteral("COM3,115200,NONE,8,1"));
    QVERIFY(form->portDialog()->portOpen(3));
    QCOMPARE(form->portDialog()->comPort(), 3);
    QVERIFY(boxes.boxes.isEmpty());
    const termios tio = pty.slaveSettings();
    QCOMPARE(cfgetospeed(&tio), speed_t(B115200));
    QCOMPARE(int(tio.c_cflag & CSIZE), int(CS8));
    QVERIFY(!(tio.c_cflag & CSTOPB));
}

void MainWindowTest::modeButtonsWriteExactBytes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("console");
    QTest::newRow("+++") << "enterSettingButton" << QByteArray("+++") << 0 << "Setting Enter AT mode......"
                         << "正在设置进入AT配置模式......"
                         << "\nCOM Send:+++";
    QTest::newRow("AT") << "atButton" << QByteArray("AT\r\n") << 1 << "Setting AT test......"
                        << "正在设置AT测试......"
                        << "\nCOM Send:AT\n";
    QTest::newRow("data mode") << "enterDataButton" << QByteArray("AT+++\r\n") << 2
                               << "Setting Enter Data mode......"
                               << "正在设置进入数传模式......"
                               << "\nCOM Send:AT+++\n";
}

void MainWindowTest::modeButtonsWriteExactBytes()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, wire);
    QFETCH(int, code);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QFETCH(QString, console);
    for (const char *language : {"EN", "CN"}) {
        Pty pty;
        BoxRecorder boxes;
        WorkDir dir(WorkDir::testConfig(pty.slavePath(), QByteArray("[Ver]\r\nCEO=") + language + "\r\n"));
        auto form = makeMainWindow();
        form->session().cmdType = -1;
        QTest::mouseClick(control<QPushButton>(*form, button), Qt::LeftButton);
        QByteArray got = pty.read(int(wire.size()));
        got += sentBeforeSentinel(*form, pty);
        QCOMPARE(got, wire); // nothing more than the command
        QCOMPARE(form->session().cmdType, code);
        QCOMPARE(form->statusPanel(2), QLatin1String(language) == QLatin1String("EN") ? english : chinese);
        QCOMPARE(form->console()->toPlainText(), console);
        QVERIFY(boxes.boxes.isEmpty());
    }
}

void MainWindowTest::hexLoggingAddsHexLine()
{
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Program]\r\nShowHEX=1\r\n"));
    auto form = makeMainWindow();
    QVERIFY(form->settings().showHex);
    QTest::mouseClick(control<QPushButton>(*form, "atButton"), Qt::LeftButton);
    QCOMPARE(pty.read(4), QByteArray("AT\r\n"));
    const QStringList lines = form->console()->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines, (QStringList{QString(), QStringLiteral("COM Send:AT"), QString(),
                                 QStringLiteral("HEX:41 54 0D 0A ")}));
}

void MainWindowTest::statusTextsOnEveryLinkAndLanguage_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("status");
    QTest::newRow("serial EN") << 0 << "EN"
                               << "Setting AT test......";
    QTest::newRow("serial CN") << 0 << "CN"
                               << "正在设置AT测试......";
    QTest::newRow("LAN EN") << 1 << "EN"
                            << "Setting AT test(LAN)......";
    QTest::newRow("LAN CN") << 1 << "CN"
                            << "正在通过局域网设置AT测试......";
    QTest::newRow("WAN EN") << 2 << "EN"
                            << "Setting AT test(WAN)......";
    QTest::newRow("WAN CN") << 2 << "CN"
                            << "正在通过互联网设置AT测试......";
    QTest::newRow("unknown link") << 7 << "EN"
                                  << "";
}

void MainWindowTest::statusTextsOnEveryLinkAndLanguage()
{
    QFETCH(int, link);
    QFETCH(QString, language);
    QFETCH(QString, status);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath()));
    auto form = makeMainWindow();
    LoopbackServer server;
    if (link == 1 || link == 2) { // a connected link: the command goes out and its progress shows
        form->tcpConnection()->open(QStringLiteral("127.0.0.1"), server.port());
        QTRY_VERIFY_WITH_TIMEOUT(form->tcpConnection()->isConnected(), 5000);
    }
    form->settings().language = language;
    form->session().route.linkType = link;
    form->setStatusPanel(2, QString());
    QTest::mouseClick(control<QPushButton>(*form, "atButton"), Qt::LeftButton);
    QCOMPARE(form->statusPanel(2), status);
    QCOMPARE(form->session().cmdType, 1);

    // A read records the type code itself and words its text as a read.
    QTest::mouseClick(control<QPushButton>(*form, "workModeReadButton"), Qt::LeftButton);
    QCOMPARE(form->session().cmdType, 118);
    if (link <= 2)
        QVERIFY(form->statusPanel(2).contains(language == QLatin1String("EN")
                                                  ? QStringLiteral("Reading work mode")
                                                  : QStringLiteral("读取工作模式")));
}

void MainWindowTest::writeWithoutOpenPortLogsNothing()
{
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qx-no-such-tty"), "[Ver]\r\nCEO=EN\r\n"));
    auto form = makeMainWindow();
    // The failed open at start-up reports itself and start-up goes on.
    QCOMPARE(boxes.texts(),
             (QStringList{QStringLiteral("Open the COM port fail or the COM port be used or not exist!"),
                          QStringLiteral("Open COM1 Fail！")}));
    QCOMPARE(form->statusPanel(1), QStringLiteral("Open COM1 Fail！"));
    boxes.clear();
    QTest::mouseClick(control<QPushButton>(*form, "atButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("The COM Port NOT opened!")});
    QCOMPARE(boxes.boxes.first().kind, BoxKind::Warning);
    QCOMPARE(form->console()->lineCount(), 0);
    QCOMPARE(form->statusPanel(2), QStringLiteral("Setting AT test......")); // set all the same
}

void MainWindowTest::zeroBytesReachTheWireWhole()
{
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath()));
    auto form = makeMainWindow();
    const QByteArray data("A\0B\0\0C\xff", 7);
    QVERIFY(form->dispatch().sendSerial(data));
    QCOMPARE(pty.read(7), data);
    QCOMPARE(form->console()->toPlainText(), QStringLiteral("\nCOM Send:A␀B␀␀C") + QChar(0xFFFD));
}

void MainWindowTest::layoutAndNames()
{
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    auto form = makeMainWindow();
    QCOMPARE(form->size(), QSize(1062, 740));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->size(), QSize(1062, 740)); // tall pages scroll; they do not stretch the window
    QCOMPARE(control<QTabWidget>(*form, "pages")->count(), 4);
    QCOMPARE(control<QTabWidget>(*form, "pages")->currentIndex(), 0);
    for (QWidget *w : std::initializer_list<QWidget *>{
             control<QLineEdit>(*form, "lanIpEdit"), control<QLineEdit>(*form, "lanPortEdit"),
             control<QPushButton>(*form, "lanConnectButton"), control<QLineEdit>(*form, "wanIpEdit"),
             control<QLineEdit>(*form, "wanPortEdit"), control<QPushButton>(*form, "wanConnectButton"),
             control<QPushButton>(*form, "targetIdButton")})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(control<QRadioButton>(*form, "serialLinkRadio")->isChecked());
    // Every control is found by a stable name.
    for (QPushButton *b : form->findChildren<QPushButton *>())
        QVERIFY2(!b->objectName().isEmpty(), qPrintable(b->text()));
    // Clearing the console empties it whatever it holds.
    form->console()->addLine(QStringLiteral("x"));
    QTest::mouseClick(control<QPushButton>(*form, "clearConsoleButton"), Qt::LeftButton);
    QCOMPARE(form->console()->lineCount(), 0);
}

void MainWindowTest::statusPanelsReadTheirText_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QStringList>("roles");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("sending");
    QTest::addColumn<QString>("done");
    QTest::newRow("CN") << QByteArray("CN") << QStringList{"制造商", "连接状态", "操作状态"}
                        << kMakerNameChinese << "正在设置AT测试......"
                        << "操作完成！";
    QTest::newRow("EN") << QByteArray("EN") << QStringList{"Maker", "Link state", "Operation state"}
                        << kMakerNameEnglish << "Setting AT test......"
                        << "Operate complete!";
}

// A screen reader reads each status panel's text as its name, and what the panel is for as its
// description.
void MainWindowTest::statusPanelsReadTheirText()
{
    QFETCH(QByteArray, language);
    QFETCH(QStringList, roles);
    QFETCH(QString, maker);
    QFETCH(QString, sending);
    QFETCH(QString, done);
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=" + language + "\r\nOri=9999\r\n"));
    auto form = makeMainWindow();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const char *names[] = {"makerPanel", "linkStatePanel", "operationPanel"};
    QAccessibleInterface *panels[3] = {};
    for (int i = 0; i < 3; ++i) {
        panels[i] = QAccessible::queryAccessibleInterface(control<QLabel>(*form, QLatin1String(names[i])));
        QVERIFY2(panels[i], names[i]);
        QCOMPARE(panels[i]->text(QAccessible::Description), roles.at(i));
        QCOMPARE(panels[i]->parent()->role(), QAccessible::StatusBar);
    }
    QCOMPARE(panels[0]->text(QAccessible::Name), maker);
    QCOMPARE(panels[1]->text(QAccessible::Name), QStringLiteral("COM1,115200,NONE,8,1")); // opened at start
    QTest::mouseClick(control<QPushButton>(*form, "atButton"), Qt::LeftButton);
    QCOMPARE(panels[2]->text(QAccessible::Name), sending);
    QCOMPARE(pty.read(4), QByteArray("AT\r\n"));
    QVERIFY(pty.write("\r\nOK\r\n"));
    QTRY_COMPARE(panels[2]->text(QAccessible::Name), done);
}

void MainWindowTest::pagesShowTheirWholeWidth_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::newRow("CN") << QByteArray("CN");
    QTest::newRow("EN") << QByteArray("EN"); // wider captions, another font
}

void MainWindowTest::pagesShowTheirWholeWidth()
{
    QFETCH(QByteArray, language);
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=" + language + "\r\n"));
    auto form = makeMainWindow();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    // At the designed size every page shows its whole width beside the console; only height scrolls.
    for (int i = control<QTabWidget>(*form, "pages")->count() - 1; i >= 0; --i) {
        control<QTabWidget>(*form, "pages")->setCurrentIndex(i);
        auto *scroll = qobject_cast<QScrollArea *>(control<QTabWidget>(*form, "pages")->widget(i));
        QVERIFY(scroll != nullptr && scroll->widget() != nullptr);
        QTRY_VERIFY2(scroll->viewport()->width() >= scroll->widget()->sizeHint().width(),
                     qPrintable(scroll->objectName()));
    }
    QVERIFY2(
        form->console()->width() >= 150,
        qPrintable(QStringLiteral("console %1 px wide; the window's face is %2 (English needs a face with "
                                  "Arial's metrics: scripts/deps.sh installs fonts-liberation2)")
                       .arg(form->console()->width())
                       .arg(QFontInfo(form->font()).family())));
    // List boxes whose items the language replaces are wide enough for the new items.
    for (QComboBox *box : form->findChildren<QComboBox *>())
        QVERIFY2(!box->isVisible() || box->width() >= box->sizeHint().width(), qPrintable(box->objectName()));
}

void MainWindowTest::executableRunsUntilClosed()
{
    const QString exe = qEnvironmentVariable("QXSETUP");
    if (exe.isEmpty() || !QFile::exists(exe))
        QFAIL("QXSETUP does not name the built executable");
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(exe, {});
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500)); // still running: it waits to be closed
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
