// The link group: which controls each link enables, what the address and port fields accept and
// store, the two connect buttons, the target ID button, and the saved link at start-up.

#include "links/TcpConnection.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "window/CommandDispatch.h"
#include "window/MainWindow.h"
#include "window/OptionsDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

namespace {
constexpr int kWait = 10000;

// Clicks on the indicator: the button's middle can lie beyond its caption, where a click misses.
void clickRadio(QRadioButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

QByteArray config(const QByteArray &language, const QByteArray &extra = QByteArray())
{
    return WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                               "[Ver]\r\nCEO=" + language + "\r\n" + extra);
}

QList<QWidget *> lanRow(MainWindow &form)
{
    return {control<QLineEdit>(form, "lanIpEdit"), control<QLineEdit>(form, "lanPortEdit"),
            control<QPushButton>(form, "lanConnectButton")};
}

QList<QWidget *> wanRow(MainWindow &form)
{
    return {control<QLineEdit>(form, "wanIpEdit"), control<QLineEdit>(form, "wanPortEdit"),
            control<QPushButton>(form, "wanConnectButton"), control<QPushButton>(form, "targetIdButton")};
}

bool allEnabled(const QList<QWidget *> &widgets, bool enabled)
{
    for (const QWidget *w : widgets) {
        if (w->isEnabled() != enabled)
            return false;
    }
    return true;
}

// Focus changes only reach the fields of the active window.
bool showActive(MainWindow &form)
{
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}
} // namespace

class LinkSelectTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void serialSelectedBeforeAnyClick();
    void radioButtonsEnableTheirRow_data();
    void radioButtonsEnableTheirRow();
    void selectingALinkKeepsTheConnection();
    void typedKeysAreFiltered_data();
    void typedKeysAreFiltered();
    void leavingAFieldStoresOrRefuses_data();
    void leavingAFieldStoresOrRefuses();
    void switchingWindowsIsNotLeaving();
    void connectRefusesBlankOrInvalidFields_data();
    void connectRefusesBlankOrInvalidFields();
    void connectButtonsUseTheirRow();
    void targetIdOpensOptionsDialog_data();
    void targetIdOpensOptionsDialog();
    void startUpSelectsSavedLink_data();
    void startUpSelectsSavedLink();
    void startUpWithBlankInternetAddressWarnsOnce();
    void startUpSetsAddQuotes_data();
    void startUpSetsAddQuotes();
};

void LinkSelectTest::serialSelectedBeforeAnyClick()
{
    BoxRecorder boxes;
    WorkDir dir(config("EN"));
    auto form = makeMainWindow();
    QVERIFY(control<QRadioButton>(*form, "serialLinkRadio")->isChecked());
    QCOMPARE(form->session().route.linkType, 0);
    QVERIFY(allEnabled(lanRow(*form), false));
    QVERIFY(allEnabled(wanRow(*form), false));
    QVERIFY(control<QRadioButton>(*form, "serialLinkRadio")->isEnabled() &&
            control<QRadioButton>(*form, "lanLinkRadio")->isEnabled() &&
            control<QRadioButton>(*form, "wanLinkRadio")->isEnabled());
    QCOMPARE(control<QLineEdit>(*form, "lanIpEdit")->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(control<QLineEdit>(*form, "lanPortEdit")->text(), QStringLiteral("8888"));
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);
}

void LinkSelectTest::radioButtonsEnableTheirRow_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("link");
    QTest::newRow("LAN") << "serialLinkRadio"
                         << "lanLinkRadio" << 1;
    QTest::newRow("Internet") << "lanLinkRadio"
                              << "wanLinkRadio" << 2;
    QTest::newRow("serial again") << "wanLinkRadio"
                                  << "serialLinkRadio" << 0;
    QTest::newRow("LAN after Internet") << "wanLinkRadio"
                                        << "lanLinkRadio" << 1;
}

void LinkSelectTest::radioButtonsEnableTheirRow()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, link);
    BoxRecorder boxes;
    WorkDir dir(config("EN"));
    auto form = makeMainWindow();
    clickRadio(control<QRadioButton>(*form, from));
    control<QLineEdit>(*form, "lanIpEdit")->setText(QStringLiteral("127.0.0.9"));
    control<QLineEdit>(*form, "wanPortEdit")->setText(QStringLiteral("1234"));
    clickRadio(control<QRadioButton>(*form, to));

    QCOMPARE(form->session().route.linkType, link);
    QVERIFY(control<QRadioButton>(*form, to)->isChecked());
    QVERIFY(allEnabled(lanRow(*form), link == 1));
    QVERIFY(allEnabled(wanRow(*form), link == 2));
    // The fields keep their texts whether or not they can be edited.
    QCOMPARE(control<QLineEdit>(*form, "lanIpEdit")->text(), QStringLiteral("127.0.0.9"));
    QCOMPARE(control<QLineEdit>(*form, "wanPortEdit")->text(), QStringLiteral("1234"));
    // Selecting a link opens nothing.
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);
}

void LinkSelectTest::selectingALinkKeepsTheConnection()
{
    LoopbackServer server;
    BoxRecorder boxes;
    WorkDir dir(
        config("EN", "[Network]\r\nCOMType=1\r\nTCPPort=" + QByteArray::number(server.port()) + "\r\n"));
    auto form = makeMainWindow();
    QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
    clickRadio(control<QRadioButton>(*form, "serialLinkRadio"));
    clickRadio(control<QRadioButton>(*form, "wanLinkRadio"));
    // Data sent after the clicks still arrives on the first connection.
    form->dispatch().sendTcp("ping");
    QTRY_COMPARE_WITH_TIMEOUT(server.received(), QByteArray("ping"), kWait);
    QVERIFY(server.peerConnected());
    QCOMPARE(server.connectionCount(), 1);
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::ConnectedState);
}

void LinkSelectTest::typedKeysAreFiltered_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("LAN IP") << "lanIpEdit"
                            << "127.a0.0,.1 x"
                            << "127.0.0.1";
    QTest::newRow("Internet IP") << "wanIpEdit"
                                 << "host-127.0.0.2"
                                 << "127.0.0.2";
    QTest::newRow("LAN port") << "lanPortEdit"
                              << "8a8.8-8 "
                              << "8888";
    QTest::newRow("Internet port") << "wanPortEdit"
                                   << "+1e3"
                                   << "13";
}

void LinkSelectTest::typedKeysAreFiltered()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    BoxRecorder boxes;
    WorkDir dir(config("EN"));
    auto form = makeMainWindow();
    clickRadio(field.startsWith(QLatin1String("lan")) ? control<QRadioButton>(*form, "lanLinkRadio")
                                                      : control<QRadioButton>(*form, "wanLinkRadio"));
    auto *edit = control<QLineEdit>(*form, field);
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), kept);

    // Backspace and the editing keys work as ever.
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), kept.chopped(1));
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), kept.chopped(1).mid(1));

    // Pasting is not filtered.
    QGuiApplication::clipboard()->setText(QStringLiteral("ab"));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("ab"));
}

void LinkSelectTest::leavingAFieldStoresOrRefuses_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning"); // empty: accepted
    const QString blankEn = QStringLiteral("Port can not be blank!");
    const QString blankCn = QStringLiteral("端口不能为空！");
    const QString invalidEn = QStringLiteral("Port must be a number from 1 to 65535!");
    const QString invalidCn = QStringLiteral("端口必须是1到65535之间的数字！");
    QTest::newRow("LAN IP") << QByteArray("EN") << "lanIpEdit"
                            << "127.0.0.7" << QString();
    QTest::newRow("LAN IP empty") << QByteArray("EN") << "lanIpEdit" << QString() << QString();
    QTest::newRow("Internet IP empty") << QByteArray("CN") << "wanIpEdit" << QString() << QString();
    QTest::newRow("LAN port") << QByteArray("EN") << "lanPortEdit"
                              << "1234" << QString();
    QTest::newRow("Internet port 65535") << QByteArray("EN") << "wanPortEdit"
                                         << "65535" << QString();
    QTest::newRow("port with leading zeros") << QByteArray("EN") << "lanPortEdit"
                                             << "0080" << QString();
    QTest::newRow("LAN port blank EN") << QByteArray("EN") << "lanPortEdit" << QString() << blankEn;
    QTest::newRow("Internet port blank CN") << QByteArray("CN") << "wanPortEdit" << QString() << blankCn;
    QTest::newRow("pasted letters EN") << QByteArray("EN") << "lanPortEdit"
                                       << "http" << invalidEn;
    QTest::newRow("pasted letters CN") << QByteArray("CN") << "wanPortEdit"
                                       << "端口" << invalidCn;
    QTest::newRow("zero") << QByteArray("EN") << "lanPortEdit"
                          << "0" << invalidEn;
    QTest::newRow("above 65535") << QByteArray("EN") << "wanPortEdit"
                                 << "65536" << invalidEn;
    QTest::newRow("beyond int") << QByteArray("EN") << "lanPortEdit"
                                << "99999999999999999999" << invalidEn;
    QTest::newRow("blank around digits") << QByteArray("EN") << "lanPortEdit"
                                         << " 80" << invalidEn;
    QTest::newRow("sign") << QByteArray("EN") << "wanPortEdit"
                          << "-80" << invalidEn;
}

void LinkSelectTest::leavingAFieldStoresOrRefuses()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    BoxRecorder boxes;
    WorkDir dir(config(language));
    auto form = makeMainWindow();
    const bool lan = field.startsWith(QLatin1String("lan"));
    clickRadio(lan ? control<QRadioButton>(*form, "lanLinkRadio")
                   : control<QRadioButton>(*form, "wanLinkRadio"));
    QVERIFY(showActive(*form));
    boxes.clear();

    auto *edit = control<QLineEdit>(*form, field);
    QLineEdit *neighbour =
        edit == control<QLineEdit>(*form, "lanIpEdit")   ? control<QLineEdit>(*form, "lanPortEdit")
        : edit == control<QLineEdit>(*form, "wanIpEdit") ? control<QLineEdit>(*form, "wanPortEdit")
        : lan                                            ? control<QLineEdit>(*form, "lanIpEdit")
                                                         : control<QLineEdit>(*form, "wanIpEdit");
    edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(edit->hasFocus());
    edit->setText(text); // as a paste would put it there
    const int portBefore = lan ? form->settings().tcpPort : form->settings().tcpPort2;
    neighbour->setFocus(Qt::TabFocusReason);

    if (warning.isEmpty()) {
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.texts().join('|')));
        QVERIFY(neighbour->hasFocus());
        if (field.contains(QLatin1String("Ip")))
            QCOMPARE(lan ? form->settings().serverIp : form->settings().serverIp2, text);
        else
            QCOMPARE(lan ? form->settings().tcpPort : form->settings().tcpPort2, text.toInt());
    } else {
        QCOMPARE(boxes.texts(), QStringList{warning});
        QCOMPARE(boxes.boxes.first().kind, BoxKind::Warning);
        QVERIFY(edit->hasFocus());
        QCOMPARE(lan ? form->settings().tcpPort : form->settings().tcpPort2, portBefore);
        QCOMPARE(edit->text(), text);
    }
}

// Leaving the window, or the focus that the warning box takes, is not leaving the field: an empty
// port field must not keep raising warnings.
void LinkSelectTest::switchingWindowsIsNotLeaving()
{
    BoxRecorder boxes;
    WorkDir dir(config("EN"));
    auto form = makeMainWindow();
    clickRadio(control<QRadioButton>(*form, "lanLinkRadio"));
    QVERIFY(showActive(*form));
    boxes.clear();
    control<QLineEdit>(*form, "lanPortEdit")->setFocus(Qt::MouseFocusReason);
    control<QLineEdit>(*form, "lanPortEdit")->clear();

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(boxes.boxes.isEmpty());
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QVERIFY(boxes.boxes.isEmpty());

    // Leaving for a control of the window does warn, once, and the focus stays in the field.
    QTest::mouseClick(control<QLineEdit>(*form, "lanIpEdit"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Port can not be blank!")});
    QVERIFY(control<QLineEdit>(*form, "lanPortEdit")->hasFocus());
}

void LinkSelectTest::connectRefusesBlankOrInvalidFields_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("warning");
    const QString blankEn = QStringLiteral("IP or Port can not be blank!");
    const QString blankCn = QStringLiteral("IP或Port不能为空值！");
    const QString invalidEn = QStringLiteral("Port must be a number from 1 to 65535!");
    const QString invalidCn = QStringLiteral("端口必须是1到65535之间的数字！");
    QTest::newRow("LAN no IP EN") << QByteArray("EN") << 1 << QString() << "8888" << blankEn;
    QTest::newRow("LAN no port CN") << QByteArray("CN") << 1 << "127.0.0.1" << QString() << blankCn;
    QTest::newRow("Internet no IP CN") << QByteArray("CN") << 2 << QString() << "8888" << blankCn;
    QTest::newRow("Internet no port EN") << QByteArray("EN") << 2 << "127.0.0.1" << QString() << blankEn;
    QTest::newRow("LAN letters") << QByteArray("EN") << 1 << "127.0.0.1"
                                 << "abc" << invalidEn;
    QTest::newRow("Internet 70000 CN") << QByteArray("CN") << 2 << "127.0.0.1"
                                       << "70000" << invalidCn;
    QTest::newRow("LAN 0") << QByteArray("EN") << 1 << "127.0.0.1"
                           << "0" << invalidEn;
}

void LinkSelectTest::connectRefusesBlankOrInvalidFields()
{
    QFETCH(QByteArray, language);
    QFETCH(int, link);
    QFETCH(QString, ip);
    QFETCH(QString, port);
    QFETCH(QString, warning);
    BoxRecorder boxes;
    WorkDir dir(config(language));
    auto form = makeMainWindow();
    const bool lan = link == 1;
    clickRadio(lan ? control<QRadioButton>(*form, "lanLinkRadio")
                   : control<QRadioButton>(*form, "wanLinkRadio"));
    boxes.clear();
    (lan ? control<QLineEdit>(*form, "lanIpEdit") : control<QLineEdit>(*form, "wanIpEdit"))->setText(ip);
    (lan ? control<QLineEdit>(*form, "lanPortEdit") : control<QLineEdit>(*form, "wanPortEdit"))
        ->setText(port);
    const QString ipBefore = lan ? form->settings().serverIp : form->settings().serverIp2;
    const int portBefore = lan ? form->settings().tcpPort : form->settings().tcpPort2;

    QTest::mouseClick(lan ? control<QPushButton>(*form, "lanConnectButton")
                          : control<QPushButton>(*form, "wanConnectButton"),
                      Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{warning});
    QCOMPARE(lan ? form->settings().serverIp : form->settings().serverIp2, ipBefore);
    QCOMPARE(lan ? form->settings().tcpPort : form->settings().tcpPort2, portBefore);
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);
}

// Both rows share the one connection: each connect uses its own row's fields and drops the other's.
void LinkSelectTest::connectButtonsUseTheirRow()
{
    LoopbackServer module, relay;
    BoxRecorder boxes;
    WorkDir dir(config("EN"));
    auto form = makeMainWindow();
    boxes.clear();

    clickRadio(control<QRadioButton>(*form, "lanLinkRadio"));
    control<QLineEdit>(*form, "lanIpEdit")->setText(QStringLiteral("127.0.0.1"));
    control<QLineEdit>(*form, "lanPortEdit")->setText(QString::number(module.port()));
    QTest::mouseClick(control<QPushButton>(*form, "lanConnectButton"), Qt::LeftButton);
    QCOMPARE(form->settings().serverIp, QStringLiteral("127.0.0.1"));
    QCOMPARE(form->settings().tcpPort, int(module.port()));
    QTRY_VERIFY_WITH_TIMEOUT(module.peerConnected(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel(1),
                              QStringLiteral("127.0.0.1:%1:TCP Connected Successfully!").arg(module.port()),
                              kWait);

    clickRadio(control<QRadioButton>(*form, "wanLinkRadio"));
    control<QLineEdit>(*form, "wanIpEdit")->setText(QStringLiteral("127.0.0.1"));
    control<QLineEdit>(*form, "wanPortEdit")->setText(QString::number(relay.port()));
    QTest::mouseClick(control<QPushButton>(*form, "wanConnectButton"), Qt::LeftButton);
    QCOMPARE(form->settings().serverIp2, QStringLiteral("127.0.0.1"));
    QCOMPARE(form->settings().tcpPort2, int(relay.port()));
    QTRY_VERIFY_WITH_TIMEOUT(relay.peerConnected(), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(!module.peerConnected(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel(1),
                              QStringLiteral("127.0.0.1:%1:TCP Connected Successfully!").arg(relay.port()),
                              kWait);
    QVERIFY(boxes.boxes.isEmpty());
}

void LinkSelectTest::targetIdOpensOptionsDialog_data()
{
    QTest::addColumn<bool>("menu");
    QTest::addColumn<int>("link");
    QTest::newRow("button") << false << 2;
    QTest::newRow("menu, serial link") << true << 0;
    QTest::newRow("menu, Internet link") << true << 2;
}

void LinkSelectTest::targetIdOpensOptionsDialog()
{
    QFETCH(bool, menu);
    QFETCH(int, link);
    BoxRecorder boxes;
    WorkDir dir(config("EN"));
    auto form = makeMainWindow();
    if (link == 2)
        clickRadio(control<QRadioButton>(*form, "wanLinkRadio"));

    QWidget *seen = nullptr;
    QTimer::singleShot(0, form.get(), [&seen] {
        seen = QApplication::activeModalWidget();
        if (auto *modal = qobject_cast<QDialog *>(seen))
            modal->reject();
    });
    if (menu)
        control<QAction>(*form, "targetIdAction")->trigger();
    else
        QTest::mouseClick(control<QPushButton>(*form, "targetIdButton"), Qt::LeftButton);
    QDialog *dialog = form->optionsDialog();
    QCOMPARE(seen, dialog);
    QVERIFY(!dialog->isVisible());
}

void LinkSelectTest::startUpSelectsSavedLink_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<QString>("checked"); // empty: none
    QTest::addColumn<bool>("connects");
    QTest::newRow("serial") << 0 << "serialLinkRadio" << false;
    QTest::newRow("LAN") << 1 << "lanLinkRadio" << true;
    QTest::newRow("Internet") << 2 << "wanLinkRadio" << true;
    QTest::newRow("unknown 3") << 3 << QString() << false;
    QTest::newRow("unknown -1") << -1 << QString() << false;
}

// The saved link is selected as by a click, and a network link is connecting before the window shows.
void LinkSelectTest::startUpSelectsSavedLink()
{
    QFETCH(int, saved);
    QFETCH(QString, checked);
    QFETCH(bool, connects);
    LoopbackServer server;
    BoxRecorder boxes;
    const QByteArray port = QByteArray::number(server.port());
    WorkDir dir(config("EN", "[Network]\r\nCOMType=" + QByteArray::number(saved) + "\r\nTCPPort=" + port +
                                 "\r\nTCPPort2=" + port + "\r\n"));
    auto form = makeMainWindow();
    QCOMPARE(form->session().route.linkType, saved);
    for (QRadioButton *radio :
         {control<QRadioButton>(*form, "serialLinkRadio"), control<QRadioButton>(*form, "lanLinkRadio"),
          control<QRadioButton>(*form, "wanLinkRadio")})
        QCOMPARE(radio->isChecked(), radio->objectName() == checked);
    QVERIFY(allEnabled(lanRow(*form), saved == 1));
    QVERIFY(allEnabled(wanRow(*form), saved == 2));
    QCOMPARE(control<QLineEdit>(*form, "lanPortEdit")->text(), QString::fromLatin1(port));
    QCOMPARE(control<QLineEdit>(*form, "wanPortEdit")->text(), QString::fromLatin1(port));
    QCOMPARE(control<QLineEdit>(*form, "wanIpEdit")->text(), QStringLiteral("127.0.0.1"));

    QVERIFY(!form->isVisible());
    if (connects) {
        QVERIFY(form->tcpConnection()->state() != QAbstractSocket::UnconnectedState);
        QTRY_VERIFY_WITH_TIMEOUT(server.peerConnected(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(form->tcpConnection()->state(), QAbstractSocket::ConnectedState, kWait);
        QVERIFY(!form->isVisible());
    } else {
        // A connection attempt leaves the unconnected state at once, before any event.
        QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(server.connectionCount(), 0);
    }
    for (const QString &text : boxes.texts())
        QVERIFY2(!text.contains(QLatin1String("Port")), qPrintable(text));
}

void LinkSelectTest::startUpWithBlankInternetAddressWarnsOnce()
{
    BoxRecorder boxes;
    WorkDir dir(config("CN", "[Network]\r\nCOMType=2\r\nServerIP2=\r\n"));
    auto form = makeMainWindow();
    QVERIFY(control<QRadioButton>(*form, "wanLinkRadio")->isChecked());
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("IP或Port不能为空值！")});
    QCOMPARE(form->tcpConnection()->state(), QAbstractSocket::UnconnectedState);
}

void LinkSelectTest::startUpSetsAddQuotes_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("checked");
    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("0") << QByteArray("0") << false;
}

void LinkSelectTest::startUpSetsAddQuotes()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, checked);
    BoxRecorder boxes;
    WorkDir dir(config("EN", "[Program]\r\nAddChr=" + value + "\r\n"));
    auto form = makeMainWindow();
    QVERIFY(control<QCheckBox>(*form, "addQuotesCheck"));
    QCOMPARE(control<QCheckBox>(*form, "addQuotesCheck")->isChecked(), checked);
    QCOMPARE(form->settings().addQuotes, checked);
}

QTEST_MAIN(LinkSelectTest)
#include "test_linkselect.moc"
