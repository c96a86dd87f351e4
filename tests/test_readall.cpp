// "Read all" in the window against the module simulator: every parameter read over the serial link,
// the LAN and the relay, one command at a time, the fields filled, one console line at the end;
// Cancel stops the sending; rows the module refuses are named; a link that cannot send ends the run
// at once. Loopback addresses only.

#include "links/ReplyGatherer.h"
#include "protocol/ParameterCatalogue.h"
#include "support/SimWindow.h"
#include "translations/Translations.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/ProfileActions.h"
#include "window/ReadAllControl.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {
constexpr int kRunWait = 20000;

QString shown(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    return static_cast<QComboBox *>(w)->currentText();
}

void empty(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->clear();
    else
        static_cast<QComboBox *>(w)->setCurrentIndex(-1);
}

QStringList consoleLinesStarting(MainWindow &form, const QString &start)
{
    return form.console()->lines().filter(
        QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(start)));
}

QStringList everyQuery()
{
    QStringList queries;
    for (const ParameterRow &row : ParameterCatalogue())
        queries << QStringLiteral("AT+") + row.atName + QStringLiteral("=?");
    return queries;
}

// Each command waited for the module's answer: no two commands arrived without an answer between them.
bool oneAtATime(const QList<QByteArray> &traffic)
{
    bool awaiting = false;
    for (const QByteArray &line : traffic) {
        const bool command = line.split(' ').at(2) == "<-";
        if (command && awaiting)
            return false;
        awaiting = command;
    }
    return true;
}
} // namespace

class ReadAllTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fillsEveryField_data();
    void fillsEveryField();
    void refusedRowsAreNamed_data();
    void refusedRowsAreNamed();
    void cancelStopsSending();
    void unusableLinkEndsTheRunAtOnce();
};

void ReadAllTest::fillsEveryField_data()
{
    QTest::addColumn<int>("link");
    QTest::newRow("serial") << 0;
    QTest::newRow("LAN") << 1;
    QTest::newRow("relay") << 2;
}

void ReadAllTest::fillsEveryField()
{
    QFETCH(int, link);
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(link, {}, "EN", &why), qPrintable(why));
    MainWindow &form = sim.form();
    // Empty every field first, so that what shows afterwards came from the module.
    for (const ParameterRow &row : ParameterCatalogue()) {
        for (const Field f : row.fields)
            empty(form.field(f));
    }
    QCOMPARE(control<QPushButton>(form, "readAllButton")->text(), QStringLiteral("Read all"));
    QVERIFY(!control<QProgressBar>(form, "readAllProgress")->isVisible());

    QTest::mouseClick(control<QPushButton>(form, "readAllButton"), Qt::LeftButton);
    // Under way: the progress names the parameter in the window's language; nothing else can send.
    QVERIFY(control<QProgressBar>(form, "readAllProgress")->isVisible());
    QVERIFY(control<QPushButton>(form, "readAllCancelButton")->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(control<QLabel>(form, "readAllStepLabel"))
                 ->text(QAccessible::Name),
             QStringLiteral("Reading work mode (1/31)"));
    QVERIFY(!control<QPushButton>(form, "readAllButton")->isEnabled());
    for (const char *name : {"heartbeatReadButton", "heartbeatSetButton", "restartButton", "atButton",
                             "dataSendButton", "lanConnectButton"})
        QVERIFY2(!control<QPushButton>(form, QLatin1String(name))->isEnabled(), name);
    QVERIFY(!control<QAction>(form, "applyProfileAction")->isEnabled());
    QVERIFY(form.serialGatherer()->lineEndGraceMs() > 0); // answers end at their line end

    QTRY_COMPARE_WITH_TIMEOUT(consoleLinesStarting(form, QStringLiteral("Read all")),
                              QStringList{QStringLiteral("Read all: 31 of 31 parameters read.")}, kRunWait);
    for (const ParameterRow &row : ParameterCatalogue()) {
        for (const Field f : row.fields)
            QVERIFY2(!shown(form.field(f)).isEmpty(), qPrintable(row.atName));
    }
    QCOMPARE(shown(form.field(Field::Heartbeat)), QStringLiteral("120"));
    QCOMPARE(shown(form.field(Field::ServerIp)), QStringLiteral("192.168.1.10"));
    QCOMPARE(shown(form.field(Field::ApSsid)), QStringLiteral("QX5120_AP"));
    QCOMPARE(shown(form.field(Field::StaSsid)), QStringLiteral("HomeNet"));
    QCOMPARE(shown(form.field(Field::RxMax)), QStringLiteral("2048"));
    QCOMPARE(sim.commandsReceived(), everyQuery());
    QVERIFY(oneAtATime(sim.trafficLines()));

    QVERIFY(!control<QProgressBar>(form, "readAllProgress")->isVisible());
    QVERIFY(control<QPushButton>(form, "readAllButton")->isEnabled());
    QVERIFY(control<QPushButton>(form, "heartbeatSetButton")->isEnabled());
    QVERIFY(control<QPushButton>(form, "atButton")->isEnabled());
    QCOMPARE(form.serialGatherer()->lineEndGraceMs(), 0); // the buttons' quiet time again
    QVERIFY2(sim.boxes().boxes.isEmpty(), qPrintable(sim.boxes().texts().join(QLatin1Char('|'))));
}

void ReadAllTest::refusedRowsAreNamed_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("separator");
    QTest::newRow("English") << QByteArray("EN")
                             << QStringLiteral(
                                    "Read all: 0 of 31 parameters read; not read: work mode (WIFIMODE), "
                                    "DHCP, AP Info (APINF), ")
                             << QStringLiteral(", ");
    QTest::newRow("Chinese") << QByteArray("CN")
                             << QStringLiteral(
                                    "读取全部：已读取0/31个参数；读取失败：工作模式 (WIFIMODE)、DHCP、"
                                    "AP信息 (APINF)、")
                             << QStringLiteral("、");
}

void ReadAllTest::refusedRowsAreNamed()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, line);
    QFETCH(QString, separator);
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(1, {QStringLiteral("--error")}, language, &why), qPrintable(why));
    MainWindow &form = sim.form();

    QTest::mouseClick(control<QPushButton>(form, "readAllButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(form, "readAllButton")->isEnabled(), kRunWait);
    const QStringList summary = consoleLinesStarting(form, line.left(4));
    QCOMPARE(summary.size(), 1);
    QVERIFY2(summary.front().startsWith(line), qPrintable(summary.front()));
    // Every parameter is named once, the last one closing the line.
    QCOMPARE(summary.front().count(separator), 30);
    const QString catalogue = language == "CN" ? Translations::chinese() : QString();
    for (const ParameterRow &row : ParameterCatalogue())
        QVERIFY2(
            summary.front().contains(Translations::textIn(catalogue, kReadCaptionContext, row.readCaption)),
            qPrintable(row.atName));
    QCOMPARE(sim.commandsReceived(), everyQuery());
}

void ReadAllTest::cancelStopsSending()
{
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(1, {QStringLiteral("--delay"), QStringLiteral("150")}, "EN", &why), qPrintable(why));
    MainWindow &form = sim.form();
    form.lineEdit(Field::RxMax)->setText(QStringLiteral("untouched"));

    QTest::mouseClick(control<QPushButton>(form, "readAllButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sim.commandsReceived().size() >= 3, kRunWait);
    QTest::mouseClick(control<QPushButton>(form, "readAllCancelButton"), Qt::LeftButton);
    const int sent = sim.commandsSent();
    QVERIFY(control<QPushButton>(form, "readAllButton")->isEnabled());
    QVERIFY(!control<QPushButton>(form, "readAllCancelButton")->isVisible());
    QCOMPARE(form.serialGatherer()->lineEndGraceMs(), 0);
    const QStringList summary = consoleLinesStarting(form, QStringLiteral("Read all"));
    QCOMPARE(summary.size(), 1);
    QVERIFY2(summary.front().startsWith(QStringLiteral("Read all cancelled: ")), qPrintable(summary.front()));
    QVERIFY2(summary.front().endsWith(QStringLiteral(" of 31 parameters read.")),
             qPrintable(summary.front()));

    // The answer under way still comes, and nothing more goes out.
    QCOMPARE(sim.commandsBeforeTestCommand(), everyQuery().mid(0, sent));
    QCOMPARE(form.lineEdit(Field::RxMax)->text(), QStringLiteral("untouched"));
    QVERIFY(oneAtATime(sim.trafficLines()));
}

void ReadAllTest::unusableLinkEndsTheRunAtOnce()
{
    // Serial link on a device that is not there: the first write fails with the serial layer's box,
    // and the run stops there instead of failing 31 times.
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qxtest-readall"), "[Ver]\r\nCEO=EN\r\n"));
    const std::unique_ptr<MainWindow> form = makeMainWindow();
    boxes.clear();
    QTest::mouseClick(control<QPushButton>(*form, "readAllButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("The COM Port NOT opened!")});
    QCOMPARE(consoleLinesStarting(*form, QStringLiteral("Read all")),
             QStringList{QStringLiteral("Read all stopped (the serial port could not be written): 0 of 31 "
                                        "parameters read; not read: work mode (WIFIMODE).")});
    QVERIFY(control<QPushButton>(*form, "readAllButton")->isEnabled());
}

QTEST_MAIN(ReadAllTest)
#include "test_readall.moc"
