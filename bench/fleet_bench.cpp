// How long `qxctl apply --all` of a whole profile takes on ten LAN modules at once against one, as a
// user runs it (a new process each time): ten qxsim processes on 127.0.0.1, each run reads, writes and
// reads back all 31 rows of every module. With --delay MS every simulated module waits that long
// before each answer, as a module on a real network does; the ratio ten/one is the figure.
// Usage: qxbench_fleet [--runs N] [--modules N] [--delay MS]   (QXCTL and QXSIM default to the build folder)

#include "ToolBinary.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

int number(const QStringList &arguments, const QString &option, int fallback)
{
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 ? arguments.value(at + 1).toInt() : fallback;
}

// The median of runs, in seconds; -1 when a run failed.
double median(const QString &qxctl, const QStringList &arguments, const QByteArray &profile, int runs,
              int expectedLines)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(qxctl, arguments);
        process.write(profile);
        process.closeWriteChannel();
        process.waitForFinished(120000);
        seconds.push_back(double(clock.nsecsElapsed()) / 1e9);
        const QByteArray out = process.readAllStandardOutput();
        if (process.exitCode() != 0 || out.count('\n') != expectedLines) {
            std::fprintf(stderr, "run failed (exit %d):\n%s%s", process.exitCode(), out.constData(),
                         process.readAllStandardError().constData());
            return -1;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = number(arguments, QStringLiteral("--runs"), 7);
    const int modules = number(arguments, QStringLiteral("--modules"), 10);
    const int delay = number(arguments, QStringLiteral("--delay"), 0);
    const QString qxctl = toolBinary("QXCTL", "qxctl");

    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList links;
    for (int i = 0; i < modules; ++i) {
        auto sim = std::make_unique<QProcess>();
        QStringList options{QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"),
                            QStringLiteral("--module"),
                            QStringLiteral("100000000%1").arg(i, 2, 10, QLatin1Char('0'))};
        if (delay > 0)
            options << QStringLiteral("--delay") << QString::number(delay);
        sim->start(toolBinary("QXSIM", "qxsim"), options);
        QByteArray announced;
        while (!announced.contains("READY\n") && sim->waitForReadyRead(5000))
            announced += sim->readAllStandardOutput();
        const qsizetype at = announced.indexOf("LAN ");
        if (at < 0) {
            std::fprintf(stderr, "qxsim did not start: %s\n", sim->readAllStandardError().constData());
            return 1;
        }
        links << QStringLiteral("--lan")
              << QString::fromUtf8(announced.mid(at + 4, announced.indexOf('\n', at) - at - 4));
        sims.push_back(std::move(sim));
    }

    QProcess read;
    read.start(qxctl, {QStringLiteral("read"), QStringLiteral("--lan"), links[1]});
    read.waitForFinished(60000);
    const QByteArray profile = read.readAllStandardOutput();
    const int rows = int(profile.count('\n'));
    const QStringList apply{QStringLiteral("apply"), QStringLiteral("-"), QStringLiteral("--all")};

    const double one = median(qxctl, apply + links.mid(0, 2), profile, runs, rows);
    const double all = median(qxctl, apply + links, profile, runs, rows * modules);
    std::printf("apply --all of %d rows, module answer delay %d ms, median of %d: one module %.3f s, %d at "
                "once %.3f s, ratio %.2f (target <= 1.5)\n",
                rows, delay, runs, one, modules, all, one > 0 && all > 0 ? all / one : -1.0);
    for (const auto &sim : sims) {
        sim->terminate();
        sim->waitForFinished(3000);
    }
    return one > 0 && all > 0 ? 0 : 1;
}
