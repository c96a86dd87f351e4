// How long a large serial reply takes to reach the screen: the "COM Receive:" line and its "HEX:" line
// are added to a shown console and the window is painted, as the receive poll does in one timer tick.
// Usage: bench_console [reply bytes, default 1 MiB] [repeats, default 3]

#include "window/ConsoleLog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScrollBar>
#include <cstdio>
#include <ctime>

namespace {
QByteArray reply(qsizetype size, bool withBreaks)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(42);
    for (char &b : bytes)
        b = static_cast<char>(0x20 + random.bounded(0x5f)); // printable ASCII
    if (withBreaks) {
        for (qsizetype i = 79; i < size; i += 80)
            bytes[i] = '\n';
    }
    return bytes;
}

// CPU time of this thread: on a busy machine wall time mostly measures the other processes.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Cost {
    double wallMs;
    double cpuMs;
};

Cost run(ConsoleLog &log, const QByteArray &data)
{
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuMs();
    log.addDataLine(QStringLiteral("COM Receive:"), data);
    log.addHexLine(data);
    QCoreApplication::processEvents();
    log.viewport()->repaint(); // the rows now at the bottom are laid out and painted
    return {double(timer.nsecsElapsed()) / 1e6, cpuMs() - cpuStart};
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const qsizetype size = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1 << 20;
    const int repeats = argc > 2 ? QByteArray(argv[2]).toInt() : 3;

    ConsoleLog log;
    log.resize(600, 700);
    log.show();
    QCoreApplication::processEvents();

    for (const bool breaks : {false, true}) {
        const QByteArray data = reply(size, breaks);
        for (int i = 0; i < repeats; ++i) {
            log.clearLog();
            const Cost cost = run(log, data);
            std::printf(
                "%s reply of %lld bytes: %.1f ms to show, %.1f ms CPU (%d lines, scrolled to %d of %d)\n",
                breaks ? "80-column" : "one-line", static_cast<long long>(size), cost.wallMs, cost.cpuMs,
                log.lineCount(), log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
        }
        // A second reply on top of a full console: the older rows must not be laid out again.
        const Cost cost = run(log, data);
        std::printf("  next reply on top: %.1f ms, %.1f ms CPU\n", cost.wallMs, cost.cpuMs);
    }
    return 0;
}
