// How long `qxctl provision` takes from a module plugged in to its CSV row, at 115200 baud on a
// pseudo-terminal served by qxsim: the bench makes the device's symlink in the watched folder (the
// plug-in) and stops the clock at the verdict line, which qxctl prints only once the row is synced.
// Each run is a fresh module (factory values), so every profile row that differs is written and read
// back. Two profiles: three rows (a line's usual changes), and every row but the module's identity
// (DEVID and the two MACs) with those three changed.
// Usage: qxbench_provision [--runs N]   (QXCTL and QXSIM default to the build folder)

#include "ToolBinary.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A qxsim serving one module on a pseudo-terminal; its path, empty when it did not start.
QString startModule(QProcess &sim, const QStringList &arguments)
{
    sim.start(toolBinary("QXSIM", "qxsim"), arguments);
    QByteArray announced;
    while (!announced.contains("READY\n") && sim.waitForReadyRead(5000))
        announced += sim.readAllStandardOutput();
    for (const QByteArray &line : announced.split('\n')) {
        if (line.startsWith("PTY "))
            return QString::fromUtf8(line.mid(4));
    }
    return {};
}

void stop(QProcess &process)
{
    process.terminate();
    process.waitForFinished(3000);
}

void measure(const char *name, const QByteArray &profile, int runs)
{
    QTemporaryDir dir;
    const QString profilePath = dir.filePath(QStringLiteral("line.profile"));
    QFile file(profilePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(profile) != profile.size())
        return;
    file.close();
    QProcess line;
    line.start(toolBinary("QXCTL", "qxctl"),
               {QStringLiteral("provision"), profilePath, QStringLiteral("--watch"),
                dir.filePath(QStringLiteral("mod*")), QStringLiteral("--log"),
                dir.filePath(QStringLiteral("line.csv")), QStringLiteral("--count"), QString::number(runs)});
    line.waitForStarted();
    std::vector<double> seconds;
    int failures = 0;
    QByteArray last;
    for (int run = 0; run < runs; ++run) {
        QProcess sim;
        const QString pty =
            startModule(sim, {QStringLiteral("--pty"), QStringLiteral("--module"),
                              QStringLiteral("138001380%1").arg(run, 2, 10, QLatin1Char('0'))});
        const QString device = dir.filePath(QStringLiteral("mod"));
        QElapsedTimer clock;
        clock.start();
        QFile::link(pty, device);
        while (!line.canReadLine() && line.waitForReadyRead(30000)) {
        }
        const double elapsed = double(clock.nsecsElapsed()) / 1e9;
        last = line.readLine();
        if (last.startsWith("PASS "))
            seconds.push_back(elapsed);
        else
            ++failures;
        QFile::remove(device); // unplugged
        stop(sim);
    }
    stop(line);
    std::sort(seconds.begin(), seconds.end());
    if (seconds.empty()) {
        std::printf("%-24s every run failed; last: %s", name, last.constData());
        return;
    }
    std::printf("%-24s runs %2d  min %.3f s  median %.3f s  max %.3f s  failed %d  (last: %s)\n", name, runs,
                seconds.front(), seconds[seconds.size() / 2], seconds.back(), failures,
                last.trimmed().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--runs"));
    const int runs = at >= 0 ? arguments.value(at + 1).toInt() : 5;
    const QByteArray changes = "NAME=\"line 1\"\nPTHPORT=9001\nREMOTEPORT=9600\n";
    measure("3 rows, 3 written", changes, runs);

    // The whole profile of a factory module, with the same three rows changed.
    QProcess sim;
    const QString pty = startModule(sim, {QStringLiteral("--pty")});
    QProcess read;
    read.start(toolBinary("QXCTL", "qxctl"), {QStringLiteral("read"), QStringLiteral("--serial"), pty});
    read.waitForFinished(60000);
    stop(sim);
    // A line gives every module the same settings, never its identity: 28 rows here, 3 of them new.
    QByteArray whole;
    for (const QByteArray &row : read.readAllStandardOutput().split('\n')) {
        const QByteArray name = row.left(row.indexOf('='));
        const bool skipped = name.isEmpty() || row.startsWith('#') || name == "DEVID" || name == "STAMAC" ||
                             name == "APMAC" || changes.contains(name + '=');
        if (!skipped)
            whole += row + '\n';
    }
    measure("28 rows, 3 written", whole + changes, runs);
    return 0;
}
