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

// A module plugged in at path: qxsim serving a pseudo-terminal there. Unplugged when it goes.
std::unique_ptr<SimRun> plug(const QString &path, const QString &options, const QString &traffic = {})
{
    auto sim = std::make_unique<SimRun>();
    QString why;
    const QStringList arguments = QStringList{QStringLiteral("--pty")} +
                                  options.split(QLatin1Char(' '), Qt::SkipEmptyParts) + QStringList{path};
    return sim->start(arguments, &why, !traffic.isEmpty(), traffic) ? std::move(sim) : nullptr;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The line beside the test, its output read as it comes.
struct Line {
    Line(const QString &folder, const QStringList &arguments, const std::function<void()> &setup = {})
    {
        process.setWorkingDirectory(folder);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        process.setProcessEnvironment(env);
        process.setChildProcessModifier(setup ? setup : [] {});
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
    void signal(int number) { ::kill(static_cast<pid_t>(process.processId()), number); }
    QProcess process;
};
} // namespace

class TestProvision : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QFile file(folder(QStringLiteral("line.profile")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kProfile) == kProfile.size());
        options = QStringList{file.fileName(), QStringLiteral("--watch"),
                              QStringLiteral("mod*"), // from the working folder
                              QStringLiteral("--log"), folder(QStringLiteral("line.csv"))};
    }
    void modulesOneAfterAnother_data();
    void modulesOneAfterAnother();
    void linkFaultsLeaveTheLineGoing_data();
    void linkFaultsLeaveTheLineGoing();
    void stoppedOrKilledKeepsTheRecord();
    void logFaultsStopClearly_data();
    void logFaultsStopClearly();

private:
    QString folder(const QString &name) const { return QDir(dir->path()).filePath(name); }
    // pattern matches text in full; DIR/ stands for the test's folder, MAC for any station address.
    bool matches(QString pattern, const QByteArray &text) const
    {
        pattern.replace(QLatin1String("DIR/"), QRegularExpression::escape(dir->path() + QLatin1Char('/')))
            .replace(QLatin1String("MAC"), QLatin1String("[0-9A-F]{2}(:[0-9A-F]{2}){5}"));
        return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'))
            .match(QString::fromUtf8(text))
            .hasMatch();
    }
    // The log as a header and rows, each row matching its pattern after the time.
    void checkCsv(const QStringList &rows, const QString &path = {}) const
    {
        const QByteArray bytes = fileBytes(path.isEmpty() ? folder(QStringLiteral("line.csv")) : path);
        QVERIFY2(bytes.startsWith(kHeader) && bytes.endsWith("\r\n"), bytes.constData());
        const QList<QByteArray> lines = bytes.mid(kHeader.size()).chopped(1).split('\n');
        QCOMPARE(lines.size(), rows.size());
        for (qsizetype at = 0; at < rows.size(); ++at)
            QVERIFY2(
                matches(QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ,") + rows.at(at) + '\r',
                        lines.at(at)),
                lines.at(at).constData());
    }

    std::unique_ptr<QTemporaryDir> dir; // a new one for every test
    QStringList options;
};

void TestProvision::modulesOneAfterAnother_data()
{
    // qxsim options, one module after the other; "again": the last one unplugged and plugged in again
    QTest::addColumn<QStringList>("modules");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QStringList>("rows");
    const QString refused =
        QStringLiteral("NAME refused: ERROR; PTHPORT refused: ERROR; REMOTEPORT refused: ERROR");
    QTest::newRow("one refuses, the next passes")
        << QStringList{"--module 13800138001", "--module 13800138002 --error", "--module 13800138003"}
        << QStringList{"PASS 13800138001 DIR/mod 3 written", "FAIL \\? DIR/mod: " + refused,
                       "PASS 13800138003 DIR/mod 3 written"}
        << QStringList{"DIR/mod,13800138001,MAC,verified,3,", "DIR/mod,,,failed,0," + refused,
                       "DIR/mod,13800138003,MAC,verified,3,"};
    QTest::newRow("the same module twice")
        << QStringList{"--module 13800138001", "again"}
        << QStringList{"PASS 13800138001 DIR/mod 3 written", "PASS 13800138001 DIR/mod 0 written"}
        << QStringList{"DIR/mod,13800138001,MAC,verified,3,", "DIR/mod,13800138001,MAC,verified,0,"};
}

void TestProvision::modulesOneAfterAnother()
{
    QFETCH(QStringList, modules);
    QFETCH(QStringList, verdicts);
    QFETCH(QStringList, rows);
    const QString device = folder(QStringLiteral("mod"));
    // The first module is there before the line starts; the same path comes back with each next one.
    auto module = plug(device, modules.first());
    QVERIFY(module);
    Line line(dir->path(), options + QStringList{QStringLiteral("--count"), QString::number(modules.size())});
    for (qsizetype at = 0; at < modules.size(); ++at) {
        if (at > 0 && modules.at(at) == QLatin1String("again")) {
            QVERIFY(QFile::remove(device) && QFile::link(module->ptyPath(), device));
        } else if (at > 0) {
            module.reset();
            QVERIFY(module = plug(device, modules.at(at)));
        }
        const QByteArray verdict = line.next();
        QVERIFY2(matches(verdicts.at(at) + QLatin1Char('\n'), verdict), verdict.constData());
    }
    const auto failed = verdicts.filter(QRegularExpression(QStringLiteral("^FAIL"))).size();
    QCOMPARE(line.next(),
             QStringLiteral("%1 provisioned, %2 failed\n").arg(modules.size() - failed).arg(failed).toUtf8());
    QCOMPARE(line.end(), failed > 0 ? 1 : 0);
    checkCsv(rows);
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
        << true << "FAIL 13800138009 DIR/mod0: (.+; )?([A-Z]+ )?the serial port DIR/mod0 is gone .*"
        << "DIR/mod0,13800138009,MAC,link-error,\\d,\"(.+; )?([A-Z]+ )?the serial port DIR/mod0 is gone .*\"";
}

void TestProvision::linkFaultsLeaveTheLineGoing()
{
    QFETCH(bool, unplugged);
    QFETCH(QString, verdict);
    QFETCH(QString, row);
    const QString bad = folder(QStringLiteral("mod0"));
    const QString traffic = folder(QStringLiteral("traffic.log"));
    const PtyAnswerer silent{QByteArray()};
    const auto module =
        unplugged ? plug(bad, QStringLiteral("--module 13800138009 --delay 40"), traffic) : nullptr;
    QVERIFY(unplugged ? module != nullptr : QFile::link(silent.path(), bad));
    const auto good = plug(folder(QStringLiteral("mod1")), QStringLiteral("--module 13800138001"));
    QVERIFY(good);
    // The module dies once it has answered its identity and a row, half-way through the profile.
    std::thread killer([&] {
        const QDeadlineTimer deadline(20000);
        while (unplugged && fileBytes(traffic).count(" -> ") < 3 && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (unplugged)
            ::kill(static_cast<pid_t>(module->pid()), SIGKILL);
    });
    Line line(dir->path(), options + QStringList{"--count", "2", "--timeout", "300"});
    const QByteArray first = line.next();
    const QByteArray second = line.next();
    killer.join();
    QVERIFY2(matches(verdict + QLatin1Char('\n'), first), first.constData());
    QVERIFY2(second.startsWith("PASS 13800138001 "), second.constData());
    QCOMPARE(line.end(), 1);
    checkCsv({row, QStringLiteral(".*,13800138001,.*,verified,3,")});
}

void TestProvision::stoppedOrKilledKeepsTheRecord()
{
    const QString device = folder(QStringLiteral("mod"));
    auto module = plug(device, QStringLiteral("--module 13800138001"));
    QVERIFY(module);
    Line killed(dir->path(), options);
    QVERIFY(killed.next().startsWith("PASS 13800138001 "));
    killed.signal(SIGKILL);
    QCOMPARE(killed.end(), -1);
    checkCsv({QStringLiteral(".*,verified,3,")});

    // A stop asked for while a module is in hand ends after that module, with the summary.
    module.reset();
    const QString traffic = folder(QStringLiteral("traffic.log"));
    QVERIFY(module = plug(device, QStringLiteral("--module 13800138002 --delay 40"), traffic));
    Line line(dir->path(), options);
    const QDeadlineTimer deadline(20000);
    while (!fileBytes(traffic).contains(" -> ") && !deadline.hasExpired())
        QTest::qWait(5);
    line.signal(SIGTERM);
    QVERIFY(line.next().startsWith("PASS 13800138002 "));
    QCOMPARE(line.next(), QByteArray("1 provisioned, 0 failed\n"));
    QCOMPARE(line.end(), 0);
    checkCsv(
        {QStringLiteral(".*,13800138001,.*,verified,3,"), QStringLiteral(".*,13800138002,.*,verified,3,")});
}

void TestProvision::logFaultsStopClearly_data()
{
    QTest::addColumn<QString>("logPath");
    QTest::addColumn<qint64>("sizeLimit"); // bytes the log may grow to; 0: no limit
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("full device") << "/dev/full" << qint64(0)
                                 << QByteArray(
                                        "qxctl: cannot write the log /dev/full: No space left on device\n");
    QTest::newRow("no such folder") << "none/line.csv" << qint64(0)
                                    << QByteArray(": No such file or directory\n");
    QTest::newRow("full while logging")
        << "line.csv" << qint64(kHeader.size() + 150) << QByteArray(": File too large\n");
}

void TestProvision::logFaultsStopClearly()
{
    QFETCH(QString, logPath);
    QFETCH(qint64, sizeLimit);
    QFETCH(QByteArray, err);
    logPath = folder(logPath);
    const QString traffic = folder(QStringLiteral("traffic.log"));
    const auto first = plug(folder(QStringLiteral("mod1")), QStringLiteral("--module 13800138001"), traffic);
    const auto second = plug(folder(QStringLiteral("mod2")), QStringLiteral("--module 13800138002"));
    QVERIFY(first && second);
    Line line(dir->path(), options.mid(0, 4) + QStringList{logPath}, [sizeLimit] {
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
        checkCsv({QStringLiteral(".*,13800138001,.*,verified,3,")}, logPath); // the rows before stay whole
    else
        QVERIFY(!fileBytes(traffic).contains("<- ")); // nothing provisioned
}

QTEST_GUILESS_MAIN(TestProvision)
#include "test_provision.moc"
