// qxctl provision as a production line runs it: simulated modules come and go as symlinks in a watched
// folder, and what is checked is what the operator and the record get: the verdict lines, the CSV
// bytes, the exit code.

#include "CtlRig.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {
const QByteArray kProfile = "NAME=\"line 1\"\nPTHPORT=9001\nREMOTEPORT=9600\n";
const QByteArray kHeader = "\xEF\xBB\xBFtime,device,devid,stamac,result,written,detail\r\n";
const QString kTime = QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ,");
const QString kMac = QStringLiteral("[0-9A-F]{2}(:[0-9A-F]{2}){5}");

// A module plugged in at path: qxsim serving a pseudo-terminal there. Unplugged when it goes.
std::unique_ptr<SimRun> plug(const QString &path, const QString &options = {}, const QString &traffic = {})
{
    auto sim = std::make_unique<SimRun>();
    QString why;
    const QStringList arguments = QStringList{QStringLiteral("--pty")} +
                                  options.split(QLatin1Char(' '), Qt::SkipEmptyParts) + QStringList{path};
    return sim->start(arguments, &why, !traffic.isEmpty(), traffic) ? std::move(sim) : nullptr;
}

// The line beside the test, its output read as it comes.
struct Line {
    explicit Line(const QStringList &arguments, const std::function<void()> &setup = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        process.setProcessEnvironment(env);
        if (setup)
            process.setChildProcessModifier(setup);
        process.start(qEnvironmentVariable("QXCTL"), QStringList{QStringLiteral("provision")} + arguments);
    }
    ~Line()
    {
        process.kill();
        process.waitForFinished();
    }
    QByteArray next()
    {
        while (!process.canReadLine() && process.waitForReadyRead(30000)) {
        }
        return process.readLine();
    }
    int end()
    {
        const bool ended = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
        return ended ? process.exitCode() : -1;
    }
    QProcess process;
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The CSV as a header and rows, each row matching its pattern in full.
void checkCsv(const QString &path, const QStringList &rows)
{
    const QByteArray bytes = fileBytes(path);
    QVERIFY2(bytes.startsWith(kHeader) && bytes.endsWith("\r\n"), bytes.constData());
    const QList<QByteArray> lines = bytes.mid(kHeader.size()).chopped(1).split('\n');
    QCOMPARE(lines.size(), rows.size());
    for (qsizetype at = 0; at < rows.size(); ++at) {
        const QRegularExpression row(QStringLiteral("^") + kTime + rows.at(at) + QStringLiteral("\r$"));
        QVERIFY2(row.match(QString::fromUtf8(lines.at(at))).hasMatch(), lines.at(at).constData());
    }
}
} // namespace

class TestProvision : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QFile file(folder(QStringLiteral("line.profile")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kProfile) == kProfile.size());
        profile = file.fileName();
        log = folder(QStringLiteral("line.csv"));
        glob = folder(QStringLiteral("mod*"));
    }
    void modulesOneAfterAnother_data();
    void modulesOneAfterAnother();
    void linkFaultsLeaveTheLineGoing_data();
    void linkFaultsLeaveTheLineGoing();
    void stoppedOrKilledKeepsTheRecord();
    void logFaultsStopClearly_data();
    void logFaultsStopClearly();

private:
    QString folder(const QString &name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir; // a new one for every test
    QString profile;
    QString log;
    QString glob;
};

void TestProvision::modulesOneAfterAnother_data()
{
    // qxsim options, one module after the other; "again": the last one unplugged and plugged in again
    QTest::addColumn<QStringList>("modules");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("one refuses, the next passes")
        << QStringList{"--module 13800138001", "--module 13800138002 --error", "--module 13800138003"}
        << QStringList{"PASS 13800138001 DIR/mod 3 written",
                       "FAIL \\? DIR/mod: NAME refused: ERROR; PTHPORT "
                       "refused: ERROR; REMOTEPORT refused: ERROR",
                       "PASS 13800138003 DIR/mod 3 written"}
        << QStringList{"DIR/mod,13800138001,MAC,verified,3,",
                       "DIR/mod,,,failed,0,NAME refused: ERROR; "
                       "PTHPORT refused: ERROR; REMOTEPORT refused: ERROR",
                       "DIR/mod,13800138003,MAC,verified,3,"}
        << 1;
    QTest::newRow("the same module twice")
        << QStringList{"--module 13800138001", "again"}
        << QStringList{"PASS 13800138001 DIR/mod 3 written", "PASS 13800138001 DIR/mod 0 written"}
        << QStringList{"DIR/mod,13800138001,MAC,verified,3,", "DIR/mod,13800138001,MAC,verified,0,"} << 0;
}

void TestProvision::modulesOneAfterAnother()
{
    QFETCH(QStringList, modules);
    QFETCH(QStringList, verdicts);
    QFETCH(QStringList, rows);
    QFETCH(int, exitCode);
    const QString device = folder(QStringLiteral("mod"));
    const auto fill = [&](QString text) {
        return text.replace(QLatin1String("DIR/mod"), QRegularExpression::escape(device))
            .replace(QLatin1String("MAC"), kMac);
    };
    // The first module is there before the line starts; the same path comes back with each next one.
    auto module = plug(device, modules.first());
    QVERIFY(module);
    Line line({profile, QStringLiteral("--watch"), glob, QStringLiteral("--log"), log,
               QStringLiteral("--count"), QString::number(modules.size())});
    for (qsizetype at = 0; at < modules.size(); ++at) {
        if (at > 0 && modules.at(at) == QLatin1String("again")) {
            QVERIFY(QFile::remove(device) && QFile::link(module->ptyPath(), device));
        } else if (at > 0) {
            module.reset();
            QVERIFY(module = plug(device, modules.at(at)));
        }
        const QByteArray verdict = line.next();
        QVERIFY2(QRegularExpression(QLatin1Char('^') + fill(verdicts.at(at)) + QStringLiteral("\n$"))
                     .match(QString::fromUtf8(verdict))
                     .hasMatch(),
                 verdict.constData());
    }
    const auto failed = std::count_if(verdicts.cbegin(), verdicts.cend(),
                                      [](const QString &verdict) { return verdict.startsWith("FAIL"); });
    QCOMPARE(line.next(),
             QStringLiteral("%1 provisioned, %2 failed\n").arg(modules.size() - failed).arg(failed).toUtf8());
    QCOMPARE(line.end(), exitCode);
    for (QString &row : rows)
        row = fill(row);
    checkCsv(log, rows);
}

void TestProvision::linkFaultsLeaveTheLineGoing_data()
{
    QTest::addColumn<bool>("unplugged"); // else: a device that never answers
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("row");
    QTest::newRow("not a module")
        << false << "FAIL \\? DIR/mod0: no answer: not a module, or not at this baud rate"
        << "DIR/mod0,,,link-error,0,\"no answer: not a module, or not at this baud rate\"";
    QTest::newRow("unplugged mid-run")
        << true << "FAIL 13800138009 DIR/mod0: (.+; )?the serial port DIR/mod0 is gone .*"
        << "DIR/mod0,13800138009,MAC,link-error,\\d,\"(.+; )?the serial port DIR/mod0 is gone .*\"";
}

void TestProvision::linkFaultsLeaveTheLineGoing()
{
    QFETCH(bool, unplugged);
    QFETCH(QString, verdict);
    QFETCH(QString, row);
    const QString bad = folder(QStringLiteral("mod0"));
    const QString traffic = folder(QStringLiteral("traffic.log"));
    int master = -1;
    int slave = -1;
    std::unique_ptr<SimRun> module;
    if (unplugged) {
        QVERIFY(module = plug(bad, QStringLiteral("--module 13800138009 --delay 40"), traffic));
    } else {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
            QSKIP("no pseudo-terminal available");
        QVERIFY(::symlink(name, QFile::encodeName(bad).constData()) == 0);
    }
    const auto good = plug(folder(QStringLiteral("mod1")), QStringLiteral("--module 13800138001"));
    QVERIFY(good);
    // The module dies once it has answered its identity and a row, half-way through the profile.
    std::thread killer([pid = unplugged ? module->pid() : 0, traffic] {
        const QDeadlineTimer deadline(20000);
        while (pid != 0 && fileBytes(traffic).count(" -> ") < 3 && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (pid != 0)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    });
    Line line({profile, QStringLiteral("--watch"), glob, QStringLiteral("--log"), log,
               QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--timeout"),
               QStringLiteral("300")});
    const QByteArray first = line.next();
    const QByteArray second = line.next();
    killer.join();
    const auto fill = [&](QString text) {
        return text.replace(QLatin1String("DIR/mod0"), QRegularExpression::escape(bad))
            .replace(QLatin1String("MAC"), kMac);
    };
    QVERIFY2(QRegularExpression(QLatin1Char('^') + fill(verdict) + QStringLiteral("\n$"))
                 .match(QString::fromUtf8(first))
                 .hasMatch(),
             first.constData());
    QVERIFY2(second.startsWith("PASS 13800138001 "), second.constData());
    QCOMPARE(line.end(), 1);
    checkCsv(log, {fill(row), QStringLiteral(".*,13800138001,.*,verified,3,")});
    ::close(master);
    ::close(slave);
}

void TestProvision::stoppedOrKilledKeepsTheRecord()
{
    const QString device = folder(QStringLiteral("mod"));
    const QStringList arguments{profile, QStringLiteral("--watch"), glob, QStringLiteral("--log"), log};
    {
        const auto module = plug(device, QStringLiteral("--module 13800138001"));
        QVERIFY(module);
        Line line(arguments);
        QVERIFY(line.next().startsWith("PASS 13800138001 "));
        ::kill(static_cast<pid_t>(line.process.processId()), SIGKILL);
        QCOMPARE(line.end(), -1);
    }
    checkCsv(log, {QStringLiteral(".*,verified,3,")});

    // A stop asked for while a module is in hand ends after that module, with the summary.
    const QString traffic = folder(QStringLiteral("traffic.log"));
    const auto module = plug(device, QStringLiteral("--module 13800138002 --delay 40"), traffic);
    QVERIFY(module);
    Line line(arguments);
    const QDeadlineTimer deadline(20000);
    while (!fileBytes(traffic).contains(" -> ") && !deadline.hasExpired())
        QTest::qWait(5);
    ::kill(static_cast<pid_t>(line.process.processId()), SIGTERM);
    QVERIFY(line.next().startsWith("PASS 13800138002 "));
    QCOMPARE(line.next(), QByteArray("1 provisioned, 0 failed\n"));
    QCOMPARE(line.end(), 0);
    checkCsv(log, {QStringLiteral(".*,13800138001,.*,verified,3,"),
                   QStringLiteral(".*,13800138002,.*,verified,3,")});
}

void TestProvision::logFaultsStopClearly_data()
{
    QTest::addColumn<QString>("logPath");
    QTest::addColumn<qint64>("sizeLimit"); // bytes the log may grow to; 0: no limit
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("full device") << "/dev/full" << qint64(0)
                                 << QByteArray(
                                        "qxctl: cannot write the log /dev/full: No space left on device\n");
    QTest::newRow("no such folder") << "DIR/none/line.csv" << qint64(0)
                                    << QByteArray(": No such file or directory\n");
    QTest::newRow("full while logging")
        << "DIR/line.csv" << qint64(kHeader.size() + 150) << QByteArray(": File too large\n");
}

void TestProvision::logFaultsStopClearly()
{
    QFETCH(QString, logPath);
    QFETCH(qint64, sizeLimit);
    QFETCH(QByteArray, err);
    logPath.replace(QLatin1String("DIR"), dir->path());
    const QString traffic = folder(QStringLiteral("traffic.log"));
    const auto first = plug(folder(QStringLiteral("mod1")), QStringLiteral("--module 13800138001"), traffic);
    const auto second = plug(folder(QStringLiteral("mod2")), QStringLiteral("--module 13800138002"));
    QVERIFY(first && second);
    Line line({profile, QStringLiteral("--watch"), glob, QStringLiteral("--log"), logPath}, [sizeLimit] {
        const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
        if (sizeLimit > 0)
            ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    QCOMPARE(line.end(), 2);
    const QByteArray said = line.process.readAllStandardOutput();
    QVERIFY2(sizeLimit > 0 ? said.startsWith("PASS 13800138001 ") && !said.contains("13800138002")
                           : said.isEmpty(),
             said.constData());
    QVERIFY2(line.process.readAllStandardError().endsWith(err), qPrintable(logPath));
    if (sizeLimit > 0)
        checkCsv(logPath, {QStringLiteral(".*,13800138001,.*,verified,3,")}); // the rows before stay whole
    else
        QVERIFY(!fileBytes(traffic).contains("<- ")); // nothing provisioned
}

QTEST_GUILESS_MAIN(TestProvision)
#include "test_provision.moc"
