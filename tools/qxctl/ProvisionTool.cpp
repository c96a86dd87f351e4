#include "ApplyTool.h"
#include "ArgumentParsing.h"
#include "CsvLog.h"
#include "DeviceWatcher.h"
#include "LinkSession.h"
#include "ProfileFile.h"
#include "StopSignals.h"
#include "Terminal.h"
#include "Tools.h"
#include "links/channels/SerialChannel.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <csignal>
#include <unistd.h>

namespace {
const QString kCommand = QStringLiteral("provision");
const QString kWatch = QStringLiteral("watch");
const QString kBaud = QStringLiteral("baud");
const QString kFormat = QStringLiteral("format");
const QString kLog = QStringLiteral("log");
const QString kCount = QStringLiteral("count");
const QString kTimeout = QStringLiteral("timeout");
const QString kVerbose = QStringLiteral("verbose");

// A new device node gets its group and mode from the system's rules a moment after it appears.
constexpr int kSettleMs = 500;
constexpr int kSettleStepMs = 25;

struct ModuleRecord {
    enum class Result { Verified, Failed, LinkError };

    QString device;
    QString devid;
    QString stamac;
    Result result = Result::LinkError;
    int written = 0;
    QStringList problems; // each failed row with its reply, then why the link failed
};

// The record's own words: the same in every language, for scripts and spreadsheets.
QString resultWord(ModuleRecord::Result result)
{
    switch (result) {
    case ModuleRecord::Result::Verified:
        return QStringLiteral("verified");
    case ModuleRecord::Result::Failed:
        return QStringLiteral("failed");
    case ModuleRecord::Result::LinkError:
        break;
    }
    return QStringLiteral("link-error");
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// False when the device went away again before it could be used.
bool settle(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    int readyChecks = 0;
    while (readyChecks < 2 && clock.elapsed() < kSettleMs) {
        if (!QFile::exists(path))
            return false;
        readyChecks = ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0 ? readyChecks + 1 : 0;
        if (readyChecks < 2)
            pause(kSettleStepMs);
    }
    return QFile::exists(path);
}

// A profile's text value without its quotes: the record holds the address alone.
QString unquoted(const QString &value)
{
    const bool quoted =
        value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'));
    return quoted ? value.mid(1, value.size() - 2) : value;
}

// Each row that does not hold the profile's value, and why; the rows that were written.
void takeOutcomes(const QList<RowOutcome> &outcomes, ModuleRecord &record)
{
    for (const RowOutcome &outcome : outcomes) {
        if (outcome.state == RowOutcome::State::Verified || outcome.state == RowOutcome::State::Written)
            ++record.written;
        else if (outcome.state == RowOutcome::State::Failed)
            record.problems << outcome.row->atName + QLatin1Char(' ') + outcome.detail;
        // The profile may give the module its identity.
        if (RowHolds(outcome) && outcome.state != RowOutcome::State::Same) {
            if (outcome.row->atName == QLatin1String("DEVID"))
                record.devid = outcome.profileValue;
            else if (outcome.row->atName == QLatin1String("STAMAC"))
                record.stamac = unquoted(outcome.profileValue);
        }
    }
}

struct LineSettings {
    SerialSettings serial;
    int timeoutMs = LinkSession::kSerialTimeoutMs;
    bool verbose = false;
};

ModuleRecord provision(const QString &device, const LineSettings &line, const Profile &profile)
{
    ModuleRecord record;
    record.device = device;
    QObject owner;
    SerialSettings settings = line.serial;
    settings.device = device;
    auto *channel = new SerialChannel(settings, &owner);
    bool heard = false;
    QObject::connect(channel, &OpenChannel::bytesReceived, &owner, [&heard, &line](const QByteArray &bytes) {
        heard = true;
        if (line.verbose)
            DumpTraffic(false, bytes);
    });
    if (line.verbose)
        QObject::connect(channel, &OpenChannel::bytesSent, &owner,
                         [](const QByteArray &bytes) { DumpTraffic(true, bytes); });
    QString reason;
    if (!channel->open(line.timeoutMs, &reason)) {
        record.problems << reason;
        return record;
    }

    // The identity first: a device that says nothing to it is no module, and is not worth a time-out
    // on every row of the profile.
    ParameterRun identity(channel);
    identity.setTimeoutMs(line.timeoutMs);
    const QList<const ParameterRow *> identityRows = {FindParameterByName(QStringLiteral("DEVID")),
                                                      FindParameterByName(QStringLiteral("STAMAC"))};
    const RunEnd identified = RunToEnd(identity, [&] { identity.startRead(identityRows); });
    const ModuleValues values = identity.moduleValues();
    record.devid = values.value(QStringLiteral("DEVID"));
    record.stamac = unquoted(values.value(QStringLiteral("STAMAC")));
    if (!identified.completed || !heard) {
        record.problems << (identified.completed
                                ? Qxctl::tr("no answer: not a module, or not at this baud rate")
                                : identified.reason);
        return record;
    }

    ParameterRun run(channel);
    run.setTimeoutMs(line.timeoutMs);
    const RunEnd end = ApplyProfile(run, profile, false, true);
    takeOutcomes(run.outcomes(), record);
    // The row in hand when the link went names the reason already.
    if (!end.completed && (record.problems.isEmpty() || !record.problems.constLast().endsWith(end.reason)))
        record.problems << end.reason;
    else if (end.completed)
        record.result =
            record.problems.isEmpty() ? ModuleRecord::Result::Verified : ModuleRecord::Result::Failed;
    return record;
}

void printVerdict(const ModuleRecord &record)
{
    const bool terminal = ::isatty(STDOUT_FILENO);
    const bool passed = record.result == ModuleRecord::Result::Verified;
    const QString word = passed ? QStringLiteral("PASS") : QStringLiteral("FAIL");
    const QString shown = terminal ? (passed ? QStringLiteral("\033[32m") : QStringLiteral("\033[31m")) +
                                         word + QStringLiteral("\033[0m")
                                   : word;
    const QString who = shown + QLatin1Char(' ') +
                        (record.devid.isEmpty() ? QStringLiteral("?") : record.devid) + QLatin1Char(' ') +
                        record.device;
    ClearProgress();
    if (passed)
        PrintLine(who + QLatin1Char(' ') + Qxctl::tr("%1 written").arg(record.written));
    else
        PrintLine(who + QStringLiteral(": ") + record.problems.join(QStringLiteral("; ")) +
                  (terminal ? QStringLiteral("\a") : QString()));
}

void waitForChange(DeviceWatcher &watcher, StopSignals &stop)
{
    QEventLoop loop;
    QObject::connect(&watcher, &DeviceWatcher::changed, &loop, &QEventLoop::quit);
    QObject::connect(&stop, &StopSignals::stopRequested, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int ProvisionTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(
        parser, kCommand,
        QStringLiteral("PROFILE --watch GLOB [--baud N] [--format 8N1] [--log FILE.csv] [--count N] "
                       "[--timeout MS]"),
        Qxctl::tr("Applies a profile to module after module on serial devices matching GLOB, those present "
                  "at the start too: each new device is written and read back as apply does, then one line "
                  "says PASS or FAIL with the module's DEVID, and a CSV row records it. A device is taken "
                  "again once it has gone. SIGINT or SIGTERM ends after the module in hand. Exit 0 when "
                  "every module verified, 1 when any failed, 2 for usage, profile and log errors."));
    parser.addPositionalArgument(QStringLiteral("PROFILE"),
                                 Qxctl::tr("Profile file, or - for standard input."));
    parser.addOptions({
        {kWatch,
         Qxctl::tr("Serial devices to take, e.g. '/dev/ttyUSB*' or '/dev/serial/by-id/*' (quote "
                   "it, so that the shell leaves it alone)."),
         QStringLiteral("GLOB")},
        {kBaud, Qxctl::tr("Serial baud rate (default 115200)."), QStringLiteral("N")},
        {kFormat, Qxctl::tr("Serial data bits, parity (N/E/O/M/S), stop bits (default 8N1)."),
         QStringLiteral("FORMAT")},
        {kLog,
         Qxctl::tr("Append one row per module to FILE (created with a header when new): "
                   "time,device,devid,stamac,result,written,detail."),
         QStringLiteral("FILE.csv")},
        {kCount, Qxctl::tr("End after N modules."), QStringLiteral("N")},
        {kTimeout, Qxctl::tr("Wait at most MS for the port and for each reply (default 2000)."),
         QStringLiteral("MS")},
        {{QStringLiteral("v"), kVerbose}, Qxctl::tr("Show every byte sent and received on stderr.")},
    });
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;

    const auto refuse = [&parser](const QString &option) {
        return UsageError(kCommand, Qxctl::tr("bad --%1 '%2'").arg(option, parser.value(option)));
    };
    if (parser.positionalArguments().size() != 1)
        return UsageError(kCommand, Qxctl::tr("give one PROFILE"));
    if (!parser.isSet(kWatch))
        return UsageError(kCommand, Qxctl::tr("give the devices to watch: --watch GLOB"));
    const QString glob = parser.value(kWatch);
    QString error;
    if (!DeviceWatcher::checkGlob(glob, &error))
        return UsageError(kCommand, error);
    LineSettings line;
    line.verbose = parser.isSet(kVerbose);
    if (parser.isSet(kBaud) && !ParseNumber(parser.value(kBaud), 1, 4000000, &line.serial.baudRate))
        return refuse(kBaud);
    if (parser.isSet(kFormat) && !ParseSerialFormat(parser.value(kFormat), line.serial))
        return refuse(kFormat);
    if (parser.isSet(kTimeout) && !ParseNumber(parser.value(kTimeout), 1, 600000, &line.timeoutMs))
        return refuse(kTimeout);
    int count = 0; // no end
    if (parser.isSet(kCount) && !ParseNumber(parser.value(kCount), 1, 1000000000, &count))
        return refuse(kCount);

    const QString profilePath = parser.positionalArguments().constFirst();
    Profile profile;
    if (!LoadProfile(profilePath, &profile, &error)) {
        PrintError(error);
        return kExitTrouble;
    }
    if (!profile.isValid()) {
        PrintProfileProblems(profilePath, profile);
        return kExitTrouble;
    }
    // Refused now rather than after the first module has been written without a record.
    CsvLog log;
    if (parser.isSet(kLog) &&
        !log.open(parser.value(kLog),
                  {QStringLiteral("time"), QStringLiteral("device"), QStringLiteral("devid"),
                   QStringLiteral("stamac"), QStringLiteral("result"), QStringLiteral("written"),
                   QStringLiteral("detail")},
                  &error)) {
        PrintError(error);
        return kExitTrouble;
    }
    // A file size limit ends the log with an error, not the program with a signal.
    std::signal(SIGXFSZ, SIG_IGN);

    StopSignals stop;
    DeviceWatcher watcher(glob);
    int passed = 0;
    int failed = 0;
    int result = kExitOk;
    while (!stop.requested() && (count == 0 || passed + failed < count)) {
        const QString device = watcher.nextFresh();
        if (device.isEmpty()) {
            ShowProgress(Qxctl::tr("waiting for a device at %1").arg(glob));
            waitForChange(watcher, stop);
            continue;
        }
        if (!settle(device)) {
            PrintNote(Qxctl::tr("%1 went away at once").arg(device));
            continue;
        }
        watcher.take(device);
        if (stop.requested())
            break;
        ShowProgress(Qxctl::tr("provisioning %1").arg(device));
        const ModuleRecord record = provision(device, line, profile);
        (record.result == ModuleRecord::Result::Verified ? passed : failed) += 1;
        if (log.isOpen() &&
            !log.append({QDateTime::currentDateTimeUtc().toString(Qt::ISODate), record.device, record.devid,
                         record.stamac, resultWord(record.result), QString::number(record.written),
                         record.problems.join(QStringLiteral("; "))},
                        &error)) {
            PrintError(error);
            result = kExitTrouble;
            break;
        }
        printVerdict(record);
    }
    ClearProgress();
    PrintLine(Qxctl::tr("%1 provisioned, %2 failed").arg(passed).arg(failed));
    if (result == kExitOk && failed > 0)
        result = kExitSomeFailed;
    return result;
}
