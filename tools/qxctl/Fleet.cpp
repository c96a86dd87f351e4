#include "Fleet.h"

#include "ArgumentParsing.h"
#include "Terminal.h"
#include "links/channels/DeviceDiscovery.h"

#include <QTimer>
#include <algorithm>

namespace {
const QString kDiscovered = QStringLiteral("discovered");
const QString kAddress = QStringLiteral("address");
const QString kPort = QStringLiteral("port");
const QString kJobs = QStringLiteral("jobs");
const QString kTimeout = QStringLiteral("timeout");
constexpr int kMaxJobs = 1024;
} // namespace

void Fleet::addOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {kDiscovered, Qxctl::tr("Also work on every module that answers discovery, over its LAN port 8888 "
                                "(answers are awaited for --timeout MS, default 2000).")},
        {kAddress,
         Qxctl::tr("--discovered: send the request to ADDR (default 255.255.255.255, the local "
                   "network)."),
         QStringLiteral("ADDR")},
        {kPort, Qxctl::tr("--discovered: modules listen on PORT (default 6999)."), QStringLiteral("PORT")},
        {kJobs, Qxctl::tr("Work on at most N modules at once (default 16)."), QStringLiteral("N")},
    });
}

bool Fleet::wanted(const QCommandLineParser &parser, bool oneObjectPerModule)
{
    const qsizetype links = parser.values(QStringLiteral("serial")).size() +
                            parser.values(QStringLiteral("lan")).size() +
                            (parser.isSet(QStringLiteral("relay"))
                                 ? std::max<qsizetype>(parser.values(QStringLiteral("target")).size(), 1)
                                 : 0);
    return links > 1 || oneObjectPerModule || parser.isSet(kDiscovered) || parser.isSet(kAddress) ||
           parser.isSet(kPort) || parser.isSet(kJobs);
}

std::optional<int> Fleet::configure(const QString &subcommand, const QCommandLineParser &parser)
{
    QString error;
    QList<LinkChoice> links;
    if (!LinkSession::parseLinks(parser, &links, &error))
        return UsageError(subcommand, error);
    discovered_ = parser.isSet(kDiscovered);
    for (const QString &option : {kAddress, kPort}) {
        if (!discovered_ && parser.isSet(option))
            return UsageError(subcommand, Qxctl::tr("--%1 goes with --%2").arg(option, kDiscovered));
    }
    if (links.isEmpty() && !discovered_)
        return UsageError(subcommand, Qxctl::tr("give a link: --serial, --lan or --relay"));
    const struct {
        const QString &name;
        int minimum;
        int maximum;
        int *value;
    } numbers[] = {{kPort, 1, 65535, &discoveryPort_},
                   {kJobs, 1, kMaxJobs, &jobs_},
                   {kTimeout, 1, 600000, &lanTimeoutMs_}};
    discoveryPort_ = kDiscoveryPort;
    for (const auto &number : numbers) {
        if (parser.isSet(number.name) &&
            !ParseNumber(parser.value(number.name), number.minimum, number.maximum, number.value))
            return UsageError(subcommand,
                              Qxctl::tr("bad --%1 '%2'").arg(number.name, parser.value(number.name)));
    }
    address_ = parser.isSet(kAddress) ? parser.value(kAddress) : kDefaultDiscoveryAddress;
    verbose_ = LinkSession::verbose(parser);
    for (const LinkChoice &link : links)
        add(link);
    return std::nullopt;
}

int Fleet::run(const Work &work)
{
    work_ = work;
    working_ = true;
    if (discovered_) {
        QString error;
        if (!discover(&error)) {
            PrintError(error);
            exitCode_ = kExitTrouble;
        }
    }
    startNext();
    if (!ended_)
        loop_.exec();
    ClearProgress();
    const int total = counts_[kExitOk] + counts_[kExitSomeFailed] + counts_[kExitTrouble];
    if (total > counts_[kExitOk])
        PrintError(Qxctl::tr("of %1 modules: %2 done, %3 with rows failed or different, %4 with "
                             "link errors")
                       .arg(total)
                       .arg(counts_[kExitOk])
                       .arg(counts_[kExitSomeFailed])
                       .arg(counts_[kExitTrouble]));
    return exitCode_;
}

void Fleet::add(const LinkChoice &link)
{
    // A module named twice, or answering discovery twice, is worked on once.
    if (seen_.contains(link.name))
        return;
    seen_.insert(link.name);
    queue_ << link;
    startNext();
}

bool Fleet::discover(QString *error)
{
    auto *discovery = new DeviceDiscovery(this);
    if (verbose_)
        connect(discovery, &DeviceDiscovery::bytesSent, this,
                [this](const QByteArray &bytes) { DumpTraffic(true, bytes, address_); });
    connect(discovery, &DeviceDiscovery::answered, this,
            [this](const QHostAddress &sender, const QByteArray &answer) {
                if (verbose_)
                    DumpTraffic(false, answer, sender.toString());
                ++answers_;
                add(LinkSession::lanLink(sender.toString(), LinkSession::kDefaultPort, lanTimeoutMs_));
            });
    if (!discovery->send(kDiscoveryRequest, address_, static_cast<quint16>(discoveryPort_),
                         kDiscoveryLocalPort, error))
        return false;
    listening_ = true;
    // Modules found while others still answer are worked on at once.
    QTimer::singleShot(lanTimeoutMs_, this, [this, discovery] {
        listening_ = false;
        discovery->deleteLater();
        if (answers_ == 0) {
            PrintError(Qxctl::tr("no module answered discovery at %1 port %2 within %3 ms")
                           .arg(address_)
                           .arg(discoveryPort_)
                           .arg(lanTimeoutMs_));
            exitCode_ = kExitTrouble;
        }
        endIfDone();
    });
    return true;
}

void Fleet::startNext()
{
    if (!working_)
        return;
    while (running_ < jobs_ && !queue_.isEmpty()) {
        const LinkChoice link = queue_.takeFirst();
        ++running_;
        // The job owns the module's channel and run: both go, and the link closes, when it ends.
        auto *job = new QObject(this);
        OpenChannel *channel = link.makeChannel(job);
        if (verbose_)
            LinkSession::watchTraffic(channel, job, link.name);
        connect(channel, &OpenChannel::opened, job, [this, job, channel, link](bool ok, const QString &why) {
            if (!ok) {
                finish(job, {link, nullptr, why});
                return;
            }
            auto *run = new ParameterRun(channel, job);
            run->setTimeoutMs(link.timeoutMs);
            connect(run, &ParameterRun::finished, job,
                    [this, job, run, link](bool completed, const QString &reason) {
                        finish(job, {link, run, completed ? QString() : reason});
                    });
            work_.begin(*run);
        });
        channel->startOpen(link.timeoutMs);
    }
    endIfDone();
}

void Fleet::finish(QObject *job, const ModuleResult &result)
{
    ClearProgress(); // the module's lines go where the progress line stood
    const int code = work_.report(result);
    ++counts_[code];
    exitCode_ = std::max(exitCode_, code);
    job->deleteLater();
    --running_;
    const int done = counts_[kExitOk] + counts_[kExitSomeFailed] + counts_[kExitTrouble];
    ShowProgress(Qxctl::tr("%1 of %2 modules done").arg(done).arg(done + running_ + queue_.size()));
    startNext();
}

void Fleet::endIfDone()
{
    if (running_ > 0 || !queue_.isEmpty() || listening_ || ended_)
        return;
    ended_ = true;
    loop_.quit();
}
