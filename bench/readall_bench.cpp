// How long `qxctl read` of all 31 rows takes against qxsim, as a user runs it (a new process each
// time, link opened and closed): on the LAN link, through the relay and on a pseudo-terminal at 115200
// baud. On every link a text reply is handed on at its line end: on the serial line after the line-end
// grace (20 ms at 115200 baud), so the serial figure is designed at 31 x (reply + 21 ms).
// Usage: qxbench_readall [--runs N] [--serial-runs N]   (QXCTL and QXSIM default to the build folder)

#include "ToolBinary.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures {
    double minimum = 0;
    double median = 0;
    double maximum = 0;
    int failures = 0;
};

Figures measure(const QString &qxctl, const QStringList &arguments, int runs)
{
    std::vector<double> seconds;
    Figures figures;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(qxctl, arguments);
        process.waitForFinished(60000);
        const double elapsed = double(clock.nsecsElapsed()) / 1e9;
        const int rows = int(process.readAllStandardOutput().count('\n'));
        if (process.exitCode() != 0 || rows != 31) {
            ++figures.failures;
            continue;
        }
        seconds.push_back(elapsed);
    }
    if (seconds.empty())
        return figures;
    std::sort(seconds.begin(), seconds.end());
    figures.minimum = seconds.front();
    figures.median = seconds[seconds.size() / 2];
    figures.maximum = seconds.back();
    return figures;
}

void print(const char *link, int runs, const Figures &figures)
{
    std::printf("%-22s runs %2d  min %.3f s  median %.3f s  max %.3f s  failed %d\n", link, runs,
                figures.minimum, figures.median, figures.maximum, figures.failures);
}

int number(const QStringList &arguments, const QString &option, int fallback)
{
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 ? arguments.value(at + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = number(arguments, QStringLiteral("--runs"), 21);
    const int serialRuns = number(arguments, QStringLiteral("--serial-runs"), 3);
    const QString qxctl = toolBinary("QXCTL", "qxctl");

    QProcess sim;
    sim.start(toolBinary("QXSIM", "qxsim"),
              {QStringLiteral("--pty"), QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0"),
               QStringLiteral("--relay"), QStringLiteral("127.0.0.1:0")});
    QByteArray announced;
    while (!announced.contains("READY\n") && sim.waitForReadyRead(5000))
        announced += sim.readAllStandardOutput();
    QString pty;
    QString lan;
    QString relay;
    for (const QByteArray &line : announced.split('\n')) {
        if (line.startsWith("PTY "))
            pty = QString::fromUtf8(line.mid(4));
        else if (line.startsWith("LAN "))
            lan = QString::fromUtf8(line.mid(4));
        else if (line.startsWith("RELAY "))
            relay = QString::fromUtf8(line.mid(6));
    }
    if (pty.isEmpty() || lan.isEmpty() || relay.isEmpty()) {
        std::fprintf(stderr, "qxsim did not start: %s\n", sim.readAllStandardError().constData());
        return 1;
    }

    print("LAN", runs, measure(qxctl, {QStringLiteral("read"), QStringLiteral("--lan"), lan}, runs));
    print("relay", runs,
          measure(qxctl,
                  {QStringLiteral("read"), QStringLiteral("--relay"), relay, QStringLiteral("--target"),
                   QStringLiteral("12345678901:0001")},
                  runs));
    print("serial 115200 (pty)", serialRuns,
          measure(qxctl,
                  {QStringLiteral("read"), QStringLiteral("--serial"), pty, QStringLiteral("--baud"),
                   QStringLiteral("115200")},
                  serialRuns));
    sim.terminate();
    sim.waitForFinished(3000);
    return 0;
}
