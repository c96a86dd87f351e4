// The serial port dialog: open, close, switching ports, failures and the device behind a COM number.

#include "links/PortMap.h"
#include "support/DeniedAccess.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

class PortDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openingAnotherPortClosesTheFirst();
    void failedOpenKeepsTheOpenPortAndCloseStillWorks();
    void failedOpenLeavesTheOpenPortInUse_data();
    void failedOpenLeavesTheOpenPortInUse();
    void forbiddenDeviceSaysWhy_data();
    void forbiddenDeviceSaysWhy();
    void closeFailureReportsBothTexts();
    void formatChoicesAndTheirCodes();
    void outOfRangeBaudIndexBecomes115200();
    void deviceBehindComNumberIsEditable();
};

namespace {
QByteArray twoPorts(const Pty &a, const Pty &b, const QByteArray &extra = QByteArray())
{
    return WorkDir::testConfig(a.slavePath(), "[Ports]\r\nCOM2=" + b.slavePath().toUtf8() + "\r\n" + extra);
}
} // namespace

void PortDialogTest::openingAnotherPortClosesTheFirst()
{
    Pty com1, com2;
    BoxRecorder boxes;
    WorkDir dir(twoPorts(com1, com2));
    auto form = makeMainWindow();
    SerialPortDialog *dialog = form->portDialog();
    QVERIFY(form->portDialog()->portOpen(1));
    QVERIFY(!control<QPushButton>(*dialog, "openButton")->isEnabled());
    QVERIFY(control<QPushButton>(*dialog, "closeButton")->isEnabled());

    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(1);
    QVERIFY(control<QPushButton>(*dialog, "openButton")->isEnabled());
    QVERIFY(!control<QPushButton>(*dialog, "closeButton")->isEnabled());
    control<QPushButton>(*dialog, "openButton")->click();
    QVERIFY(form->portDialog()->portOpen(2));
    QVERIFY(!form->portDialog()->portOpen(1));
    QCOMPARE(form->portDialog()->comPort(), 2);
    QCOMPARE(form->statusPanel(1), QStringLiteral("COM2,115200,NONE,8,1"));
    QVERIFY(boxes.boxes.isEmpty());

    // Commands now reach the second device only.
    QTest::mouseClick(control<QPushButton>(*form, "atButton"), Qt::LeftButton);
    QCOMPARE(com2.read(4), QByteArray("AT\r\n"));
    QCOMPARE(com1.read(1, 100), QByteArray());

    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(0);
    QVERIFY(control<QPushButton>(*dialog, "openButton")->isEnabled());
    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(1);
    QVERIFY(control<QPushButton>(*dialog, "closeButton")->isEnabled());
}

void PortDialogTest::failedOpenKeepsTheOpenPortAndCloseStillWorks()
{
    Pty com1, com2;
    BoxRecorder boxes;
    WorkDir dir(twoPorts(com1, com2, "[Ver]\r\nCEO=EN\r\n"));
    auto form = makeMainWindow();
    SerialPortDialog *dialog = form->portDialog();
    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(1);
    control<QPushButton>(*dialog, "openButton")->click();
    QVERIFY(form->portDialog()->portOpen(2));

    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(6);
    control<QPushButton>(*dialog, "openButton")->click();
    QCOMPARE(boxes.texts(),
             (QStringList{QStringLiteral("Open the COM port fail or the COM port be used or not exist!"),
                          QStringLiteral("Open COM7 Fail！")}));
    QCOMPARE(form->statusPanel(1), QStringLiteral("Open COM7 Fail！"));
    QCOMPARE(form->portDialog()->comPort(), 2); // the port that is still open
    QVERIFY(form->portDialog()->portOpen(2));

    // Close acts on the port selected in the dialog, so the open COM2 can still be closed.
    boxes.clear();
    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(1);
    QVERIFY(control<QPushButton>(*dialog, "closeButton")->isEnabled());
    control<QPushButton>(*dialog, "closeButton")->click();
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(!form->portDialog()->portOpen(2));
    QCOMPARE(form->statusPanel(1), QStringLiteral("COM2 Closed"));
    QVERIFY(control<QPushButton>(*dialog, "openButton")->isEnabled());
    QVERIFY(!control<QPushButton>(*dialog, "closeButton")->isEnabled());
}

void PortDialogTest::failedOpenLeavesTheOpenPortInUse_data()
{
    QTest::addColumn<QString>("opened"); // how COM3 came to be open, if at all
    QTest::addColumn<int>("saved");      // COM in Config.ini after the window closed
    QTest::newRow("COM3 opened at start-up") << "start-up" << 3;
    QTest::newRow("COM3 opened in the dialog") << "dialog" << 3;
    // With nothing open there is nothing to keep: the failed choice is remembered, as before.
    QTest::newRow("nothing open") << "none" << 7;
}

// COM3 is open and COM7 will not open: commands and replies go on through COM3, the dialog still
// offers COM3 as the open port, and COM3 is what the next start opens.
void PortDialogTest::failedOpenLeavesTheOpenPortInUse()
{
    QFETCH(QString, opened);
    QFETCH(int, saved);
    Pty com3;
    QVERIFY(com3.isValid());
    BoxRecorder boxes;
    const QByteArray startPort = opened == QLatin1String("start-up") ? "3" : "1";
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qx-com1"),
                                    "[Ver]\r\nCEO=EN\r\n[info]\r\nCOM=" + startPort +
                                        "\r\n[Ports]\r\nCOM3=" + com3.slavePath().toUtf8() + "\r\n"));
    auto form = makeMainWindow();
    SerialPortDialog *dialog = form->portDialog();
    if (opened == QLatin1String("dialog")) {
        control<QComboBox>(*dialog, "portBox")->setCurrentIndex(2);
        QTest::mouseClick(control<QPushButton>(*dialog, "openButton"), Qt::LeftButton);
    }
    QCOMPARE(form->portDialog()->portOpen(3), opened != QLatin1String("none"));
    boxes.clear();

    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(6); // COM7: no device behind it
    QTest::mouseClick(control<QPushButton>(*dialog, "openButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts().value(1), QStringLiteral("Open COM7 Fail！"));
    QCOMPARE(form->statusPanel(1), QStringLiteral("Open COM7 Fail！"));
    boxes.clear();
    form->console()->clearLog();

    auto *read = control<QPushButton>(*form, "workModeReadButton");
    QVERIFY(read);
    QTest::mouseClick(read, Qt::LeftButton);
    if (opened == QLatin1String("none")) {
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("The COM Port NOT opened!")});
    } else {
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(com3.read(15), QByteArray("AT+WIFIMODE=?\r\n"));
        QCOMPARE(form->console()->lines().value(1), QStringLiteral("COM Send:AT+WIFIMODE=?"));
        // The receive poll reads COM3 too: the answer reaches the work-mode box.
        QVERIFY(com3.write("2\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(form->comboBox(Field::WorkMode)->currentText(), QStringLiteral("AP"), 5000);
        control<QComboBox>(*dialog, "portBox")->setCurrentIndex(2);
        QVERIFY(control<QPushButton>(*dialog, "closeButton")->isEnabled());
        QVERIFY(!control<QPushButton>(*dialog, "openButton")->isEnabled());
    }

    form->close();
    QFile ini(dir.configPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(ini.readAll());
    const QRegularExpression comLine(QStringLiteral("^COM=(\\d+)\r?$"), QRegularExpression::MultilineOption);
    QCOMPARE(comLine.match(text).captured(1), QString::number(saved));
}

void PortDialogTest::forbiddenDeviceSaysWhy_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::newRow("EN") << QByteArray("EN");
    QTest::newRow("CN") << QByteArray("CN");
}

// A device this user may not open: after the dialog's failure text comes the cure on this system,
// naming the group that owns the device. The status bar keeps the short failure text.
void PortDialogTest::forbiddenDeviceSaysWhy()
{
    QFETCH(QByteArray, language);
    const bool english = language == "EN";
    Pty com7;
    QVERIFY(com7.isValid());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qx-com1"),
                                    "[Ver]\r\nCEO=" + language +
                                        "\r\n[Ports]\r\nCOM7=" + com7.slavePath().toUtf8() + "\r\n"));
    auto form = makeMainWindow();
    SerialPortDialog *dialog = form->portDialog();
    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(6);
    boxes.clear();
    QString group;
    {
        const DeniedAccess denied(com7.devicePath());
        if (!denied.failure().isEmpty())
            QSKIP(qPrintable(QStringLiteral("cannot refuse a device to this process: ") + denied.failure()));
        group = denied.group();
        QTest::mouseClick(control<QPushButton>(*dialog, "openButton"), Qt::LeftButton);
    }

    QCOMPARE(boxes.boxes.size(), 2);
    QCOMPARE(boxes.texts().value(0),
             QStringLiteral("Open the COM port fail or the COM port be used or not exist!"));
    const QString failure = english ? QStringLiteral("Open COM7 Fail！") : QStringLiteral("打开COM7失败！");
    const QStringList lines = boxes.texts().value(1).split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), failure);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.value(1).contains(com7.slavePath()), qPrintable(lines.value(1)));
    QVERIFY2(lines.value(1).contains(english ? QLatin1Char('"') + group + QLatin1Char('"')
                                             : QStringLiteral("“") + group + QStringLiteral("”")),
             qPrintable(lines.value(1)));
    QVERIFY2(lines.value(1).contains(english ? QStringLiteral("log out and log in again")
                                             : QStringLiteral("注销并重新登录")),
             qPrintable(lines.value(1)));
    QCOMPARE(form->statusPanel(1), failure);
    QVERIFY(!form->portDialog()->portOpen(7));

    // Allowed again, the same press opens it.
    boxes.clear();
    QTest::mouseClick(control<QPushButton>(*dialog, "openButton"), Qt::LeftButton);
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(form->portDialog()->portOpen(7));
}

void PortDialogTest::closeFailureReportsBothTexts()
{
    for (const char *language : {"EN", "CN"}) {
        Pty com1;
        BoxRecorder boxes;
        WorkDir dir(WorkDir::testConfig(com1.slavePath(), QByteArray("[Ver]\r\nCEO=") + language + "\r\n"));
        auto form = makeMainWindow();
        SerialPortDialog *dialog = form->portDialog();
        control<QComboBox>(*dialog, "portBox")->setCurrentIndex(4);
        dialog->closePort();
        const bool english = QLatin1String(language) == QLatin1String("EN");
        QCOMPARE(
            boxes.texts(),
            (QStringList{QStringLiteral("Close the COM port Fail or The COM Port Not exist!"),
                         english ? QStringLiteral("Close COM5Fail!") : QStringLiteral("关闭串口5失败！")}));
        QCOMPARE(form->statusPanel(1),
                 english ? QStringLiteral("Close COM5Fail!") : QStringLiteral("关闭COM5失败！"));
        QVERIFY(form->portDialog()->portOpen(1));
    }
}

void PortDialogTest::formatChoicesAndTheirCodes()
{
    Pty com1;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(com1.slavePath()));
    auto form = makeMainWindow();
    SerialPortDialog *dialog = form->portDialog();
    QCOMPARE(form->portDialog()->formatCodes().stopBits, 0);
    // An open port offers Close only: close, choose, open.
    control<QPushButton>(*dialog, "closeButton")->click();
    control<QComboBox>(*dialog, "baudBox")->setCurrentText(QStringLiteral("9600"));
    control<QComboBox>(*dialog, "parityBox")->setCurrentText(QStringLiteral("ODD"));
    control<QComboBox>(*dialog, "dataBitsBox")->setCurrentText(QStringLiteral("9"));
    control<QComboBox>(*dialog, "stopBitsBox")->setCurrentText(QStringLiteral("2"));
    control<QPushButton>(*dialog, "openButton")->click();
    QCOMPARE(form->statusPanel(1), QStringLiteral("COM1,9600,ODD,9,2"));
    QCOMPARE(form->portDialog()->formatCodes().baud, 12);
    QCOMPARE(form->portDialog()->formatCodes().parity, 8);
    QCOMPARE(form->portDialog()->formatCodes().dataBits, 3); // "9" runs as 8 data bits
    QCOMPARE(form->portDialog()->formatCodes().stopBits, 4);
    QCOMPARE(form->portDialog()->baudIndex(), 5);
    termios tio = com1.slaveSettings();
    QCOMPARE(cfgetospeed(&tio), speed_t(B9600));
    QCOMPARE(int(tio.c_cflag & CSIZE), int(CS8));
    QVERIFY(tio.c_cflag & CSTOPB);

    // "1.5" keeps the stop-bit code of the previous open.
    control<QComboBox>(*dialog, "stopBitsBox")->setCurrentText(QStringLiteral("1.5"));
    control<QPushButton>(*dialog, "closeButton")->click();
    control<QPushButton>(*dialog, "openButton")->click();
    QCOMPARE(form->portDialog()->formatCodes().stopBits, 4);
    QCOMPARE(form->statusPanel(1), QStringLiteral("COM1,9600,ODD,9,1.5"));
    QVERIFY(!control<QComboBox>(*dialog, "startBitsBox")->isEnabled());
}

void PortDialogTest::outOfRangeBaudIndexBecomes115200()
{
    Pty com1;
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(com1.slavePath(), "[info]\r\nBaudRate=12\r\n"));
    auto form = makeMainWindow();
    QCOMPARE(form->portDialog()->baudIndex(), 9);
    QCOMPARE(control<QComboBox>(*form->portDialog(), "baudBox")->currentText(), QStringLiteral("115200"));
}

void PortDialogTest::deviceBehindComNumberIsEditable()
{
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    auto form = makeMainWindow();
    SerialPortDialog *dialog = form->portDialog();
    QTimer::singleShot(0, dialog, &QDialog::reject);
    dialog->exec();
    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(2);
    QCOMPARE(control<QComboBox>(*dialog, "deviceBox")->currentText(), form->settings().ports.devicePath(3));
    control<QComboBox>(*dialog, "deviceBox")->setEditText(QStringLiteral("/dev/ttyUSB7"));
    QCOMPARE(form->settings().ports.devicePath(3), QStringLiteral("/dev/ttyUSB7"));
    QCOMPARE(form->settings().ports.mapped().value(3), QStringLiteral("/dev/ttyUSB7"));
}

QTEST_MAIN(PortDialogTest)
#include "test_portdialog.moc"
