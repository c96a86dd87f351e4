// End to end against the module simulator: the real main window, driven by clicks, sets every
// parameter to a value other than the module's default and reads it back into the fields, runs the
// operations, sets and reads IO pins and sends data, over the serial link, the LAN and the relay.
// Loopback addresses only.

#include "links/TcpConnection.h"
#include "protocol/ParameterCatalogue.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpSocket>
#include <QtTest>

namespace {
constexpr auto kModuleId = "12345678901";
constexpr int kWait = 5000;

// A value other than the simulator's default for every field, as typed or chosen, and as a read shows it.
struct NewValue {
    Field field;
    QString text; // for a list: the item text
    QString readBack;
};

const std::vector<NewValue> &newValues()
{
    static const std::vector<NewValue> values = {
        {Field::WorkMode, QStringLiteral("AP+Station"), {}},
        {Field::Dhcp, QStringLiteral("All Enable"), {}},
        {Field::ApSsid, QStringLiteral("QX_TEST_AP"), {}},
        {Field::ApPassword, QStringLiteral("abcdefgh9"), {}},
        {Field::ApChannel, QStringLiteral("11"), {}},
        {Field::ApAuth, QStringLiteral("WPA2_PSK"), {}},
        {Field::ApIp, QStringLiteral("10.1.4.1"), {}},
        {Field::ApMask, QStringLiteral("255.255.0.0"), {}},
        {Field::ApGateway, QStringLiteral("10.1.4.254"), {}},
        {Field::ApMac, QStringLiteral("5c:cf:7f:aa:bb:cc"), QStringLiteral("5C:CF:7F:AA:BB:CC")},
        {Field::StaSsid, QStringLiteral("HomeNet"), {}},
        {Field::StaPassword, QStringLiteral("secret123"), {}},
        {Field::StaIp, QStringLiteral("10.9.8.7"), {}},
        {Field::StaMask, QStringLiteral("255.255.255.0"), {}},
        {Field::StaGateway, QStringLiteral("10.9.8.1"), {}},
        {Field::StaMac, QStringLiteral("5c:cf:7f:11:22:33"), QStringLiteral("5C:CF:7F:11:22:33")},
        {Field::StaName, QStringLiteral("cafe"), {}},
        {Field::StaPwd, QStringLiteral("beef"), {}},
        {Field::Url, QStringLiteral("http://example.test/cfg"), {}},
        {Field::LocalPort, QStringLiteral("8123"), {}},
        {Field::ServerIp, QStringLiteral("10.20.30.40"), {}},
        {Field::ServerPort, QStringLiteral("9600"), {}},
        {Field::NetProtocol, QStringLiteral("UDP"), {}},
        {Field::ClientProtocol, QStringLiteral("透明"), {}},
        {Field::Heartbeat, QStringLiteral("60"), {}},
        {Field::DeviceId, QStringLiteral("98765432109"), {}},
        {Field::Zone, QStringLiteral("0042"), {}},
        {Field::ZoneValid, QStringLiteral("有效"), {}},
        {Field::Baud, QStringLiteral("57600"), {}},
        {Field::Parity, QStringLiteral("ODD"), {}},
        {Field::DataBits, QStringLiteral("7"), {}},
        {Field::StopBits, QStringLiteral("2"), {}},
        {Field::RxTimeout, QStringLiteral("50"), {}},
        {Field::RxMax, QStringLiteral("1024"), {}},
        {Field::DebugOutput, QStringLiteral("Enable"), {}},
        {Field::ConnRemote, QStringLiteral("关闭"), {}},
        {Field::PthServerEn, QStringLiteral("关闭"), {}},
        {Field::CmdServerEn, QStringLiteral("关闭"), {}},
        {Field::ServerTime, QStringLiteral("300"), {}},
        {Field::CmdMaxConn, QStringLiteral("2"), {}},
        {Field::PthMaxConn, QStringLiteral("4"), {}},
    };
    return values;
}

const NewValue &valueOf(Field field)
{
    for (const NewValue &v : newValues()) {
        if (v.field == field)
            return v;
    }
    qFatal("no test value for a field");
}

QString shown(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    return static_cast<QComboBox *>(w)->currentText();
}

void enter(QWidget *w, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
    else
        static_cast<QComboBox *>(w)->setCurrentText(text);
}

// The row's buttons are named after its first field: apSsidEdit -> apSsidReadButton, apSsidSetButton.
QPushButton *rowButton(MainWindow &form, const ParameterRow &row, const char *which)
{
    QString stem = form.field(row.fields.front())->objectName();
    stem.chop(stem.endsWith(QLatin1String("Edit")) ? 4 : 3);
    return control<QPushButton>(form, stem + QLatin1String(which));
}

int consoleCount(MainWindow &form, const QString &text)
{
    return int(form.console()->toPlainText().count(text));
}
} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyParameterRoundTrips_data();
    void everyParameterRoundTrips();
    void operationsAndIoAndData_data();
    void operationsAndIoAndData();
    void remoteReplyFramesFillTheFields();

private:
    bool startLink(int link, const QStringList &extraSimArgs);
    void click(QPushButton *button);

    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<BoxRecorder> boxes_;
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> form_;
};

bool EndToEndTest::startLink(int link, const QStringList &extraSimArgs)
{
    form_.reset();
    dir_.reset();
    boxes_.reset(); // before a new recorder: the old one's destructor uninstalls the seam's handler
    sim_.reset();
    sim_ = std::make_unique<SimProcess>();
    QString why;
    QStringList args{QStringLiteral("--pty"),
                     QStringLiteral("--lan"),
                     QStringLiteral("127.0.0.1:0"),
                     QStringLiteral("--relay"),
                     QStringLiteral("127.0.0.1:0"),
                     QStringLiteral("--module"),
                     QLatin1String(kModuleId) + QStringLiteral(":0000")};
    if (!sim_->start(args + extraSimArgs, &why)) {
        qWarning("%s", qPrintable(why));
        return false;
    }
    boxes_ = std::make_unique<BoxRecorder>(true);
    QByteArray extra = "[Ver]\r\nCEO=EN\r\n[Network]\r\nTargetGPRSID=" + QByteArray(kModuleId) +
                       "\r\nTargetZone=0000\r\nTCPPort=" + QByteArray::number(sim_->lanPort()) +
                       "\r\nTCPPort2=" + QByteArray::number(sim_->relayPort()) +
                       "\r\nCOMType=" + QByteArray::number(link) + "\r\n";
    dir_ = std::make_unique<WorkDir>(WorkDir::testConfig(sim_->ptyPath(), extra));
    form_ = makeMainWindow();
    if (link == 0)
        return form_->portDialog()->portOpen(1);
    // A saved network link connects by itself at start-up.
    return QTest::qWaitFor(
        [this] { return form_->tcpConnection()->state() == QAbstractSocket::ConnectedState; }, kWait);
}

void EndToEndTest::click(QPushButton *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void EndToEndTest::everyParameterRoundTrips_data()
{
    QTest::addColumn<int>("link");
    QTest::newRow("serial") << 0;
    QTest::newRow("LAN") << 1;
    QTest::newRow("relay") << 2;
}

void EndToEndTest::everyParameterRoundTrips()
{
    QFETCH(int, link);
    QVERIFY2(startLink(link, {}), "the simulator or the link did not come up");
    MainWindow &form = *form_;
    for (const ParameterRow &row : ParameterCatalogue()) {
        const QByteArray whatBytes = row.atName.toLatin1();
        const char *what = whatBytes.constData();
        for (Field f : row.fields)
            enter(form.field(f), valueOf(f).text);
        form.console()->clearLog(); // the TCP road clears it at 100 lines anyway
        click(rowButton(form, row, "SetButton"));
        QVERIFY2(boxes_->boxes.isEmpty(), qPrintable(boxes_->texts().join(QLatin1Char('|'))));
        QTRY_VERIFY2_WITH_TIMEOUT(consoleCount(form, QStringLiteral("Set successfully!")) == 1, what, kWait);
        // The relay finds the module by its ID and zone: follow a changed identity.
        if (link == 2 && row.atName == QLatin1String("DEVID"))
            form_->session().route.targetId = valueOf(Field::DeviceId).text;
        if (link == 2 && row.atName == QLatin1String("ZONE"))
            form_->session().route.targetZone = valueOf(Field::Zone).text;

        click(rowButton(form, row, "ReadButton"));
        for (Field f : row.fields)
            QVERIFY2(shown(form.field(f)).isEmpty(), what); // a read empties its fields first
        for (Field f : row.fields) {
            const NewValue &v = valueOf(f);
            const QString expected = v.readBack.isEmpty() ? v.text : v.readBack;
            QTRY_COMPARE_WITH_TIMEOUT(shown(form.field(f)), expected, kWait);
        }
    }
    QVERIFY(boxes_->boxes.isEmpty());
}

void EndToEndTest::operationsAndIoAndData_data()
{
    everyParameterRoundTrips_data();
}

void EndToEndTest::operationsAndIoAndData()
{
    QFETCH(int, link);
    QVERIFY2(startLink(link, {}), "the simulator or the link did not come up");
    MainWindow &form = *form_;
    auto button = [&form](const char *name) { return control<QPushButton>(form, QLatin1String(name)); };

    click(button("versionButton"));
    QTRY_VERIFY_WITH_TIMEOUT(form.lineEdit(Field::Version)->text().startsWith(QLatin1String("QX5120")),
                             kWait);
    click(button("serverStateButton"));
    QTRY_COMPARE_WITH_TIMEOUT(form.lineEdit(Field::ServerState)->text(), QStringLiteral("connected"), kWait);
    click(button("wifiStateButton"));
    QTRY_COMPARE_WITH_TIMEOUT(form.lineEdit(Field::WifiState)->text(), QStringLiteral("Connected and got IP"),
                              kWait);
    click(button("stationIpButton"));
    QTRY_VERIFY_WITH_TIMEOUT(!form.lineEdit(Field::CurrentStationIp)->text().isEmpty(), kWait);
    QVERIFY(!form.lineEdit(Field::CurrentStationIp)->text().contains(QLatin1Char('"')));
    click(button("apSearchButton"));
    QTRY_VERIFY_WITH_TIMEOUT(form.memo(Field::ListMemo)->toPlainText().contains(QLatin1String("LSAPINF")),
                             kWait);

    form.console()->clearLog();
    click(button("smartLinkButton"));
    QTRY_COMPARE_WITH_TIMEOUT(consoleCount(form, QStringLiteral("Enter to SmartLink successfully!")), 1,
                              kWait);
    click(button("restartButton"));
    QTRY_COMPARE_WITH_TIMEOUT(consoleCount(form, QStringLiteral("Restar successfully!")), 1, kWait);
    QCOMPARE(boxes_->texts(), (QStringList{QStringLiteral("Do you confirm to Enter SmartLink mode?"),
                                           QStringLiteral("Do you confirm to restar?")}));
    boxes_->clear();

    // IO pin 2: write input, floating, low; read it back into the level box.
    const IoRowControls io = ioRow(form, 2);
    io.mode->setCurrentText(QStringLiteral("Input"));
    io.pull->setCurrentIndex(1);
    io.level->setCurrentIndex(0);
    form.console()->clearLog();
    click(io.setButton);
    QTRY_COMPARE_WITH_TIMEOUT(consoleCount(form, QStringLiteral("Set successfully!")), 1, kWait);
    io.level->setCurrentIndex(1);
    click(io.readButton);
    QCOMPARE(io.level->currentIndex(), -1);
    QTRY_COMPARE_WITH_TIMEOUT(io.level->currentIndex(), 0, kWait);

    // Transparent data: the serial and LAN modules echo it; on the relay it travels in a relay frame.
    if (link != 2) {
        control<QTabWidget>(form, "pages")->setCurrentIndex(3);
        control<QPlainTextEdit>(form, "dataEdit")->setPlainText(QStringLiteral("hello module"));
        click(control<QPushButton>(form, "dataSendButton"));
        const QString received = link == 0 ? QStringLiteral("COM Receive:hello module")
                                           : QStringLiteral("TCP Receive:hello module");
        QTRY_VERIFY_WITH_TIMEOUT(form.console()->toPlainText().contains(received), kWait);
    }
    QVERIFY2(boxes_->boxes.isEmpty(), qPrintable(boxes_->texts().join(QLatin1Char('|'))));
}

void EndToEndTest::remoteReplyFramesFillTheFields()
{
    QVERIFY2(startLink(2, {QStringLiteral("--reply-frames")}), "the simulator or the relay did not come up");
    MainWindow &form = *form_;
    // A text parameter read answered by a 09 frame: the frame's parameter list fills the field.
    const ParameterRow *heartbeat = FindParameterByCode(132);
    QVERIFY(heartbeat);
    click(rowButton(form, *heartbeat, "ReadButton"));
    QTRY_COMPARE_WITH_TIMEOUT(form.lineEdit(Field::Heartbeat)->text(), QStringLiteral("120"), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(form.console()->toPlainText().contains(
                                 QLatin1String("Remoete Set WIFI module:") + QLatin1String(kModuleId) +
                                 QLatin1String(" Parameters successfully!")),
                             kWait);
    // An IO read answered by a 05 frame updates all three boxes of its row: the module's pin 3 is
    // "OUB31" (Output, Pull-up, high), the boxes show the opposite of each before the read.
    const IoRowControls io = ioRow(form, 3);
    io.mode->setCurrentIndex(2);
    io.pull->setCurrentIndex(1);
    io.level->setCurrentIndex(0);
    click(io.readButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        form.console()->toPlainText().contains(QLatin1String("Remoete read WIFI module:") +
                                               QLatin1String(kModuleId) + QLatin1String(" IO successfully!")),
        kWait);
    QCOMPARE(io.mode->currentText(), QStringLiteral("Output"));
    QCOMPARE(io.pull->currentIndex(), 0);  // pull-up
    QCOMPARE(io.level->currentIndex(), 1); // high
    QVERIFY(boxes_->boxes.isEmpty());
}

QTEST_MAIN(EndToEndTest)
#include "test_e2e.moc"
