// Profiles and the parameter runs: every row's value survives a profile and a read, lines are read as
// people write them, a bad file sends nothing and names its lines, and a run over a module that fails,
// stays silent or goes away reports every row; replies end at their line end only while a run goes.

#include "links/ParameterRun.h"
#include "protocol/ParameterReading.h"
#include "protocol/SetValue.h"
#include "translations/Translations.h"

#include <QtTest>

namespace {

// The Chinese catalogue installed for a scope, as qxctl installs it under a Chinese locale.
struct ChineseCatalogue {
    ChineseCatalogue() { Translations::use(Translations::chinese()); }
    ~ChineseCatalogue() { Translations::use(QString()); }
};

// A module that keeps what it is set to and answers queries with it, each answer a moment later, as
// over a link. Rows named in failing answer ERROR; rows in silent never answer.
class ModuleChannel final : public CommandChannel {
public:
    ModuleValues values;
    QStringList failing;
    QStringList silent;
    QStringList late; // answered only after lateMs
    int lateMs = 0;
    QList<QByteArray> sent;
    int loseAfter = -1; // commands before the link goes
    bool lineEnd = false;
    int sentWithoutLineEnd = 0;

    void setLineEndReplies(bool on) override { lineEnd = on; }
    bool sendCommand(const BuiltCommand &command) override
    {
        sent << command.bytes;
        sentWithoutLineEnd += lineEnd ? 0 : 1;
        if (loseAfter >= 0 && sent.size() > loseAfter) {
            QTimer::singleShot(0, this, [this] { Q_EMIT linkLost(QStringLiteral("connection closed")); });
            return true;
        }
        const QString text = QString::fromUtf8(command.bytes).chopped(2).mid(3); // NAME=value
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        const QString name = text.left(equals);
        const QString value = text.mid(equals + 1);
        if (silent.contains(name))
            return true;
        QByteArray answer = "ERROR\r\n";
        if (!failing.contains(name)) {
            if (value == QLatin1String("?")) {
                // Answers carry no quotes around a whole value.
                QString stored = values.value(name);
                if (FindParameterByName(name)->quote)
                    stored = stored.mid(1, stored.size() - 2);
                answer = stored.toUtf8() + "\r\n";
            } else {
                values.insert(name, value);
                answer = "OK\r\n";
            }
        }
        QTimer::singleShot(late.contains(name) ? lateMs : 0, this,
                           [this, answer] { Q_EMIT replyReceived(answer); });
        return true;
    }
};

// A module's values as a profile holds them: NAME=value, as each set command carries the value.
const QByteArray kProfile = R"(# start values
WIFIMODE=2
DHCP=1
APINF="Lumora","58302917",6,1,4
APIP="192.168.4.1","255.255.255.0","192.168.4.1"
APMAC="5C:CF:7F:01:02:04"
STACONFIG="lab","secret"
STATIONIP="192.168.1.50","255.255.255.0","192.168.1.1"
STAMAC="5C:CF:7F:01:02:03"
NAME="admin"
PWD="admin"
httpserver=http://www.example.com/qx5120
PTHPORT=5000
REMOTEIP="127.0.0.1"
REMOTEPORT=9500
TRANTYPE=0
SINGELEN=1
HEARTBEATT=120
DEVID=00000000000
ZONE=0000
ZONEEN=0
BAUD=115200
UART=8,0,1
RCVTIMEOUT=20
RCVMAX=2048
MSGEN=0
CONNREMOTE=1
PTHSERVEREN=1
CMDSERVEREN=1
SERVERTIME=600
CMDMAXCONN=1
PTHMAXCONN=8
)";

ModuleValues moduleValues()
{
    ModuleValues values;
    for (const QByteArray &line : kProfile.split('\n')) {
        const QString text = QString::fromUtf8(line);
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(text.left(equals), text.mid(equals + 1));
    }
    return values;
}

QList<RowOutcome::State> statesOf(const ParameterRun &run)
{
    QList<RowOutcome::State> states;
    for (const RowOutcome &outcome : run.outcomes())
        states << outcome.state;
    return states;
}

// However long it takes: a run that never ends is a hang for the test runner to stop.
void runToEnd(ParameterRun &run)
{
    QEventLoop loop;
    QObject::connect(&run, &ParameterRun::finished, &loop, &QEventLoop::quit);
    if (run.isRunning())
        loop.exec();
}

} // namespace

class ProfilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyRowSurvivesAProfile();
    void linesAsWritten_data();
    void linesAsWritten();
    void badFilesNameTheirLines_data();
    void badFilesNameTheirLines();
    void readAllThenApplyWritesOnlyTheDifferences();
    void failuresAreReportedRowByRow();
    void lostLinkEndsTheRun();
    void lateAnswerIsNotTheNextRowsValue();
    void replyFrameMissingAFieldSaysWhich();
};

void ProfilesTest::everyRowSurvivesAProfile()
{
    const ModuleValues values = moduleValues();
    QCOMPARE(values.size(), 31);
    QCOMPARE(FormatProfile(values, {QStringLiteral("start values")}), kProfile);
    const Profile profile = ParseProfile(kProfile);
    QVERIFY2(profile.isValid(), qPrintable(profile.problems.value(0).message()));
    QCOMPARE(profile.lines.size(), 31);
    for (const ProfileLine &line : profile.lines)
        QCOMPARE(line.value, values.value(line.row->atName));

    // Chinese text and commas inside quotes go through as they are.
    const QString station = QStringLiteral("\"我的,网\",\"pw,1\"");
    QVERIFY(!CheckProfileValue(*FindParameterByName(QStringLiteral("STACONFIG")), station));
}

void ProfilesTest::linesAsWritten_data()
{
    // A line as a person writes it; the value it gives, or the problem it is refused for (English,
    // Chinese where given).
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("blanks around =") << QByteArray("WIFIMODE = 2  ") << "2"
                                     << ""
                                     << "";
    QTest::newRow("tabs everywhere") << QByteArray("\tREMOTEPORT\t=\t9623\t \r") << "9623"
                                     << ""
                                     << "";
    QTest::newRow("blanks inside quotes")
        << QByteArray("STACONFIG = \"my net \",\"pw\"\t") << R"("my net ","pw")"
        << ""
        << "";
    QTest::newRow("blank SSID") << QByteArray(R"(STACONFIG="","pw")") << ""
                                << "value refused"
                                << "";
    QTest::newRow("mode out of the list") << QByteArray("WIFIMODE=7") << ""
                                          << "value refused"
                                          << "";
    QTest::newRow("mode with a zero") << QByteArray("WIFIMODE=02") << ""
                                      << "line 2: the module would be sent WIFIMODE=2"
                                      << "第2行：实际将发送 WIFIMODE=2";
    QTest::newRow("baud not offered") << QByteArray("BAUD=12345") << ""
                                      << "value refused"
                                      << "";
    QTest::newRow("blank inside a number") << QByteArray("BAUD=115 200") << ""
                                           << "value refused"
                                           << "";
    QTest::newRow("lower-case MAC") << QByteArray(R"(STAMAC="aa:bb:cc:dd:ee:ff")") << ""
                                    << R"(would be sent STAMAC="AA:BB:CC:DD:EE:FF")"
                                    << "";
    QTest::newRow("short device ID") << QByteArray("DEVID=123") << ""
                                     << "value refused"
                                     << "";
    QTest::newRow("not GBK") << QByteArray(R"(STACONFIG = "Café 网络","pässwörd")") << ""
                             << R"(line 2, column 25: "ä" (U+00E4) cannot be sent: the module takes GBK text)"
                             << R"(第2行第25列："ä"（U+00E4）无法发送：模块只接受GBK文本)";
    QTest::newRow("not GBK, outside the BMP") << QByteArray("NAME=\"a\xF0\x9F\x98\x80\"") << ""
                                              << "line 2, column 8: \"\xF0\x9F\x98\x80\" (U+1F600) cannot"
                                              << "";
}

void ProfilesTest::linesAsWritten()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    const Profile profile = ParseProfile("# one line\n" + line + '\n');
    if (!value.isEmpty()) {
        QVERIFY2(profile.isValid(), qPrintable(profile.problems.value(0).message()));
        QCOMPARE(profile.lines.size(), 1);
        QCOMPARE(profile.lines.first().value, value);
        return;
    }
    QCOMPARE(profile.lines.size(), 0);
    QCOMPARE(profile.problems.size(), 1);
    QCOMPARE(profile.problems.first().line, 2);
    const QString message = profile.problems.first().message();
    QVERIFY2(message.contains(english), qPrintable(message));
    const ChineseCatalogue inChinese;
    QVERIFY(ParseProfile("# one line\n" + line + '\n')
                .problems.first()
                .message()
                .startsWith(chinese.isEmpty() ? QStringLiteral("第2行") : chinese));
}

void ProfilesTest::badFilesNameTheirLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("says");
    const QByteArray good = "BAUD=115200\r\n";
    QTest::newRow("00 byte") << good + QByteArray("DHCP=1\0\n", 8) << 2 << "00 byte";
    QTest::newRow("GBK") << good + "STANAME=\"" + QByteArray("\xCE\xD2", 2) + "\"\n" << 2 << "not UTF-8";
    QTest::newRow("cut UTF-8") << QByteArray("# \xE6\x88\n") + good << 1 << "not UTF-8";
    QTest::newRow("1 MiB line") << good + "#" + QByteArray(1024 * 1024 - 100, 'x') + "\n"
                                << 2 << "longer than";
    QTest::newRow("over 1 MiB") << QByteArray(1024 * 1024 + 1, '#') << 0 << "larger than";
    QTest::newRow("unknown") << good + "BAUDRATE=9600\n" << 2 << "BAUDRATE: unknown";
    QTest::newRow("twice") << good + "baud=9600\n" << 2 << "first on line 1";
    QTest::newRow("no =") << good + "DHCP\n" << 2 << "not NAME=value";
    QTest::newRow("10 000 lines") << QByteArray("X=1\n").repeated(10000) << 1 << "unknown";
}

void ProfilesTest::badFilesNameTheirLines()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, says);
    const Profile profile = ParseProfile(file);
    QVERIFY(!profile.isValid());
    QVERIFY(profile.problems.size() <= kMaxProfileProblems + 1);
    QCOMPARE(profile.problems.first().line, line);
    QVERIFY2(profile.problems.first().message().contains(says),
             qPrintable(profile.problems.first().message()));
}

void ProfilesTest::readAllThenApplyWritesOnlyTheDifferences()
{
    ModuleChannel module;
    module.values = moduleValues();
    module.values.insert(QStringLiteral("STACONFIG"), QStringLiteral("\"lab,2\",\"secret\""));
    ParameterRun run(&module);
    run.startRead();
    runToEnd(run);
    QCOMPARE(statesOf(run), QList<RowOutcome::State>(31, RowOutcome::State::Read));
    QCOMPARE(run.moduleValues(), module.values);
    QCOMPARE(run.fields().value(Field::StaSsid).text, QStringLiteral("lab,2"));

    // The profile of another module: two rows differ.
    ModuleValues wanted = moduleValues();
    wanted.insert(QStringLiteral("BAUD"), QStringLiteral("9600"));
    wanted.insert(QStringLiteral("DEVID"), QStringLiteral("12345678901"));
    const Profile profile = ParseProfile(QByteArray(kProfile)
                                             .replace("BAUD=115200", "BAUD=9600")
                                             .replace("DEVID=00000000000", "DEVID=12345678901"));
    QVERIFY(profile.isValid());

    module.sent.clear();
    run.startApply(profile, run.moduleValues(), false, true);
    runToEnd(run);
    QCOMPARE(module.sent, (QList<QByteArray>{"AT+STACONFIG=\"lab\",\"secret\"\r\n", "AT+STACONFIG=?\r\n",
                                             "AT+DEVID=12345678901\r\n", "AT+DEVID=?\r\n", "AT+BAUD=9600\r\n",
                                             "AT+BAUD=?\r\n"}));
    QCOMPARE(module.values, wanted);
    QCOMPARE(statesOf(run).count(RowOutcome::State::Verified), 3);
    QCOMPARE(statesOf(run).count(RowOutcome::State::Same), 28);

    // Unknown module values: read first, write what differs.
    module.sent.clear();
    run.startApply(profile, {}, false, false);
    runToEnd(run);
    QCOMPARE(module.sent.size(), 31);
    QCOMPARE(statesOf(run).count(RowOutcome::State::Same), 31);
    QCOMPARE(module.sentWithoutLineEnd, 0);
    QVERIFY(!module.lineEnd);
}

void ProfilesTest::failuresAreReportedRowByRow()
{
    ModuleChannel module;
    module.values = moduleValues();
    module.failing = QStringList{QStringLiteral("BAUD")};
    module.silent = QStringList{QStringLiteral("DHCP")};
    ParameterRun run(&module);
    run.setTimeoutMs(50);
    run.startRead();
    runToEnd(run);
    QCOMPARE(statesOf(run).count(RowOutcome::State::Read), 29);
    for (const RowOutcome &outcome : run.outcomes()) {
        if (outcome.row->atName == QLatin1String("BAUD"))
            QCOMPARE(outcome.detail, QStringLiteral("refused: ERROR"));
        if (outcome.row->atName == QLatin1String("DHCP"))
            QCOMPARE(outcome.detail, QStringLiteral("no reply within 50 ms"));
    }

    // A write the module refuses, and one it never answers.
    const ModuleValues known = run.moduleValues();
    const Profile profile = ParseProfile("BAUD=9600\nDHCP=0\nRCVMAX=512\n");
    run.startApply(profile, known, false, true);
    runToEnd(run);
    // In catalogue order: DHCP, BAUD, RCVMAX.
    QCOMPARE(statesOf(run), (QList<RowOutcome::State>{RowOutcome::State::Failed, RowOutcome::State::Failed,
                                                      RowOutcome::State::Verified}));
    QCOMPARE(run.outcomes().at(0).detail, QStringLiteral("no reply within 50 ms"));
    QCOMPARE(run.outcomes().at(1).detail, QStringLiteral("refused: ERROR"));
    const ChineseCatalogue inChinese;
    run.startApply(profile, known, false, true);
    runToEnd(run);
    QCOMPARE(run.outcomes().at(0).detail, QStringLiteral("50毫秒内没有应答"));
    QCOMPARE(run.outcomes().at(1).detail, QStringLiteral("被拒绝：ERROR"));
    QVERIFY(!module.lineEnd);
}

void ProfilesTest::lostLinkEndsTheRun()
{
    ModuleChannel module;
    module.values = moduleValues();
    module.loseAfter = 5;
    ParameterRun run(&module);
    QSignalSpy finished(&run, &ParameterRun::finished);
    run.startRead();
    runToEnd(run);
    QCOMPARE(finished.first().at(0).toBool(), false);
    QCOMPARE(finished.first().at(1).toString(), QStringLiteral("connection closed"));
    QCOMPARE(statesOf(run).count(RowOutcome::State::Read), 5);
    QCOMPARE(run.outcomes().at(5).state, RowOutcome::State::NotRead);
    QCOMPARE(module.sent.size(), 6);
    QVERIFY(!module.lineEnd);

    // Cancelled: the link's other users get their framing back as well.
    module.loseAfter = -1;
    connect(&run, &ParameterRun::rowFinished, &run, [&run] { run.cancel(); });
    run.startRead();
    runToEnd(run);
    QCOMPARE(module.sent.size(), 7);
    QVERIFY(!module.lineEnd);
}

void ProfilesTest::lateAnswerIsNotTheNextRowsValue()
{
    ModuleChannel module;
    module.values = moduleValues();
    module.late = QStringList{QStringLiteral("BAUD")};
    module.lateMs = 150;
    ParameterRun run(&module);
    run.setTimeoutMs(100);
    const QList<const ParameterRow *> rows{FindParameterByName(QStringLiteral("BAUD")),
                                           FindParameterByName(QStringLiteral("RCVMAX"))};
    run.startRead(rows);
    runToEnd(run);
    QCOMPARE(run.outcomes().at(0).state, RowOutcome::State::NotRead);
    QCOMPARE(run.outcomes().at(1).moduleValue, std::optional<QString>(QStringLiteral("2048")));
}

void ProfilesTest::replyFrameMissingAFieldSaysWhich()
{
    // The Internet link's parameter list for the serial format carries data and stop bits, no parity.
    const QByteArray frame =
        QByteArray("\xA8\x81", 2) + "12345678901" + "0001" + QByteArray("\x09\x00\x00", 3) + "18=8;19=1;";
    FieldModel fields;
    const RowReading reading = TakeReadReply(*FindParameterByName(QStringLiteral("UART")), frame, fields);
    QCOMPARE(reading.result, RowReading::Result::NotSendable);
    QCOMPARE(reading.detail, QStringLiteral("the reply frame carries no value for Verify"));
    const ChineseCatalogue inChinese;
    QCOMPARE(TakeReadReply(*FindParameterByName(QStringLiteral("UART")), frame, fields).detail,
             QStringLiteral("应答帧中没有以下数值：校验"));
    QCOMPARE(fields.value(Field::DataBits).text, QStringLiteral("8"));
}

QTEST_GUILESS_MAIN(ProfilesTest)
#include "test_profiles.moc"
